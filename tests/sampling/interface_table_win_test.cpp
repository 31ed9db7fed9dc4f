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

TEST_F(InterfaceTable, CountersComeFromTheRowsPlatformIndexAndFailuresRepeatThePreviousReading) {
  AddRows(3);
  fake.rows[2].dwIndex = 77;
  ASSERT_TRUE(table.Read(FakeGetIfTable));

  fake.inOctets = 1000;
  fake.outOctets = 2000;
  CounterPair first = table.ReadCounters(FakeGetIfEntry, 2);
  EXPECT_EQ(fake.lastEntryIndex, 77u);
  EXPECT_EQ(first.sent, 2000u);
  EXPECT_EQ(first.received, 1000u);

  fake.entryResult = ERROR_INVALID_DATA;
  CounterPair failed = table.ReadCounters(FakeGetIfEntry, 2);
  EXPECT_EQ(failed.sent, 2000u);
  EXPECT_EQ(failed.received, 1000u);

  fake.entryResult = NO_ERROR;
  fake.inOctets = 5;
  fake.lastEntryIndex = 0;
  for (int32_t outside : {-1, 3, INT32_MAX, INT32_MIN}) {
    CounterPair none = table.ReadCounters(FakeGetIfEntry, outside);
    EXPECT_EQ(none.received, 1000u) << outside;
  }
  EXPECT_EQ(fake.lastEntryIndex, 0u) << "no call for a row outside the table";

  EXPECT_EQ(table.ReadCounters(nullptr, 2).received, 1000u);
  EXPECT_EQ(table.ReadCounters(nullptr, 0).received, 0u) << "a row never read has the table's counters";
  EXPECT_EQ(table.ReadCounters(FakeGetIfEntry, 0).received, 5u);

  fake.entryResult = ERROR_INVALID_DATA;
  EXPECT_EQ(table.ReadCounters(FakeGetIfEntry, 2).received, 1000u) << "a row repeats its own reading";
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

  CounterPair Read(int32_t row) { return table.ReadCounters(FakeGetIfEntry, row, FakeGetIfTable); }
};

TEST_F(Rediscovery, AGoneInterfaceRepeatsItsReadingAndIsFoundAgainUnderItsNewIndex) {
  const CounterPair before = Read(1);
  EXPECT_EQ(before.received, 2000u);
  EXPECT_EQ(fake.calls, 0) << "no table read while the interface answers";

  Unlist(7);
  ++fakeNow;
  for (int i = 0; i < 5; ++i) {
    const CounterPair gone = Read(1);
    EXPECT_EQ(gone.received, 2000u);
    EXPECT_EQ(gone.sent, 1000u);
    EXPECT_EQ(gone.epoch, before.epoch);
    fakeNow += 300;
  }
  EXPECT_EQ(fake.calls, 1) << "the table is read again at most every two seconds";

  fake.rows.push_back(Listed(12, "Wired Adapter", 30, 40, MIB_IF_OPER_STATUS_CONNECTED));
  fakeNow += 600;
  const CounterPair back = Read(1);
  EXPECT_EQ(fake.calls, 2);
  EXPECT_EQ(fake.lastEntryIndex, 12u);
  EXPECT_EQ(back.received, 30u);
  EXPECT_EQ(back.sent, 40u);
  EXPECT_NE(back.epoch, before.epoch) << "the new counters need a new baseline";
  EXPECT_EQ(table.OperStatus(1), uint32_t(MIB_IF_OPER_STATUS_CONNECTED));
  EXPECT_EQ(table.Count(), 3u);
  EXPECT_STREQ(table.Description(1), "Wired Adapter");

  Listing(12).dwInOctets += 100;
  const CounterPair later = Read(1);
  EXPECT_EQ(later.received, 130u);
  EXPECT_EQ(later.epoch, back.epoch);
  EXPECT_EQ(fake.calls, 2);
  const CounterPair other = Read(2);
  EXPECT_EQ(other.received, 60u);
  EXPECT_EQ(other.epoch, 0u);
}

TEST_F(Rediscovery, APassingFailureKeepsTheIndexAndTheBaseline) {
  const CounterPair before = Read(1);
  fake.failingEntries = 1;
  Listing(7).dwInOctets = 2500;
  EXPECT_EQ(Read(1).received, 2000u);
  EXPECT_EQ(fake.calls, 1);
  const CounterPair after = Read(1);
  EXPECT_EQ(after.received, 2500u);
  EXPECT_EQ(after.epoch, before.epoch);
  EXPECT_EQ(fake.lastEntryIndex, 7u);
}

TEST_F(Rediscovery, AnIndexThatNowNamesAnotherInterfaceIsNeverRead) {
  const CounterPair before = Read(1);
  MIB_IFROW& reused = Listing(7);
  reused = Listed(7, "Docking Station NIC", 900000, 900000);
  fakeNow += 1;
  const CounterPair stranger = Read(1);
  EXPECT_EQ(stranger.received, 2000u) << "not the other interface's counters";
  EXPECT_EQ(stranger.epoch, before.epoch);

  fake.rows.push_back(Listed(15, "Wired Adapter", 70, 80));
  fakeNow += 2000;
  const CounterPair found = Read(1);
  EXPECT_EQ(found.received, 70u);
  EXPECT_NE(found.epoch, before.epoch);
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
  EXPECT_EQ(table.ReadCounters(FakeGetIfEntry, 1).received, 2000u);
  EXPECT_EQ(fake.calls, 0);

  fake.rows = {Listed(5, "", 10, 10)};
  ASSERT_TRUE(table.Read(FakeGetIfTable));
  fake.calls = 0;
  fake.rows = {Listed(6, "", 30, 30)};
  EXPECT_EQ(Read(0).received, 10u) << "a nameless interface cannot be told from another";
  EXPECT_EQ(fake.calls, 0);
}

// Counters only start again when they are reset, or when the platform answers for a gone interface
// with zeroed counters; a link that goes down and up keeps counting, and a single counter below its
// last reading wrapped. Readings come a second apart, as the statistics tick reads the selected row.
TEST_F(Rediscovery, OnlyCountersThatStartedAgainGetANewEpoch) {
  struct Step {
    DWORD in, out, status;
    bool newEpoch;
    const char* what;
  };
  const DWORD up = MIB_IF_OPER_STATUS_OPERATIONAL, down = MIB_IF_OPER_STATUS_NON_OPERATIONAL;
  const DWORD high = 4294000000u;  // a megabyte short of the wrap
  const Step steps[] = {
      {2100, 1100, down, false, "the link goes down, the counters go on"},
      {2200, 1200, MIB_IF_OPER_STATUS_CONNECTED, false, "and up again"},
      {0, 0, down, true, "gone: the platform answers with zeroed counters"},
      {5, 0, up, false, "back: counting on from zero"},
      {900, 0, up, false, ""},
      {100, 0, up, true, "one counter fell a little: reset"},
      {high, 900, up, true, "a jump of gigabytes within a second: counters started anew"},
      {high + 500000, 905, up, false, ""},
      {200, 905, up, false, "one counter wrapped"},
      {high, 0, up, true, ""},
      {1000000000u, 0, up, false, "a receive-only link wrapped: a gigabyte in the second"},
      {100, 0, up, true, "fell a little again: reset"},
      {5000, 4000, up, false, ""},
      {100, 80, up, true, "both fell at once: reset"},
  };
  MIB_IFROW& wired = Listing(7);
  uint32_t epoch = Read(1).epoch;
  for (const Step& step : steps) {
    fakeNow += 1000;
    wired = Listed(7, "Wired Adapter", step.in, step.out, step.status);
    const uint32_t now = Read(1).epoch;
    EXPECT_EQ(now != epoch, step.newEpoch) << step.in << "/" << step.out << ": " << step.what;
    epoch = now;
  }
}

TEST_F(Rediscovery, AnInterfaceWatchedAgainAfterAnHourKeepsItsBaseline) {
  MIB_IFROW& wireless = Listing(9);
  wireless.dwOutOctets = 2000000000u;
  const CounterPair left = Read(2);
  for (int i = 0; i < 20; ++i) {
    fakeNow += 180000;
    Read(1);
  }
  // Three gigabytes sent while nobody looked: the counter wrapped and stands a little below where it was.
  wireless.dwOutOctets = uint32_t(2000000000u + 3000000000u);
  wireless.dwInOctets += 500000;
  const CounterPair back = Read(2);
  EXPECT_EQ(back.epoch, left.epoch);
  EXPECT_EQ(back.sent - left.sent, 3000000000u);
  EXPECT_EQ(back.received - left.received, 500000u);
}

}  // namespace
