// The interface a first start watches.
#include "sampling/interface_choice.h"

namespace {

bool CarriesTraffic(const InterfaceFacts& row) {
  const bool up = row.operStatus == kOperStatusConnected || row.operStatus == kOperStatusOperational;
  return up && row.type != kSoftwareLoopbackType && (row.inOctets != 0 || row.outOctets != 0);
}

}  // namespace

int32_t ChooseFirstInterface(const InterfaceFacts* rows, uint32_t count) {
  for (uint32_t i = 0; rows != nullptr && i < count && i <= uint32_t(INT32_MAX); ++i)
    if (CarriesTraffic(rows[i])) return int32_t(i);
  return 0;
}
