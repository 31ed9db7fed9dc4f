// Feeds arbitrary log files through the usage reader, whole and in pieces, which must agree.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "log/usage_totals.h"

namespace {

bool SameTotals(const UsageTotals& a, const UsageTotals& b) {
  if (a.lines != b.lines || a.skipped != b.skipped || a.later != b.later || a.earlier != b.earlier) return false;
  for (int month = 0; month < kUsageMonths; ++month)
    if (a.Month(month).sent != b.Month(month).sent || a.Month(month).received != b.Month(month).received)
      return false;
  for (int day = 0; day < kUsageDays; ++day)
    if (a.Day(day).Both() != b.Day(day).Both()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t piece = size_t(data[0]) + 1;
  const char* log = reinterpret_cast<const char*>(data + 1);
  const size_t length = size - 1;

  static UsageTotals whole;
  static UsageTotals pieces;
  whole.Reset({2026, 12, 9});
  pieces.Reset({2026, 12, 9});
  whole.Feed(log, length);
  whole.Finish();
  for (size_t at = 0; at < length; at += piece) pieces.Feed(log + at, length - at < piece ? length - at : piece);
  pieces.Finish();
  if (!SameTotals(whole, pieces)) abort();

  // Every line is summed, skipped, or left out by its date, and there are no more of them than
  // line ends, plus a last line without one.
  size_t lineEnds = 0;
  for (size_t i = 0; i < length; ++i) lineEnds += log[i] == '\n' ? 1 : 0;
  if (uint64_t(whole.lines) + whole.skipped + whole.later + whole.earlier > lineEnds + 1) abort();
  // Nothing summed by day that is not in its month.
  UsageAmount days;
  for (int day = 0; day < whole.Today().day; ++day) days.Add(whole.Day(day));
  if (days.sent != whole.Month(0).sent || days.received != whole.Month(0).received) abort();
  return 0;
}
