// The test's interface rows.
#include "support/stub_counter_source.h"

StubCounters::StubCounters() {
  for (int row = 0; row < kRows; ++row) {
    descriptions[row] = "Fake Ethernet Adapter " + std::to_string(row);
    operStatus[row] = 1;
  }
}

CounterReading StubCounters::ReadCounters(int32_t row) {
  lastRow = row;
  clockMs += msPerReading;
  CounterReading reading = row >= 0 && row < kRows ? rows[row] : CounterReading{0, 0, 0, false};
  reading.readAtMs = clockMs;
  return reading;
}

uint32_t StubCounters::ReadInterfaceFacts(InterfaceFacts* out, uint32_t count) {
  uint32_t filled = 0;
  for (; filled < count && filled < uint32_t(kRows); ++filled) out[filled] = facts[filled];
  return filled;
}

const char* StubCounters::InterfaceDescription(int32_t row) {
  return row >= 0 && row < kRows ? descriptions[row].c_str() : "";
}

uint32_t StubCounters::InterfaceOperStatus(int32_t row) {
  return row >= 0 && row < kRows ? operStatus[row] : 0;
}

void StubCounters::AddTraffic(int32_t row, uint64_t sent, uint64_t received) {
  CounterReading& reading = rows[row];
  reading.sent += sent;
  reading.received += received;
  if (!reading.wide) {
    reading.sent = uint32_t(reading.sent);
    reading.received = uint32_t(reading.received);
  }
}

void StubCounters::MakeFast(int32_t row) {
  rows[row].wide = true;
  rows[row].linkBitsPerSecond = 400000000000u;
}
