// Interface rows whose counters the test sets.
#pragma once

#include <cstdint>
#include <string>

#include "sampling/counter_source.h"
#include "support/stub_calls.h"

class StubCounters : public ICounterSource {
 public:
  static constexpr int kRows = 10;

  explicit StubCounters(StubCallLog* calls = nullptr);

  CounterPair ReadCounters(int32_t row) override;
  const char* InterfaceDescription(int32_t row) override;
  uint32_t InterfaceOperStatus(int32_t row) override;

  // Moves row's counters on by the given bytes, wrapping as the real 32-bit counters do.
  void AddTraffic(int32_t row, uint32_t sent, uint32_t received);

  CounterPair rows[kRows] = {};
  std::string descriptions[kRows];
  uint32_t operStatus[kRows] = {};
  int32_t lastRow = -1;

 private:
  StubCallLog* calls;
};
