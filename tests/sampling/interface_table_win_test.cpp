// Reading the interface table through stand-in library functions: sizes, growth, damaged answers.
#include "sampling/interface_table_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// What the stand-in GetIfTable reports: its rows, and how it misbehaves.
struct FakeLibrary {
  std::vector<MIB_IFROW> rows;
  DWORD claimedRows = 0;       // dwNumEntries written; 0 means rows.size()
  int growEveryCall = 0;       // rows added before each call
  int growingCalls = 1 << 30;  // how many calls grow the table
  DWORD failWith = NO_ERROR;   // an error returned instead of the table
  ULONG demandedSize = 0;      // a size demanded instead of the honest one
  int calls = 0;
  // GetIfEntry: the counters, or a failure that scribbles over the record.
  DWORD entryResult = NO_ERROR;
  DWORD inOctets = 0, outOctets = 0;
  DWORD lastEntryIndex = 0;
  // GetIfEntry answers from the rows by index, as the platform does; an absent index fails.
  bool entriesFromRows = false;
  int failingEntries = 0;  // that many GetIfEntry calls fail first
};

FakeLibrary fake;
DWORD fakeNow = 100000;

DWORD WINAPI FakeTickCount() {
  return fakeNow;
}

MIB_IFROW MakeRow(DWORD index, const char* description) {
  MIB_IFROW row = {};
  row.dwIndex = index;
  row.dwOperStatus = index % 6;
  row.dwDescrLen = DWORD(strlen(description));
  memcpy(row.bDescr, description, row.dwDescrLen);
  return row;
}

void AddRows(int count) {
  for (int i = 0; i < count; ++i) {
    const DWORD index = DWORD(fake.rows.size() + 1);
    fake.rows.push_back(MakeRow(index, ("if" + std::to_string(index)).c_str()));
  }
}

DWORD WINAPI FakeGetIfTable(PMIB_IFTABLE table, PULONG size, BOOL) {
  if (++fake.calls <= fake.growingCalls) AddRows(fake.growEveryCall);
  if (fake.failWith != NO_ERROR) return fake.failWith;
  const ULONG needed = fake.demandedSize
                           ? fake.demandedSize
                           : ULONG(offsetof(MIB_IFTABLE, table) + fake.rows.size() * sizeof(MIB_IFROW));
  if (table == nullptr || *size < needed) {
    *size = needed;
    return ERROR_INSUFFICIENT_BUFFER;
  }
  table->dwNumEntries = fake.claimedRows ? fake.claimedRows : DWORD(fake.rows.size());
  if (!fake.rows.empty()) memcpy(table->table, fake.rows.data(), fake.rows.size() * sizeof(MIB_IFROW));
  return NO_ERROR;
}

DWORD WINAPI FakeGetIfEntry(PMIB_IFROW row) {
  fake.lastEntryIndex = row->dwIndex;
  if (fake.entriesFromRows) {
    if (fake.failingEntries > 0) {
      --fake.failingEntries;
      return ERROR_GEN_FAILURE;
    }
    for (const MIB_IFROW& listed : fake.rows) {
      if (listed.dwIndex != row->dwIndex) continue;
      *row = listed;
      return NO_ERROR;
    }
    return ERROR_FILE_NOT_FOUND;
  }
  if (fake.entryResult != NO_ERROR) {
    memset(row, 0xAB, sizeof *row);
    return fake.entryResult;
  }
  row->dwInOctets = fake.inOctets;
  row->dwOutOctets = fake.outOctets;
  return NO_ERROR;
}

class InterfaceTable : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeLibrary{};
    table.tickCount = FakeTickCount;
  }
  CInterfaceTable table;
};

TEST_F(InterfaceTable, KeepsEveryRowInPlatformOrderWellBeyondTen) {
  AddRows(37);
  ASSERT_TRUE(table.Read(FakeGetIfTable));
  ASSERT_EQ(table.Count(), 37u);
  for (int i = 0; i < 37; ++i) EXPECT_EQ(table.Description(i), "if" + std::to_string(i + 1));
  EXPECT_EQ(table.OperStatus(36), 37u % 6);
}

TEST_F(InterfaceTable, CatchesUpWithInterfacesAppearingBetweenSizeQueryAndRead) {
  AddRows(2);
  fake.growEveryCall = 6;  // more than the reader's spare room, twice
  fake.growingCalls = 2;
  ASSERT_TRUE(table.Read(FakeGetIfTable));
  EXPECT_EQ(table.Count(), 14u);
  EXPECT_STREQ(table.Description(13), "if14");
}

TEST_F(InterfaceTable, FailsOnErrorsEmptyTablesAndAbsurdSizes) {
  fake.failWith = ERROR_NOT_SUPPORTED;
  EXPECT_FALSE(table.Read(FakeGetIfTable));
  EXPECT_EQ(table.Count(), 0u);

  fake = FakeLibrary{};
  EXPECT_FALSE(table.Read(FakeGetIfTable)) << "a table without rows";

  fake = FakeLibrary{};
  AddRows(1);
  fake.demandedSize = 0x7FFFFFFF;
  EXPECT_FALSE(table.Read(FakeGetIfTable)) << "a demand for 2 GiB";

  fake = FakeLibrary{};
  fake.failWith = ERROR_INSUFFICIENT_BUFFER;  // asks for more without saying how much
  EXPECT_FALSE(table.Read(FakeGetIfTable));
  EXPECT_EQ(fake.calls, 1);

  fake = FakeLibrary{};
  fake.growEveryCall = 1000;  // never catches up
  EXPECT_FALSE(table.Read(FakeGetIfTable));
  EXPECT_LE(fake.calls, 4);

  EXPECT_FALSE(table.Read(nullptr));
}

TEST_F(InterfaceTable, CountClaimingMoreRowsThanTheBufferHoldsIsCut) {
  AddRows(3);
  fake.claimedRows = 1000000;
  ASSERT_TRUE(table.Read(FakeGetIfTable));
  EXPECT_GE(table.Count(), 3u);
  EXPECT_LE(table.Count(), 3u + 4u) << "only rows inside the buffer";
  EXPECT_STREQ(table.Description(int32_t(table.Count()) - 1), "") << "spare rows are zeroed";
}

TEST_F(InterfaceTable, DescriptionsEndAtTheirLengthAndInsideTheField) {
  MIB_IFROW shortened = MakeRow(1, "eth0 and more bytes");
  shortened.dwDescrLen = 4;
  MIB_IFROW full = MakeRow(2, "");
  memset(full.bDescr, 'x', sizeof full.bDescr);
  full.dwDescrLen = 0xFFFFFFFF;
  MIB_IFROW empty = MakeRow(3, "");
  empty.bDescr[0] = 'z';
  fake.rows = {shortened, full, empty};

  ASSERT_TRUE(table.Read(FakeGetIfTable));
  EXPECT_STREQ(table.Description(0), "eth0");
  EXPECT_EQ(strlen(table.Description(1)), 255u);
  EXPECT_STREQ(table.Description(2), "");
  EXPECT_STREQ(table.Description(-1), "");
  EXPECT_STREQ(table.Description(3), "");
  EXPECT_EQ(table.OperStatus(3), 0u);
}

TEST_F(InterfaceTable, CountersComeFromTheRowsPlatformIndexAndFailuresAreNoReading) {
  AddRows(3);
  fake.rows[2].dwIndex = 77;
  ASSERT_TRUE(table.Read(FakeGetIfTable));

  fake.inOctets = 1000;
  fake.outOctets = 2000;
  const CounterReading first = table.ReadCounters(FakeGetIfEntry, 2);
  EXPECT_EQ(fake.lastEntryIndex, 77u);
  EXPECT_TRUE(first.ok);
  EXPECT_FALSE(first.wide);
  EXPECT_EQ(first.sent, 2000u);
  EXPECT_EQ(first.received, 1000u);
  EXPECT_EQ(first.interfaceIndex, 77u);
  EXPECT_EQ(first.readAtMs, fakeNow);

  fake.entryResult = ERROR_INVALID_DATA;
  EXPECT_FALSE(table.ReadCounters(FakeGetIfEntry, 2).ok);

  fake.entryResult = NO_ERROR;
  fake.lastEntryIndex = 0;
  for (int32_t outside : {-1, 3, INT32_MAX, INT32_MIN})
    EXPECT_FALSE(table.ReadCounters(FakeGetIfEntry, outside).ok) << outside;
  EXPECT_EQ(fake.lastEntryIndex, 0u) << "no call for a row outside the table";
  EXPECT_FALSE(table.ReadCounters(nullptr, 2).ok) << "no library, no reading";
}

MIB_IFROW Listed(DWORD index, const char* description, DWORD inOctets, DWORD outOctets,
                 DWORD operStatus = MIB_IF_OPER_STATUS_OPERATIONAL) {
  MIB_IFROW row = MakeRow(index, description);
  row.dwInOctets = inOctets;
  row.dwOutOctets = outOctets;
  row.dwOperStatus = operStatus;
  return row;
}

// Interfaces that go away and come back while the meter runs, as after sleep, docking or a VPN
// reconnect: the row keeps its place and follows its interface to a new index.
class Rediscovery : public InterfaceTable {
 protected:
  void SetUp() override {
    InterfaceTable::SetUp();
    fake.entriesFromRows = true;
    fake.rows = {Listed(1, "lo", 0, 0), Listed(7, "Wired Adapter", 2000, 1000),
                 Listed(9, "Wireless", 60, 50)};
    ASSERT_TRUE(table.Read(FakeGetIfTable));
    fake.calls = 0;
  }

  MIB_IFROW& Listing(DWORD index) {
    for (MIB_IFROW& row : fake.rows)
      if (row.dwIndex == index) return row;
    ADD_FAILURE() << "no interface " << index;
    return fake.rows[0];
  }

  void Unlist(DWORD index) {
    for (size_t i = 0; i < fake.rows.size(); ++i)
      if (fake.rows[i].dwIndex == index) fake.rows.erase(fake.rows.begin() + long(i));
  }

  CounterReading Read(int32_t row) { return table.ReadCounters(FakeGetIfEntry, row, FakeGetIfTable); }
};

TEST_F(Rediscovery, AGoneInterfaceGivesNoReadingAndIsFoundAgainUnderItsNewIndex) {
  const CounterReading before = Read(1);
  EXPECT_EQ(before.received, 2000u);
  EXPECT_EQ(before.interfaceIndex, 7u);
  EXPECT_EQ(fake.calls, 0) << "no table read while the interface answers";

  Unlist(7);
  ++fakeNow;
  for (int i = 0; i < 5; ++i) {
    const CounterReading gone = Read(1);
    EXPECT_FALSE(gone.ok);
    EXPECT_EQ(gone.interfaceIndex, 7u);
    fakeNow += 300;
  }
  EXPECT_EQ(fake.calls, 1) << "the table is read again at most every two seconds";

  fake.rows.push_back(Listed(12, "Wired Adapter", 30, 40, MIB_IF_OPER_STATUS_CONNECTED));
  fakeNow += 600;
  const CounterReading back = Read(1);
  EXPECT_EQ(fake.calls, 2);
  EXPECT_EQ(fake.lastEntryIndex, 12u);
  EXPECT_EQ(back.received, 30u);
  EXPECT_EQ(back.sent, 40u);
  EXPECT_EQ(back.interfaceIndex, 12u) << "the new counters need a new baseline";
  EXPECT_EQ(table.OperStatus(1), uint32_t(MIB_IF_OPER_STATUS_CONNECTED));
  EXPECT_EQ(table.Count(), 3u);
  EXPECT_STREQ(table.Description(1), "Wired Adapter");

  Listing(12).dwInOctets += 100;
  const CounterReading later = Read(1);
  EXPECT_EQ(later.received, 130u);
  EXPECT_EQ(later.interfaceIndex, 12u);
  EXPECT_EQ(fake.calls, 2);
  const CounterReading other = Read(2);
  EXPECT_EQ(other.received, 60u);
  EXPECT_EQ(other.interfaceIndex, 9u);
}

TEST_F(Rediscovery, APassingFailureKeepsTheIndexAndTheBaseline) {
  const CounterReading before = Read(1);
  fake.failingEntries = 1;
  Listing(7).dwInOctets = 2500;
  EXPECT_FALSE(Read(1).ok);
  EXPECT_EQ(fake.calls, 1);
  const CounterReading after = Read(1);
  EXPECT_EQ(after.received, 2500u);
  EXPECT_EQ(after.interfaceIndex, before.interfaceIndex);
  EXPECT_EQ(fake.lastEntryIndex, 7u);
}

TEST_F(Rediscovery, AnIndexThatNowNamesAnotherInterfaceIsNeverRead) {
  const CounterReading before = Read(1);
  MIB_IFROW& reused = Listing(7);
  reused = Listed(7, "Docking Station NIC", 900000, 900000);
  fakeNow += 1;
  const CounterReading stranger = Read(1);
  EXPECT_FALSE(stranger.ok) << "not the other interface's counters";
  EXPECT_EQ(stranger.interfaceIndex, before.interfaceIndex);

  fake.rows.push_back(Listed(15, "Wired Adapter", 70, 80));
  fakeNow += 2000;
  const CounterReading found = Read(1);
  EXPECT_EQ(found.received, 70u);
  EXPECT_EQ(found.interfaceIndex, 15u);
  EXPECT_EQ(fake.lastEntryIndex, 15u);
}

TEST_F(Rediscovery, RowsSharingADescriptionKeepTheirOwnIndexes) {
  fake.rows = {Listed(3, "USB NIC", 10, 10), Listed(4, "USB NIC", 20, 20)};
  ASSERT_TRUE(table.Read(FakeGetIfTable));
  Read(0);
  Unlist(3);
  fake.rows.push_back(Listed(20, "USB NIC", 5, 5));
  EXPECT_EQ(Read(0).received, 5u) << "index 4 belongs to the other row";
  EXPECT_EQ(Read(1).received, 20u);
  EXPECT_EQ(fake.lastEntryIndex, 4u);
}

TEST_F(Rediscovery, ATableThatGrewBeyondItsRoomIsStillSearched) {
  Unlist(7);
  AddRows(40);
  fake.rows.push_back(Listed(99, "Wired Adapter", 1, 2));
  EXPECT_EQ(Read(1).received, 1u);
  EXPECT_EQ(fake.lastEntryIndex, 99u);
}

TEST_F(Rediscovery, NoSearchWithoutTheTableFunctionOrForANamelessInterface) {
  Unlist(7);
  EXPECT_FALSE(table.ReadCounters(FakeGetIfEntry, 1).ok);
  EXPECT_EQ(fake.calls, 0);

  fake.rows = {Listed(5, "", 10, 10)};
  ASSERT_TRUE(table.Read(FakeGetIfTable));
  fake.calls = 0;
  fake.rows = {Listed(6, "", 30, 30)};
  EXPECT_FALSE(Read(0).ok) << "a nameless interface cannot be told from another";
  EXPECT_EQ(fake.calls, 0);
}

// After sleep every row looks for its interface at once, whatever the search's rate limit, and every
// reading carries a new epoch so that both baselines start again.
TEST_F(Rediscovery, AResumeFindsEveryInterfaceAgainAndMovesTheEpoch) {
  Unlist(7);
  EXPECT_FALSE(Read(1).ok);
  const uint32_t asleep = Read(2).epoch;
  fake.rows.push_back(Listed(21, "Wired Adapter", 5, 6, MIB_IF_OPER_STATUS_CONNECTED));
  Listing(9).dwIndex = 22;
  fakeNow += 10;  // well within the two seconds between searches

  table.FindAllAgain(FakeGetIfTable);
  const CounterReading wired = Read(1);
  EXPECT_TRUE(wired.ok);
  EXPECT_EQ(wired.interfaceIndex, 21u);
  EXPECT_EQ(wired.received, 5u);
  EXPECT_EQ(table.OperStatus(1), uint32_t(MIB_IF_OPER_STATUS_CONNECTED));
  const CounterReading wireless = Read(2);
  EXPECT_EQ(wireless.interfaceIndex, 22u);
  EXPECT_NE(wireless.epoch, asleep);
  EXPECT_EQ(Read(0).interfaceIndex, 1u) << "an interface that kept its index keeps it";

  table.FindAllAgain(nullptr);
  EXPECT_NE(Read(0).epoch, wireless.epoch) << "the epoch moves even when the table cannot be read";
}

TEST_F(Rediscovery, FactsAreWhatTheTableSaysNowOfEachRow) {
  Listing(9).dwInOctets = 777;
  Listing(9).dwType = 71;
  Unlist(7);
  InterfaceFacts facts[5] = {};
  ASSERT_EQ(table.ReadFacts(FakeGetIfTable, facts, 5), 3u);
  EXPECT_EQ(facts[2].inOctets, 777u) << "counters of now, not of the start";
  EXPECT_EQ(facts[1].inOctets, 2000u) << "a gone row keeps what discovery saw";
  EXPECT_FALSE(facts[2].filter);
  EXPECT_EQ(table.ReadFacts(FakeGetIfTable, facts, 1), 1u);
  EXPECT_EQ(table.ReadFacts(nullptr, facts, 5), 0u);
}

}  // namespace
