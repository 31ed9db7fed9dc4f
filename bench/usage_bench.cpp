// The cost of reading a year of minute lines into the usage totals: from memory, and from a file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "alloc_counter.h"
#include "log/usage_totals.h"

namespace {

constexpr int kYearMinutes = 365 * 24 * 60;

// 2026 minute by minute, as the meter writes it, with counts of every size.
const std::string& YearOfLines() {
  static const std::string log = [] {
    std::string text;
    char line[kLogLineSize];
    const size_t header = FormatLogHeader("Fast Ethernet Adapter (PCI) 2.1", line, sizeof line);
    text.append(line, header);
    const int64_t first = DayNumber({2026, 1, 1});
    for (int minute = 0; minute < kYearMinutes; ++minute) {
      const CalendarDate date = DateOfDayNumber(first + minute / 1440);
      const LocalDateTime t{date.year, date.month, date.day, int((first + minute / 1440 + 4) % 7),
                            minute / 60 % 24,  minute % 60, 30};
      const uint64_t sent = uint64_t(minute) * 7919 % 90000000;
      text.append(line, FormatLogLine(t, sent, sent * 13 + 5, line, sizeof line));
    }
    return text;
  }();
  return log;
}

void BM_ReadYearOfLines(benchmark::State& state) {
  const std::string& log = YearOfLines();
  static UsageTotals totals;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    totals.Reset({2026, 12, 31});
    for (size_t at = 0; at < log.size(); at += 65536)
      totals.Feed(log.data() + at, log.size() - at < 65536 ? log.size() - at : 65536);
    totals.Finish();
    if (totals.lines != uint32_t(kYearMinutes)) state.SkipWithError("lines lost");
    benchmark::DoNotOptimize(totals.Month(0));
  }
  const double perRead = double(AllocationCount() - before) / double(state.iterations());
  state.counters["allocs_per_read"] = perRead;
  if (perRead > 0) state.SkipWithError("allocates per read");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(log.size()));
}
BENCHMARK(BM_ReadYearOfLines)->Unit(benchmark::kMillisecond);

// The same through the C library's file, whose one buffer is allocated at each open.
void BM_ReadYearOfLinesFromFile(benchmark::State& state) {
  const std::string& log = YearOfLines();
  const char* path = "/tmp/quintrel_usage_bench_Quintrel.csv";
  FILE* file = fopen(path, "wb");
  if (file == nullptr) {
    state.SkipWithError("cannot write the file");
    return;
  }
  fwrite(log.data(), 1, log.size(), file);
  fclose(file);
  static UsageTotals totals;
  for (auto _ : state) {
    totals.Reset({2026, 12, 31});
    if (!ReadUsageFile(path, totals) || totals.lines != uint32_t(kYearMinutes)) state.SkipWithError("read failed");
  }
  remove(path);
}
BENCHMARK(BM_ReadYearOfLinesFromFile)->Unit(benchmark::kMillisecond);

}  // namespace
