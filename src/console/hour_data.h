// The hour-data file's records and their per-hour sums.
#pragma once

#include <cstddef>
#include <cstdint>

// One 16-byte record of "NDIS3.bin", little-endian; the bytes not listed are never read.
struct HourRecord {
  uint8_t unused0[2];
  uint8_t daySelector;
  uint8_t unused3;
  uint8_t hour;
  uint8_t unused5[3];
  uint32_t firstCount;
  uint32_t secondCount;
};
static_assert(sizeof(HourRecord) == 16, "an hour record is 16 bytes");

constexpr uint32_t kHourRecordSize = sizeof(HourRecord);
constexpr int kHoursPerDay = 24;
constexpr uint8_t kConsoleDayValue = 27;

HourRecord ParseHourRecord(const uint8_t (&bytes)[kHourRecordSize]);

// Where the records come from: the open file, or bytes in memory in tests.
class IHourDataSource {
 public:
  virtual ~IHourDataSource() = default;
  // Reads up to `size` bytes into `buffer`; returns the number delivered.
  virtual uint32_t Read(uint8_t* buffer, uint32_t size) = 0;
};

class IHourMessages {
 public:
  virtual ~IHourMessages() = default;
  virtual void ShowMessage(const char* text) = 0;
};

// The per-hour sums of one day value. The sums wrap around modulo 2^32.
class HourStatistics {
 public:
  uint32_t firstSums[kHoursPerDay] = {};
  uint32_t secondSums[kHoursPerDay] = {};
  uint32_t recordCount = 0;
  uint32_t bytesRead = 0;
  uint8_t record[kHourRecordSize] = {};

  void SetFileSize(uint32_t fileSize) { recordCount = fileSize / kHourRecordSize; }
  // Reads one whole record; a short read shows the number of bytes delivered and returns false.
  bool ReadHourRecord(IHourDataSource& source, IHourMessages& messages);
  // Sums recordCount records; records of another day, or of an hour past 23, add nothing.
  bool AnalyzeHourData(uint8_t dayValue, IHourDataSource& source, IHourMessages& messages);
  uint32_t LargestSum() const;
};
