// Loading the IP helper library, resolving the entry points the meter uses, and reading through them.
#include "sampling/ip_helper_win.h"

#include "fw/system_library_win.h"

CIpHelper::CIpHelper() : libraryName(SystemLibraryPath("iphlpapi.dll")) {
  adapterTable.wide = &wideCounters;
}

CIpHelper::CIpHelper(const char* libraryPath) : libraryName(libraryPath) {
  adapterTable.wide = &wideCounters;
}

const char* CIpHelper::DiscoverInterfaces() {
  Release();
  adapterTable.Clear();
  const char* failure = LoadAndRead();
  // Nothing is sampled after a failure, so nothing of the library is kept.
  if (failure != nullptr) Release();
  return failure;
}

const char* CIpHelper::LoadAndRead() {
  ipHelperModule.Reset(LoadLibraryA(libraryName.c_str()));
  if (!ipHelperModule) return kUnsupportedOsMessage;
  pfnGetIfEntry = LibraryFunction<GetIfEntryFn>(ipHelperModule.get(), "GetIfEntry");
  if (pfnGetIfEntry == nullptr) return kNoGetIfEntryMessage;
  pfnGetIfTable = LibraryFunction<GetIfTableFn>(ipHelperModule.get(), "GetIfTable");
  if (pfnGetIfTable == nullptr) return kNoGetIfTableMessage;
  wideCounters.Resolve(ipHelperModule.get());
  if (!adapterTable.Read(pfnGetIfTable)) return kNoAdapterMessage;
  return nullptr;
}

CounterReading CIpHelper::ReadCounters(int32_t row) {
  if (row == kAllLinksRow) return adapterTable.ReadAllLinks();
  return adapterTable.ReadCounters(pfnGetIfEntry, row, pfnGetIfTable);
}

const char* CIpHelper::InterfaceDescription(int32_t row) {
  if (row == kAllLinksRow && SumsAllLinks()) return kAllLinksDescription;
  return adapterTable.Description(row);
}

uint64_t CIpHelper::InterfaceIdentity(int32_t row) {
  if (row == kAllLinksRow) return SumsAllLinks() ? kAllLinksIdentity : 0;
  return adapterTable.Luid(row);
}

uint32_t CIpHelper::InterfacesChanged() {
  wideCounters.NoticeTaken();
  if (!IsLoaded()) return adapterTable.Count();
  return adapterTable.ReadAgain(pfnGetIfTable);
}

void CIpHelper::Release() {
  pfnGetIfEntry = nullptr;
  pfnGetIfTable = nullptr;
  wideCounters.Clear();
  ipHelperModule.Reset();
}
