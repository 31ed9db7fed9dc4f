// What the statistics read from the platform: the interfaces found at start-up and the two octet
// counters of one of them.
#pragma once

#include <cstdint>

struct CounterPair {
  uint32_t sent;      // dwOutOctets
  uint32_t received;  // dwInOctets
  // Changes when the counters started again (the interface came back under another index, or its
  // counters were reset): a new baseline is taken instead of a difference.
  uint32_t epoch = 0;
};

// The operational status of a disconnected interface.
constexpr uint32_t kOperStatusDisconnected = 2;

class ICounterSource {
 public:
  virtual ~ICounterSource() = default;
  // The counters of interface row `row`; a failed read repeats the previous reading.
  virtual CounterPair ReadCounters(int32_t row) = 0;
  // "" for a row outside the table.
  virtual const char* InterfaceDescription(int32_t row) = 0;
  // As recorded when the table was read.
  virtual uint32_t InterfaceOperStatus(int32_t row) = 0;
};
