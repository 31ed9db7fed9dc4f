// An IP helper library on a link faster than 4 GiB a second each way: the system's rows, but every
// reading of a row's 64-bit counters finds both of them kFastStepBytes further on than the last, on
// a link of 100 Gbit/s. Between two readings a second apart both 32-bit counters wrap at least once.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <winsock2.h>
#include <ws2tcpip.h>
// iphlpapi.h needs the types of the headers above.
#include <iphlpapi.h>
#include <windows.h>

#include "tools/iphlpapi/system_iphlpapi.h"

namespace {

constexpr ULONG64 kFastStepBytes = (ULONG64(5) << 30) + 12345;
constexpr ULONG64 kLinkBitsPerSecond = 100000000000ull;
// Readings so far of each interface, by its index.
LONG64 readings[256] = {};

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI GetIfEntry(PMIB_IFROW row) {
  const auto entry = SystemIpHelper<DWORD(WINAPI*)(PMIB_IFROW)>("GetIfEntry");
  return entry != nullptr ? entry(row) : ERROR_NOT_SUPPORTED;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order) {
  const auto entry = SystemIpHelper<DWORD(WINAPI*)(PMIB_IFTABLE, PULONG, BOOL)>("GetIfTable");
  return entry != nullptr ? entry(table, size, order) : ERROR_NOT_SUPPORTED;
}

extern "C" __declspec(dllexport) NETIO_STATUS WINAPI GetIfTable2(PMIB_IF_TABLE2* table) {
  const auto entry = SystemIpHelper<NETIO_STATUS(WINAPI*)(PMIB_IF_TABLE2*)>("GetIfTable2");
  return entry != nullptr ? entry(table) : ERROR_NOT_SUPPORTED;
}

extern "C" __declspec(dllexport) VOID WINAPI FreeMibTable(PVOID memory) {
  if (const auto entry = SystemIpHelper<VOID(WINAPI*)(PVOID)>("FreeMibTable")) entry(memory);
}

extern "C" __declspec(dllexport) NETIO_STATUS WINAPI GetIfEntry2(PMIB_IF_ROW2 row) {
  const auto entry = SystemIpHelper<NETIO_STATUS(WINAPI*)(PMIB_IF_ROW2)>("GetIfEntry2");
  if (entry == nullptr) return ERROR_NOT_SUPPORTED;
  const NETIO_STATUS status = entry(row);
  if (status != NO_ERROR) return status;
  const ULONG64 moved = ULONG64(InterlockedIncrement64(&readings[row->InterfaceIndex % 256])) * kFastStepBytes;
  row->InOctets = moved;
  row->OutOctets = moved;
  row->ReceiveLinkSpeed = row->TransmitLinkSpeed = kLinkBitsPerSecond;
  return NO_ERROR;
}
