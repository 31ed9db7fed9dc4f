// What the statistics read from the platform: the interfaces found at start-up and the two octet
// counters of one of them, or of all links together.
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

// No row: nothing is watched.
constexpr int32_t kNoRow = -1;
// Not a row of the table but the sum of every link that is up and hardware, and no filter row,
// loopback or tunnel. Its reading is one pair of 64-bit counters that never falls.
constexpr int32_t kAllLinksRow = -2;
constexpr const char* kAllLinksDescription = "All links";
// The identity of the sum of all links; never an interface's (a LUID's low 24 bits are zero).
constexpr uint64_t kAllLinksIdentity = ~uint64_t(0);

class ICounterSource {
 public:
  virtual ~ICounterSource() = default;
  // The counters of interface row `row`, or of kAllLinksRow; not ok when the platform gave none.
  virtual CounterReading ReadCounters(int32_t row) = 0;
  // "" for a row outside the table; kAllLinksDescription for kAllLinksRow.
  virtual const char* InterfaceDescription(int32_t row) = 0;
  // As recorded when the table was read; for kAllLinksRow, disconnected when no link is up.
  virtual uint32_t InterfaceOperStatus(int32_t row) = 0;
  // What the table says of every row now, counters included, into rows[0..count); the number of
  // rows filled, 0 when the table cannot be read.
  virtual uint32_t ReadInterfaceFacts(InterfaceFacts* rows, uint32_t count) = 0;
  // The rows of the table. Rows are added when adapters appear, and never move or go away, so
  // that a row number, its log and its keys mean the same interface for the whole run.
  virtual uint32_t InterfaceCount() = 0;
  // The name the system shows for the row's adapter ("Wi-Fi", "Ethernet 2"); "" when unknown.
  virtual const char* InterfaceAlias(int32_t row) = 0;
  // What names the row's interface across restarts and row moves (its LUID); 0 when unknown,
  // kAllLinksIdentity for kAllLinksRow.
  virtual uint64_t InterfaceIdentity(int32_t row) = 0;
  // Whether kAllLinksRow can be read: only the 64-bit table tells which links are hardware.
  virtual bool SumsAllLinks() = 0;
  // Reads the table again: every row finds its interface again, and an interface the table did not
  // hold gets a row after the others. The number of rows, which only grows.
  virtual uint32_t ReadTableAgain() = 0;
  // Now, in milliseconds of the readings' clock, which wraps at 2^32.
  virtual uint32_t NowMs() = 0;
};
