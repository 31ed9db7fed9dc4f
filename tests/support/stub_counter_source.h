// Interface rows whose counters the test sets, and all links summed over the rows' facts.
#pragma once

#include <cstdint>
#include <string>

#include "sampling/counter_source.h"
#include "sampling/link_sum.h"

class StubCounters : public ICounterSource {
 public:
  static constexpr int kRows = 16;

  StubCounters();

  // kAllLinksRow sums the links of `facts`, as the platform sums its table.
  CounterReading ReadCounters(int32_t row) override;
  const char* InterfaceDescription(int32_t row) override;
  uint32_t InterfaceOperStatus(int32_t row) override;

  uint32_t ReadInterfaceFacts(InterfaceFacts* facts, uint32_t count) override;
  uint32_t InterfaceCount() override { return rowCount; }
  const char* InterfaceAlias(int32_t row) override;
  uint64_t InterfaceIdentity(int32_t row) override;
  bool SumsAllLinks() override { return sumsAllLinks; }
  // The rows of the table read again: rowCount, which a test may raise.
  uint32_t ReadTableAgain() override {
    ++tableReads;
    return rowCount;
  }
  uint32_t NowMs() override { return clockMs; }

  // Moves row's counters on by the given bytes, wrapping as the real 32-bit counters do (64-bit
  // ones when the row is wide).
  void AddTraffic(int32_t row, uint64_t sent, uint64_t received);

  // The row gets 64-bit counters on a link fast enough for any amount the tests move in a reading.
  void MakeFast(int32_t row);

  CounterReading rows[kRows] = {};
  std::string descriptions[kRows];
  std::string aliases[kRows];
  uint32_t operStatus[kRows] = {};
  InterfaceFacts facts[kRows] = {};
  uint32_t rowCount = kRows;
  bool sumsAllLinks = false;
  int32_t lastRow = -1;
  // Each reading is stamped this much later than the one before.
  uint32_t clockMs = 0;
  uint32_t msPerReading = 1000;
  int tableReads = 0;
  LinkSum allLinks;
};
