// The IP helper library, loaded by name at run time, the interfaces it reports and their sum.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "fw/owned_handle_win.h"
#include "sampling/counter_source.h"
#include "sampling/interface_table_win.h"

constexpr const char* kUnsupportedOsMessage = "Unsupported OS!";
constexpr const char* kNoGetIfEntryMessage = "address2 error";
constexpr const char* kNoGetIfTableMessage = "getinfo addr error";
constexpr const char* kNoAdapterMessage = "No network adapter has been found!";

class CIpHelper : public ICounterSource {
 public:
  // The system's "iphlpapi.dll", by its full path in the system directory.
  CIpHelper();
  // Another library, for the tests.
  explicit CIpHelper(const char* libraryPath);
  CIpHelper(const CIpHelper&) = delete;
  CIpHelper& operator=(const CIpHelper&) = delete;

  // Loads the library, resolves "GetIfEntry" and "GetIfTable" (and the newer entry points where
  // the library has them) and reads the interface table.
  // Returns null on success, otherwise the message that tells the user what failed.
  const char* DiscoverInterfaces();
  // Stops the notices and frees the library; the rows stay, and the counters keep their last reading.
  void Release();

  CounterReading ReadCounters(int32_t row) override;
  uint32_t ReadInterfaceFacts(InterfaceFacts* rows, uint32_t count) override {
    return adapterTable.ReadFacts(pfnGetIfTable, rows, count);
  }
  // After the machine resumed from sleep: each row finds its interface again and the counters
  // take new baselines.
  void Resume() { adapterTable.FindAllAgain(pfnGetIfTable); }
  // Whether the counters are the 64-bit ones.
  bool HasWideCounters() const { return wideCounters.Present(); }
  const char* InterfaceDescription(int32_t row) override;
  uint32_t InterfaceOperStatus(int32_t row) override { return adapterTable.OperStatus(row); }
  uint32_t InterfaceCount() override { return adapterTable.Count(); }
  const char* InterfaceAlias(int32_t row) override { return adapterTable.Alias(row); }
  uint64_t InterfaceIdentity(int32_t row) override;
  bool SumsAllLinks() override { return wideCounters.Present(); }
  uint32_t ReadTableAgain() override { return InterfacesChanged(); }
  uint32_t NowMs() override { return adapterTable.tickCount(); }
  const char* Description(int32_t row) const { return adapterTable.Description(row); }
  uint32_t Count() const { return adapterTable.Count(); }
  bool IsLoaded() const { return bool(ipHelperModule); }

  // From now on an interface that comes or goes posts `message` to `window` (one waits in the queue
  // at most); the window then calls InterfacesChanged. False where the library sends no notices:
  // the table is then read again only after a resume or a failed reading.
  bool FollowInterfaceChanges(HWND window, UINT message) {
    return wideCounters.StartNotices(window, message);
  }
  // On the window's thread, for the message above: every row finds its interface again by its
  // LUID, and an interface the table did not hold gets a new row after the others. The number of
  // rows, which only grows.
  uint32_t InterfacesChanged();

  CInterfaceTable adapterTable;

 private:
  const char* LoadAndRead();

  std::string libraryName;
  COwnedLibrary ipHelperModule;
  GetIfEntryFn pfnGetIfEntry = nullptr;
  GetIfTableFn pfnGetIfTable = nullptr;
  CWideCounters wideCounters;
};
