// The test's interface rows.
#include "support/stub_counter_source.h"

StubCounters::StubCounters(StubCallLog* callLog) : calls(callLog) {
  for (int row = 0; row < kRows; ++row) {
    descriptions[row] = "Fake Ethernet Adapter " + std::to_string(row);
    operStatus[row] = 1;
  }
}

CounterPair StubCounters::ReadCounters(int32_t row) {
  if (calls) calls->Record(StubCall::ReadCounters);
  lastRow = row;
  return row >= 0 && row < kRows ? rows[row] : CounterPair{};
}

const char* StubCounters::InterfaceDescription(int32_t row) {
  return row >= 0 && row < kRows ? descriptions[row].c_str() : "";
}

uint32_t StubCounters::InterfaceOperStatus(int32_t row) {
  return row >= 0 && row < kRows ? operStatus[row] : 0;
}

void StubCounters::AddTraffic(int32_t row, uint32_t sent, uint32_t received) {
  rows[row].sent += sent;
  rows[row].received += received;
}
