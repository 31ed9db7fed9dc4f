// Interface rows whose counters the test sets.
#pragma once

#include <cstdint>
#include <string>

#include "sampling/counter_source.h"

class StubCounters : public ICounterSource {
 public:
  static constexpr int kRows = 10;

  StubCounters();

  CounterReading ReadCounters(int32_t row) override;
  const char* InterfaceDescription(int32_t row) override;
  uint32_t InterfaceOperStatus(int32_t row) override;

  uint32_t ReadInterfaceFacts(InterfaceFacts* facts, uint32_t count) override;

  // Moves row's counters on by the given bytes, wrapping as the real 32-bit counters do (64-bit
  // ones when the row is wide).
  void AddTraffic(int32_t row, uint64_t sent, uint64_t received);

  // The row gets 64-bit counters on a link fast enough for any amount the tests move in a reading.
  void MakeFast(int32_t row);

  CounterReading rows[kRows] = {};
  std::string descriptions[kRows];
  uint32_t operStatus[kRows] = {};
  InterfaceFacts facts[kRows] = {};
  int32_t lastRow = -1;
  // Each reading is stamped this much later than the one before.
  uint32_t clockMs = 0;
  uint32_t msPerReading = 1000;
};
