// The interface table, read once in full from the IP helper library, and the counters of one row.
#pragma once

#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sampling/counter_source.h"
#include "sampling/interface_choice.h"

static_assert(sizeof(MIB_IFROW) == 860, "an interface row is 860 bytes");

using GetIfTableFn = DWORD(WINAPI*)(PMIB_IFTABLE table, PULONG size, BOOL order);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW row);
using TickCountFn = DWORD(WINAPI*)();

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
  // The row as the table read at start-up reported it; all zero for a row outside the table.
  InterfaceFacts Facts(int32_t row) const;
  // The row's two octet counters. A failed read repeats the row's previous reading; a row outside
  // the table repeats the last reading of any row. When the row's interface is gone, the table is
  // read again (at most every two seconds) for an interface of the same description, whose index
  // the row takes from then on; the epoch of the counters changes whenever they started again: the
  // interface was found anew, or its counters were reset.
  CounterPair ReadCounters(GetIfEntryFn getIfEntry, int32_t row, GetIfTableFn getIfTable = nullptr);

  MIB_IFROW currentRow = {};
  // The clock of the readings and of the rediscovery's rate limit.
  TickCountFn tickCount = GetTickCount;

 private:
  // The last good reading of one row.
  struct RowReading {
    DWORD sent;
    DWORD received;
    uint32_t epoch;
    bool everRead;
    DWORD readAt;
  };

  bool AcceptRows();
  MIB_IFROW* Row(int32_t row) const;
  MIB_IFTABLE* Table() const { return reinterpret_cast<MIB_IFTABLE*>(storage.get()); }
  bool ReadEntry(GetIfEntryFn getIfEntry, int32_t row, MIB_IFROW& reading) const;
  void Accept(int32_t row, const MIB_IFROW& reading);
  bool FindAgain(int32_t row, GetIfTableFn getIfTable);
  bool ReadScratch(GetIfTableFn getIfTable);
  bool IndexOfAnotherRow(int32_t row, DWORD index) const;

  std::unique_ptr<DWORD[]> storage;  // DWORD elements keep the table's alignment
  ULONG capacity = 0;
  uint32_t interfaceCount = 0;
  std::unique_ptr<RowReading[]> readings;
  // Room for reading the table again while the program runs, made at discovery.
  std::unique_ptr<DWORD[]> scratch;
  ULONG scratchCapacity = 0;
  DWORD lastSearchAt = 0;
  bool searched = false;
};
