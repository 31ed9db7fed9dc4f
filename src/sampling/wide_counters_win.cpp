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

#include <cstdio>

#include "sampling/wide_counters_win.h"

namespace {

using GetIfEntry2Fn = NETIO_STATUS(WINAPI*)(PMIB_IF_ROW2 row);
using GetIfTable2Fn = NETIO_STATUS(WINAPI*)(PMIB_IF_TABLE2* table);
using FreeMibTableFn = VOID(WINAPI*)(PVOID memory);
using NotifyIpInterfaceChangeFn = NETIO_STATUS(WINAPI*)(ADDRESS_FAMILY family,
                                                        PIPINTERFACE_CHANGE_CALLBACK callback, PVOID context,
                                                        BOOLEAN initial, HANDLE* handle);
using CancelMibChangeNotify2Fn = NETIO_STATUS(WINAPI*)(HANDLE handle);
using GetBestInterfaceExFn = DWORD(WINAPI*)(struct sockaddr* destination, PDWORD index);

template <typename Target>
Target As(FARPROC function) {
  return reinterpret_cast<Target>(reinterpret_cast<void*>(function));
}

// The table GetIfTable2 made, freed the way the library wants it.
class CMibTable {
 public:
  CMibTable(FARPROC getIfTable2, FARPROC freeMibTable) : freeMibTable(freeMibTable) {
    if (As<GetIfTable2Fn>(getIfTable2)(&table) != NO_ERROR) table = nullptr;
  }
  ~CMibTable() {
    if (table != nullptr) As<FreeMibTableFn>(freeMibTable)(table);
  }
  CMibTable(const CMibTable&) = delete;
  CMibTable& operator=(const CMibTable&) = delete;
  const MIB_IF_TABLE2* get() const { return table; }

 private:
  PMIB_IF_TABLE2 table = nullptr;
  FARPROC freeMibTable;
};

uint64_t FasterSpeed(const MIB_IF_ROW2& row) {
  const uint64_t speed =
      row.ReceiveLinkSpeed > row.TransmitLinkSpeed ? row.ReceiveLinkSpeed : row.TransmitLinkSpeed;
  // The platform's "unknown" is all ones.
  return speed != UINT64_MAX ? speed : 0;
}

// The status as the 32-bit table gives it: operational, disconnected (no cable, no carrier) or not.
uint32_t NarrowOperStatus(const MIB_IF_ROW2& row) {
  if (row.OperStatus == IfOperStatusUp) return MIB_IF_OPER_STATUS_OPERATIONAL;
  if (row.MediaConnectState == MediaConnectStateDisconnected) return MIB_IF_OPER_STATUS_DISCONNECTED;
  return MIB_IF_OPER_STATUS_NON_OPERATIONAL;
}

InterfaceFacts FactsOf(const MIB_IF_ROW2& row) {
  InterfaceFacts facts{row.Type, NarrowOperStatus(row), row.InOctets, row.OutOctets,
                       row.InterfaceAndOperStatusFlags.FilterInterface != 0};
  facts.luid = row.InterfaceLuid.Value;
  facts.hardware = row.InterfaceAndOperStatusFlags.HardwareInterface != 0;
  facts.index = row.InterfaceIndex;
  facts.wide = true;
  facts.linkBitsPerSecond = FasterSpeed(row);
  return facts;
}

// The alias in the program's code page, cut to the room; "" when it cannot be converted.
void CopyAlias(const MIB_IF_ROW2& row, InterfaceAlias& alias) {
  char converted[2 * (IF_MAX_STRING_SIZE + 1)] = {};
  if (WideCharToMultiByte(CP_ACP, 0, row.Alias, -1, converted, sizeof converted, nullptr, nullptr) == 0)
    converted[0] = '\0';
  snprintf(alias, sizeof alias, "%s", converted);
}

// Runs on a thread of the library's: it only posts, and never twice before the post is taken.
VOID WINAPI OnInterfaceChange(PVOID context, PMIB_IPINTERFACE_ROW, MIB_NOTIFICATION_TYPE type) {
  auto* target = static_cast<InterfaceChangeTarget*>(context);
  if (target == nullptr || type == MibInitialNotification) return;
  if (!target->posted.exchange(true)) PostMessageA(target->window, target->message, 0, 0);
}

bool BestInterface(FARPROC getBestInterfaceEx, sockaddr* destination, uint32_t& index) {
  DWORD found = 0;
  if (As<GetBestInterfaceExFn>(getBestInterfaceEx)(destination, &found) != NO_ERROR || found == 0)
    return false;
  index = found;
  return true;
}

}  // namespace

bool CWideCounters::Resolve(HMODULE library) {
  Clear();
  if (library == nullptr) return false;
  getIfEntry2 = GetProcAddress(library, "GetIfEntry2");
  getIfTable2 = GetProcAddress(library, "GetIfTable2");
  freeMibTable = GetProcAddress(library, "FreeMibTable");
  if (getIfEntry2 == nullptr || getIfTable2 == nullptr || freeMibTable == nullptr) {
    Clear();
    return false;
  }
  notifyIpInterfaceChange = GetProcAddress(library, "NotifyIpInterfaceChange");
  cancelMibChangeNotify2 = GetProcAddress(library, "CancelMibChangeNotify2");
  if (notifyIpInterfaceChange == nullptr || cancelMibChangeNotify2 == nullptr)
    notifyIpInterfaceChange = cancelMibChangeNotify2 = nullptr;
  getBestInterfaceEx = GetProcAddress(library, "GetBestInterfaceEx");
  return true;
}

void CWideCounters::Clear() {
  StopNotices();
  getIfEntry2 = getIfTable2 = freeMibTable = nullptr;
  notifyIpInterfaceChange = cancelMibChangeNotify2 = getBestInterfaceEx = nullptr;
}

bool CWideCounters::Read(uint64_t luid, WideRowCounters& out) const {
  if (!Present() || luid == 0) return false;
  MIB_IF_ROW2 row;
  ZeroMemory(&row, sizeof row);
  // With the LUID given, the platform looks the interface up by it and not by an index.
  row.InterfaceLuid.Value = luid;
  if (As<GetIfEntry2Fn>(getIfEntry2)(&row) != NO_ERROR || row.InterfaceLuid.Value != luid) return false;
  out.inOctets = row.InOctets;
  out.outOctets = row.OutOctets;
  out.linkBitsPerSecond = FasterSpeed(row);
  out.interfaceIndex = row.InterfaceIndex;
  return true;
}

bool CWideCounters::ReadTable(InterfaceFacts* rows, InterfaceAlias* aliases, uint32_t capacity,
                              uint32_t& listed) const {
  listed = 0;
  if (!Present()) return false;
  const CMibTable table(getIfTable2, freeMibTable);
  if (table.get() == nullptr) return false;
  listed = table.get()->NumEntries;
  for (uint32_t i = 0; rows != nullptr && i < listed && i < capacity; ++i) {
    rows[i] = FactsOf(table.get()->Table[i]);
    if (aliases != nullptr) CopyAlias(table.get()->Table[i], aliases[i]);
  }
  return true;
}

uint32_t CWideCounters::DefaultRouteIndex() const {
  if (getBestInterfaceEx == nullptr) return 0;
  sockaddr_in anyV4 = {};
  anyV4.sin_family = AF_INET;
  sockaddr_in6 anyV6 = {};
  anyV6.sin6_family = AF_INET6;
  uint32_t index = 0;
  if (BestInterface(getBestInterfaceEx, reinterpret_cast<sockaddr*>(&anyV4), index)) return index;
  if (BestInterface(getBestInterfaceEx, reinterpret_cast<sockaddr*>(&anyV6), index)) return index;
  return 0;
}

bool CWideCounters::StartNotices(HWND window, UINT message) {
  StopNotices();
  if (notifyIpInterfaceChange == nullptr || window == nullptr) return false;
  noticeTarget.window = window;
  noticeTarget.message = message;
  noticeTarget.posted = false;
  HANDLE handle = nullptr;
  const NETIO_STATUS status = As<NotifyIpInterfaceChangeFn>(notifyIpInterfaceChange)(
      AF_UNSPEC, OnInterfaceChange, &noticeTarget, FALSE, &handle);
  // Some libraries answer with success and no handle, and never call back.
  if (status != NO_ERROR || handle == nullptr) return false;
  noticeHandle = handle;
  return true;
}

// The platform waits for a callback under way before it returns, so the target outlives them all.
void CWideCounters::StopNotices() {
  if (noticeHandle != nullptr && cancelMibChangeNotify2 != nullptr)
    As<CancelMibChangeNotify2Fn>(cancelMibChangeNotify2)(noticeHandle);
  noticeHandle = nullptr;
}
