// Reading hour records and summing them per hour.
#include "console/hour_data.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t ReadLittleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

HourRecord ParseHourRecord(const uint8_t (&bytes)[kHourRecordSize]) {
  HourRecord r{};
  memcpy(r.unused0, bytes, 2);
  r.daySelector = bytes[2];
  r.unused3 = bytes[3];
  r.hour = bytes[4];
  memcpy(r.unused5, bytes + 5, 3);
  r.firstCount = ReadLittleEndian32(bytes + 8);
  r.secondCount = ReadLittleEndian32(bytes + 12);
  return r;
}

bool HourStatistics::ReadHourRecord(IHourDataSource& source, IHourMessages& messages) {
  bytesRead = source.Read(record, kHourRecordSize);
  if (bytesRead == kHourRecordSize) return true;
  char text[16];
  snprintf(text, sizeof text, "%u", unsigned(bytesRead));
  messages.ShowMessage(text);
  return false;
}

bool HourStatistics::AnalyzeHourData(uint8_t dayValue, IHourDataSource& source, IHourMessages& messages) {
  memset(firstSums, 0, sizeof firstSums);
  memset(secondSums, 0, sizeof secondSums);
  for (uint32_t i = 0; i < recordCount; ++i) {
    if (!ReadHourRecord(source, messages)) {
      messages.ShowMessage("this error should never happen!");
      return false;
    }
    const HourRecord r = ParseHourRecord(record);
    if (r.daySelector != dayValue || r.hour >= kHoursPerDay) continue;
    firstSums[r.hour] += r.firstCount;
    secondSums[r.hour] += r.secondCount;
  }
  return true;
}

uint32_t HourStatistics::LargestSum() const {
  uint32_t largest = 0;
  for (int h = 0; h < kHoursPerDay; ++h) {
    if (firstSums[h] > largest) largest = firstSums[h];
    if (secondSums[h] > largest) largest = secondSums[h];
  }
  return largest;
}
