// Which interface a first start watches: the one the default route goes through, else the first
// that is up, not a loopback and has counted traffic. On Windows the table's first row is the
// software loopback, whose counters stay 0, and at sign-in no link may have counted anything yet.
#pragma once

#include <cstdint>

// What the interface table says of one row.
struct InterfaceFacts {
  uint32_t type;        // dwType; 24 is a software loopback
  uint32_t operStatus;  // dwOperStatus; 4 connected, 5 operational
  uint64_t inOctets;
  uint64_t outOctets;
  bool filter;  // a filter driver's view of another interface, not an interface of its own
  // What only the 64-bit table tells: the interface's LUID (0 when unknown) and whether it is a
  // hardware adapter.
  uint64_t luid = 0;
  bool hardware = false;
  // The default route goes through this interface.
  bool defaultRoute = false;
  // False for a row whose interface the table read now no longer lists.
  bool present = true;
  uint32_t index = 0;  // the platform's index of the interface
  bool wide = false;   // the octet counters are 64-bit ones
  uint64_t linkBitsPerSecond = 0;
};

constexpr uint32_t kEthernetType = 6;
constexpr uint32_t kSoftwareLoopbackType = 24;
constexpr uint32_t kWirelessType = 71;
constexpr uint32_t kTunnelType = 131;
constexpr uint32_t kOperStatusConnected = 4;
constexpr uint32_t kOperStatusOperational = 5;

bool IsUp(const InterfaceFacts& row);
// The row the default route goes through, when it is up and no loopback or filter row; else the
// first row, in table order, that is up, no loopback and has counted traffic; else the first
// Ethernet or wireless row that is up, else the first other link that is up (dial-up, mobile
// broadband); else the first Ethernet or wireless row, else the first row that is no loopback,
// tunnel or filter row, else the first tunnel. Row 0 only when every row is a loopback or a filter
// row.
int32_t ChooseFirstInterface(const InterfaceFacts* rows, uint32_t count);
// Whether the row has counted traffic and may be watched by a first start.
bool CarriesTraffic(const InterfaceFacts& row);
