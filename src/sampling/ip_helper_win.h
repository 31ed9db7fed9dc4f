// The IP helper library, loaded by name at run time, and the interfaces it reports.
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

  // Loads the library, resolves "GetIfEntry" and "GetIfTable" (and the 64-bit counters' entry
  // points where the library has them) and reads the interface table.
  // Returns null on success, otherwise the message that tells the user what failed.
  const char* DiscoverInterfaces();
  // Frees the library; the rows stay, and the counters keep their last reading.
  void Release();

  CounterReading ReadCounters(int32_t row) override {
    return adapterTable.ReadCounters(pfnGetIfEntry, row, pfnGetIfTable);
  }
  uint32_t ReadInterfaceFacts(InterfaceFacts* rows, uint32_t count) override {
    return adapterTable.ReadFacts(pfnGetIfTable, rows, count);
  }
  // After the machine resumed from sleep: each row finds its interface again and the counters
  // take new baselines.
  void Resume() { adapterTable.FindAllAgain(pfnGetIfTable); }
  // Whether the counters are the 64-bit ones.
  bool HasWideCounters() const { return wideCounters.Present(); }
  const char* InterfaceDescription(int32_t row) override { return adapterTable.Description(row); }
  uint32_t InterfaceOperStatus(int32_t row) override { return adapterTable.OperStatus(row); }
  const char* Description(int32_t row) const { return adapterTable.Description(row); }
  uint32_t Count() const { return adapterTable.Count(); }
  bool IsLoaded() const { return bool(ipHelperModule); }

  CInterfaceTable adapterTable;

 private:
  const char* LoadAndRead();

  std::string libraryName;
  COwnedLibrary ipHelperModule;
  GetIfEntryFn pfnGetIfEntry = nullptr;
  GetIfTableFn pfnGetIfTable = nullptr;
  CWideCounters wideCounters;
};
