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
};

FakeLibrary fake;

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
  void SetUp() override { fake = FakeLibrary{}; }
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

  EXPECT_EQ(table.ReadCounters(nullptr, 0).received, 1000u);
  EXPECT_EQ(table.ReadCounters(FakeGetIfEntry, 0).received, 5u);
}

}  // namespace
