// Hour records and their per-hour sums for one day value.
#include "console/hour_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace {

class MemorySource : public IHourDataSource {
 public:
  explicit MemorySource(std::vector<uint8_t> data) : bytes(std::move(data)) {}
  uint32_t Read(uint8_t* buffer, uint32_t size) override {
    uint32_t n = 0;
    while (n < size && position < bytes.size()) buffer[n++] = bytes[position++];
    return n;
  }
  std::vector<uint8_t> bytes;
  size_t position = 0;
};

class RecordedMessages : public IHourMessages {
 public:
  void ShowMessage(const char* text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

void AppendLittleEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void AppendRecord(std::vector<uint8_t>& out, uint8_t day, uint8_t hour, uint32_t first, uint32_t second) {
  const uint8_t head[8] = {0xEE, 0xEE, day, 0xEE, hour, 0xEE, 0xEE, 0xEE};
  out.insert(out.end(), head, head + 8);
  AppendLittleEndian(out, first);
  AppendLittleEndian(out, second);
}

struct Analysis {
  HourStatistics stats;
  RecordedMessages messages;
  bool ok = false;
  size_t bytesConsumed = 0;
};

Analysis Analyze(const std::vector<uint8_t>& file, uint8_t day = kConsoleDayValue) {
  Analysis a;
  MemorySource source(file);
  a.stats.SetFileSize(uint32_t(file.size()));
  a.ok = a.stats.AnalyzeHourData(day, source, a.messages);
  a.bytesConsumed = source.position;
  return a;
}

TEST(HourRecord, ParsesLittleEndianFieldsAtTheirOffsets) {
  const uint8_t bytes[kHourRecordSize] = {1,    2,    27,   4,    13,   6,    7,    8,
                                          0x78, 0x56, 0x34, 0x12, 0xF0, 0xDE, 0xBC, 0x9A};
  const HourRecord r = ParseHourRecord(bytes);
  EXPECT_EQ(r.daySelector, 27);
  EXPECT_EQ(r.hour, 13);
  EXPECT_EQ(r.firstCount, 0x12345678u);
  EXPECT_EQ(r.secondCount, 0x9ABCDEF0u);
}

TEST(HourAnalysis, CountsOnlyWholeRecordsAndNeverReadsPastThem) {
  std::vector<uint8_t> file;
  AppendRecord(file, 27, 1, 10, 20);
  AppendRecord(file, 27, 2, 30, 40);
  file.push_back(0x55);  // 33 bytes: the last byte is never read
  Analysis a = Analyze(file);
  EXPECT_TRUE(a.ok);
  EXPECT_EQ(a.stats.recordCount, 2u);
  EXPECT_EQ(a.bytesConsumed, 32u);
  EXPECT_EQ(a.stats.firstSums[1], 10u);
  EXPECT_EQ(a.stats.secondSums[2], 40u);
  EXPECT_TRUE(a.messages.shown.empty());

  Analysis empty = Analyze({});
  EXPECT_TRUE(empty.ok);
  EXPECT_EQ(empty.stats.recordCount, 0u);
  EXPECT_EQ(empty.stats.LargestSum(), 0u);
  EXPECT_TRUE(empty.messages.shown.empty());
}

TEST(HourAnalysis, OnlyTheDayValueCountsAndSumsWrapPerHour) {
  std::vector<uint8_t> file;
  AppendRecord(file, 27, 5, 0xFFFFFFF0u, 7);
  AppendRecord(file, 26, 5, 1000, 1000);
  AppendRecord(file, 28, 6, 1000, 1000);
  AppendRecord(file, 27, 5, 0x20, 8);
  AppendRecord(file, 27, 23, 3, 4);
  Analysis a = Analyze(file);
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.stats.firstSums[5], 0x10u);
  EXPECT_EQ(a.stats.secondSums[5], 15u);
  EXPECT_EQ(a.stats.firstSums[6], 0u);
  EXPECT_EQ(a.stats.firstSums[23], 3u);
  EXPECT_EQ(a.stats.secondSums[23], 4u);
  EXPECT_EQ(a.stats.LargestSum(), 0x10u);

  Analysis other = Analyze(file, 26);
  EXPECT_EQ(other.stats.firstSums[5], 1000u);
  EXPECT_EQ(other.stats.LargestSum(), 1000u);
}

TEST(HourAnalysis, HoursPastTheDayAreSkippedWithoutTouchingOtherSums) {
  std::vector<uint8_t> file;
  for (uint8_t hour : {24, 25, 200, 255}) AppendRecord(file, 27, hour, 0xAAAAAAAAu, 0xBBBBBBBBu);
  AppendRecord(file, 27, 0, 1, 2);
  Analysis a = Analyze(file);
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.stats.firstSums[0], 1u);
  EXPECT_EQ(a.stats.secondSums[0], 2u);
  EXPECT_EQ(a.stats.LargestSum(), 2u);
}

TEST(HourAnalysis, AShortReadShowsTheByteCountThenFails) {
  std::vector<uint8_t> file;
  AppendRecord(file, 27, 3, 5, 5);
  AppendRecord(file, 27, 3, 5, 5);
  HourStatistics stats;
  stats.SetFileSize(uint32_t(file.size()));
  file.resize(26);  // the file shrank after its size was taken
  MemorySource source(file);
  RecordedMessages messages;
  EXPECT_FALSE(stats.AnalyzeHourData(kConsoleDayValue, source, messages));
  EXPECT_EQ(stats.bytesRead, 10u);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"10", "this error should never happen!"}));
}

TEST(HourAnalysis, AnalysisStartsFromZeroEachTime) {
  std::vector<uint8_t> file;
  AppendRecord(file, 27, 4, 9, 9);
  HourStatistics stats;
  RecordedMessages messages;
  for (int run = 0; run < 2; ++run) {
    MemorySource source(file);
    stats.SetFileSize(uint32_t(file.size()));
    ASSERT_TRUE(stats.AnalyzeHourData(kConsoleDayValue, source, messages));
  }
  EXPECT_EQ(stats.firstSums[4], 9u);
}

}  // namespace
