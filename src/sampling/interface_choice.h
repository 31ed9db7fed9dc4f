// Which interface a first start watches: the first that is up, not a loopback and has counted
// traffic. On Windows the table's first row is the software loopback, whose counters stay 0, and at
// sign-in no link may have counted anything yet.
#pragma once

#include <cstdint>

// What the interface table says of one row.
struct InterfaceFacts {
  uint32_t type;        // dwType; 24 is a software loopback
  uint32_t operStatus;  // dwOperStatus; 4 connected, 5 operational
  uint32_t inOctets;
  uint32_t outOctets;
  bool filter;  // a filter driver's view of another interface, not an interface of its own
};

constexpr uint32_t kEthernetType = 6;
constexpr uint32_t kSoftwareLoopbackType = 24;
constexpr uint32_t kWirelessType = 71;
constexpr uint32_t kOperStatusConnected = 4;
constexpr uint32_t kOperStatusOperational = 5;

// The first row, in table order, that is up, no loopback and has counted traffic; else the first
// Ethernet or wireless row that is up, else the first Ethernet or wireless row; else row 0.
int32_t ChooseFirstInterface(const InterfaceFacts* rows, uint32_t count);
// Whether the row has counted traffic and may be watched by a first start.
bool CarriesTraffic(const InterfaceFacts& row);
