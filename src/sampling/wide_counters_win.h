// The 64-bit octet counters of the IP helper library's newer entry points, where the platform has
// them; their rows stay inside this file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct WideRowCounters {
  uint64_t inOctets;
  uint64_t outOctets;
  uint64_t linkBitsPerSecond;  // the faster of the two directions; 0 when unknown
};

class CWideCounters {
 public:
  // Resolves GetIfEntry2, GetIfTable2 and FreeMibTable from the library; all three or none.
  bool Resolve(HMODULE library);
  void Clear();
  bool Present() const { return getIfEntry2 != nullptr; }

  // The counters of the interface with this platform index; false when the platform gives none.
  bool Read(uint32_t interfaceIndex, WideRowCounters& out) const;
  // The platform indexes of the rows that are a filter driver's view of another interface; empty
  // when unknown.
  std::vector<uint32_t> FilterIndexes() const;

 private:
  using Function = FARPROC;
  Function getIfEntry2 = nullptr;
  Function getIfTable2 = nullptr;
  Function freeMibTable = nullptr;
};
