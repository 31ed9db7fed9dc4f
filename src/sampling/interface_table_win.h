// The interface table, read once in full from the IP helper library, and the counters of one row.
#pragma once

#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sampling/monitor_platform.h"

static_assert(sizeof(MIB_IFROW) == 860, "an interface row is 860 bytes");

using GetIfTableFn = DWORD(WINAPI*)(PMIB_IFTABLE table, PULONG size, BOOL order);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW row);

class CInterfaceTable {
 public:
  // Reads every row in the platform's order, however many there are; row i stays interface i.
  // False when the read fails or finds no interface.
  bool Read(GetIfTableFn getIfTable);
  void Clear();

  uint32_t Count() const { return interfaceCount; }
  // NUL-terminated at its dwDescrLen; "" for a row outside the table.
  const char* Description(int32_t row) const;
  uint32_t OperStatus(int32_t row) const;
  // The row's two octet counters. A failed read or a row outside the table repeats the previous reading.
  CounterPair ReadCounters(GetIfEntryFn getIfEntry, int32_t row);

  MIB_IFROW currentRow = {};

 private:
  bool Allocate(ULONG byteCount);
  bool AcceptRows();
  const MIB_IFROW* Row(int32_t row) const;
  MIB_IFTABLE* Table() const { return reinterpret_cast<MIB_IFTABLE*>(storage.get()); }

  std::unique_ptr<DWORD[]> storage;  // DWORD elements keep the table's alignment
  ULONG capacity = 0;
  uint32_t interfaceCount = 0;
};
