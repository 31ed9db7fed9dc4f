// The Vista-and-later rows with 64-bit counters, resolved at run time so that older systems still
// run the program on the 32-bit counters.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06000000
#include <winsock2.h>
#include <ws2tcpip.h>
// iphlpapi.h needs the types of the headers above.
#include <iphlpapi.h>
#include <windows.h>

#include <new>

#include "sampling/wide_counters_win.h"

namespace {

using GetIfEntry2Fn = NETIO_STATUS(WINAPI*)(PMIB_IF_ROW2 row);
using GetIfTable2Fn = NETIO_STATUS(WINAPI*)(PMIB_IF_TABLE2* table);
using FreeMibTableFn = VOID(WINAPI*)(PVOID memory);

template <typename Target>
Target As(FARPROC function) {
  return reinterpret_cast<Target>(reinterpret_cast<void*>(function));
}

bool ReadRow(FARPROC getIfEntry2, uint32_t interfaceIndex, MIB_IF_ROW2& row) {
  ZeroMemory(&row, sizeof row);
  row.InterfaceIndex = interfaceIndex;
  return As<GetIfEntry2Fn>(getIfEntry2)(&row) == NO_ERROR;
}

}  // namespace

bool CWideCounters::Resolve(HMODULE library) {
  Clear();
  if (library == nullptr) return false;
  getIfEntry2 = GetProcAddress(library, "GetIfEntry2");
  getIfTable2 = GetProcAddress(library, "GetIfTable2");
  freeMibTable = GetProcAddress(library, "FreeMibTable");
  if (getIfEntry2 == nullptr || getIfTable2 == nullptr || freeMibTable == nullptr) Clear();
  return Present();
}

void CWideCounters::Clear() {
  getIfEntry2 = getIfTable2 = freeMibTable = nullptr;
}

bool CWideCounters::Read(uint32_t interfaceIndex, WideRowCounters& out) const {
  MIB_IF_ROW2 row;
  if (!Present() || !ReadRow(getIfEntry2, interfaceIndex, row)) return false;
  out.inOctets = row.InOctets;
  out.outOctets = row.OutOctets;
  out.linkBitsPerSecond =
      row.ReceiveLinkSpeed > row.TransmitLinkSpeed ? row.ReceiveLinkSpeed : row.TransmitLinkSpeed;
  // The platform's "unknown" is all ones.
  if (out.linkBitsPerSecond == UINT64_MAX) out.linkBitsPerSecond = 0;
  return true;
}

std::vector<uint32_t> CWideCounters::FilterIndexes() const {
  std::vector<uint32_t> filters;
  PMIB_IF_TABLE2 table = nullptr;
  if (!Present() || As<GetIfTable2Fn>(getIfTable2)(&table) != NO_ERROR || table == nullptr) return filters;
  try {
    for (ULONG i = 0; i < table->NumEntries; ++i)
      if (table->Table[i].InterfaceAndOperStatusFlags.FilterInterface)
        filters.push_back(table->Table[i].InterfaceIndex);
  } catch (const std::bad_alloc&) {
    filters.clear();
  }
  As<FreeMibTableFn>(freeMibTable)(table);
  return filters;
}
