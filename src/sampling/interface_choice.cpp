// The interface a first start watches.
#include "sampling/interface_choice.h"

#include <initializer_list>

namespace {

bool IsLoopbackOrFilter(const InterfaceFacts& row) {
  return row.filter || row.type == kSoftwareLoopbackType;
}

// A link of its own: no loopback, tunnel or filter row.
bool IsLink(const InterfaceFacts& row) {
  return !IsLoopbackOrFilter(row) && row.type != kTunnelType;
}

// A network adapter of the machine.
bool IsAdapter(const InterfaceFacts& row) {
  return !row.filter && (row.type == kEthernetType || row.type == kWirelessType);
}

bool IsUpAdapter(const InterfaceFacts& row) {
  return IsUp(row) && IsAdapter(row);
}

bool IsUpLink(const InterfaceFacts& row) {
  return IsUp(row) && IsLink(row);
}

bool IsNoLoopbackOrFilter(const InterfaceFacts& row) {
  return !IsLoopbackOrFilter(row);
}

bool CarriesTheDefaultRoute(const InterfaceFacts& row) {
  return row.defaultRoute && IsUp(row) && !IsLoopbackOrFilter(row);
}

int32_t FirstRow(const InterfaceFacts* rows, uint32_t count, bool (*qualifies)(const InterfaceFacts&)) {
  for (uint32_t i = 0; rows != nullptr && i < count && i <= uint32_t(INT32_MAX); ++i)
    if (qualifies(rows[i])) return int32_t(i);
  return -1;
}

}  // namespace

bool IsUp(const InterfaceFacts& row) {
  return row.present && (row.operStatus == kOperStatusConnected || row.operStatus == kOperStatusOperational);
}

bool CarriesTraffic(const InterfaceFacts& row) {
  return IsUp(row) && !IsLoopbackOrFilter(row) && (row.inOctets != 0 || row.outOctets != 0);
}

int32_t ChooseFirstInterface(const InterfaceFacts* rows, uint32_t count) {
  for (auto qualifies : {CarriesTheDefaultRoute, CarriesTraffic, IsUpAdapter, IsUpLink, IsAdapter, IsLink,
                         IsNoLoopbackOrFilter}) {
    const int32_t row = FirstRow(rows, count, qualifies);
    if (row >= 0) return row;
  }
  return 0;
}
