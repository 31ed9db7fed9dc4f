// The test's interface rows.
#include "support/stub_counter_source.h"

namespace {

bool Inside(int32_t row) {
  return row >= 0 && row < StubCounters::kRows;
}

}  // namespace

StubCounters::StubCounters() {
  for (int row = 0; row < kRows; ++row) {
    descriptions[row] = "Fake Ethernet Adapter " + std::to_string(row);
    operStatus[row] = 1;
  }
}

CounterReading StubCounters::ReadCounters(int32_t row) {
  lastRow = row;
  clockMs += msPerReading;
  if (row == kAllLinksRow && sumsAllLinks) return allLinks.Take(facts, rowCount, 0, clockMs);
  CounterReading reading = Inside(row) ? rows[row] : CounterReading{0, 0, 0, false};
  reading.readAtMs = clockMs;
  return reading;
}

uint32_t StubCounters::ReadInterfaceFacts(InterfaceFacts* out, uint32_t count) {
  uint32_t filled = 0;
  for (; filled < count && filled < rowCount && filled < uint32_t(kRows); ++filled) out[filled] = facts[filled];
  return filled;
}

const char* StubCounters::InterfaceDescription(int32_t row) {
  if (row == kAllLinksRow && sumsAllLinks) return kAllLinksDescription;
  return Inside(row) ? descriptions[row].c_str() : "";
}

uint32_t StubCounters::InterfaceOperStatus(int32_t row) {
  if (row == kAllLinksRow && sumsAllLinks)
    return allLinks.MemberCount() > 0 ? kOperStatusOperational : kOperStatusDisconnected;
  return Inside(row) ? operStatus[row] : 0;
}

const char* StubCounters::InterfaceAlias(int32_t row) {
  return Inside(row) ? aliases[row].c_str() : "";
}

uint64_t StubCounters::InterfaceIdentity(int32_t row) {
  if (row == kAllLinksRow) return sumsAllLinks ? kAllLinksIdentity : 0;
  return Inside(row) ? facts[row].luid : 0;
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
