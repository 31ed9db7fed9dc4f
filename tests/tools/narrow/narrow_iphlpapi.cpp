// An IP helper library of an older system: only the 32-bit "GetIfTable" and "GetIfEntry", passed on
// to the system's library. The meter must count through it as it counts through the newer entry points.
#include <iphlpapi.h>
#include <windows.h>

#include "tools/iphlpapi/system_iphlpapi.h"

extern "C" __declspec(dllexport) DWORD WINAPI GetIfEntry(PMIB_IFROW row) {
  using Fn = DWORD(WINAPI*)(PMIB_IFROW);
  const auto entry = SystemIpHelper<Fn>("GetIfEntry");
  return entry != nullptr ? entry(row) : ERROR_NOT_SUPPORTED;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order) {
  using Fn = DWORD(WINAPI*)(PMIB_IFTABLE, PULONG, BOOL);
  const auto entry = SystemIpHelper<Fn>("GetIfTable");
  return entry != nullptr ? entry(table, size, order) : ERROR_NOT_SUPPORTED;
}
