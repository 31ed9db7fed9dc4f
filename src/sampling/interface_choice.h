// Which interface a first start watches: the first that is up, not a loopback and has counted
// traffic. On Windows the table's first row is the software loopback, whose counters stay 0.
#pragma once

#include <cstdint>

// What the table read at start-up says of one row.
struct InterfaceFacts {
  uint32_t type;        // dwType; 24 is a software loopback
  uint32_t operStatus;  // dwOperStatus; 4 connected, 5 operational
  uint32_t inOctets;
  uint32_t outOctets;
};

constexpr uint32_t kSoftwareLoopbackType = 24;
constexpr uint32_t kOperStatusConnected = 4;
constexpr uint32_t kOperStatusOperational = 5;

// The first row, in table order, that qualifies; row 0 when none does.
int32_t ChooseFirstInterface(const InterfaceFacts* rows, uint32_t count);
