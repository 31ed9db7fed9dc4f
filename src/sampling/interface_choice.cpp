// The interface a first start watches.
#include "sampling/interface_choice.h"

#include <initializer_list>

namespace {

bool IsUp(const InterfaceFacts& row) {
  return row.operStatus == kOperStatusConnected || row.operStatus == kOperStatusOperational;
}

// A network adapter of the machine: no loopback, tunnel or filter row.
bool IsAdapter(const InterfaceFacts& row) {
  return !row.filter && (row.type == kEthernetType || row.type == kWirelessType);
}

bool IsUpAdapter(const InterfaceFacts& row) {
  return IsUp(row) && IsAdapter(row);
}

int32_t FirstRow(const InterfaceFacts* rows, uint32_t count, bool (*qualifies)(const InterfaceFacts&)) {
  for (uint32_t i = 0; rows != nullptr && i < count && i <= uint32_t(INT32_MAX); ++i)
    if (qualifies(rows[i])) return int32_t(i);
  return -1;
}

}  // namespace

bool CarriesTraffic(const InterfaceFacts& row) {
  return IsUp(row) && !row.filter && row.type != kSoftwareLoopbackType &&
         (row.inOctets != 0 || row.outOctets != 0);
}

int32_t ChooseFirstInterface(const InterfaceFacts* rows, uint32_t count) {
  for (auto qualifies : {CarriesTraffic, IsUpAdapter, IsAdapter}) {
    const int32_t row = FirstRow(rows, count, qualifies);
    if (row >= 0) return row;
  }
  return 0;
}
