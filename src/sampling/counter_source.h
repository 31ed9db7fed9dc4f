// What the statistics read from the platform: the interfaces found at start-up and the two octet
// counters of one of them.
#pragma once

#include <cstdint>

#include "sampling/interface_choice.h"

// One reading of an interface's octet counters, as the platform gave it; what it means (traffic,
// a wrap, counters that started again) is the counter tracker's to decide.
struct CounterReading {
  uint64_t sent = 0;      // OutOctets
  uint64_t received = 0;  // InOctets
  // Changes when the platform saw the counters start again (the machine resumed from sleep).
  uint32_t epoch = 0;
  // False when the platform gave no reading of the row's interface.
  bool ok = true;
  // 64-bit counters; otherwise 32-bit ones that wrap at 2^32.
  bool wide = false;
  // The platform's index of the interface that was read.
  uint32_t interfaceIndex = 0;
  // When it was read, in milliseconds of a clock that wraps at 2^32.
  uint32_t readAtMs = 0;
  // The faster of the link's two speeds in bits per second; 0 when unknown.
  uint64_t linkBitsPerSecond = 0;
};

// The operational status of a disconnected interface.
constexpr uint32_t kOperStatusDisconnected = 2;

class ICounterSource {
 public:
  virtual ~ICounterSource() = default;
  // The counters of interface row `row`; not ok when the platform gave none.
  virtual CounterReading ReadCounters(int32_t row) = 0;
  // "" for a row outside the table.
  virtual const char* InterfaceDescription(int32_t row) = 0;
  // As recorded when the table was read.
  virtual uint32_t InterfaceOperStatus(int32_t row) = 0;
  // What the table says of every row now, counters included, into rows[0..count); the number of
  // rows filled, 0 when the table cannot be read.
  virtual uint32_t ReadInterfaceFacts(InterfaceFacts* rows, uint32_t count) = 0;
};
