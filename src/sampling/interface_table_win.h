// The interface table, read once in full from the IP helper library, and the counters of one row.
#pragma once

#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sampling/counter_source.h"
#include "sampling/interface_choice.h"
#include "sampling/wide_counters_win.h"

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
  // What the table read now says of the first `count` rows, into rows; the number filled.
  uint32_t ReadFacts(GetIfTableFn getIfTable, InterfaceFacts* rows, uint32_t count);
  // The row's two octet counters: 64-bit ones when `wide` has them, else GetIfEntry's. A reading
  // that fails, or that names another interface, is not ok. When the row's interface is gone, the
  // table is read again (at most every two seconds) for an interface of the same description,
  // whose index the row takes from then on.
  CounterReading ReadCounters(GetIfEntryFn getIfEntry, int32_t row, GetIfTableFn getIfTable = nullptr);
  // After sleep: every row looks for its interface again, and every counter takes a new baseline.
  void FindAllAgain(GetIfTableFn getIfTable);

  // The 64-bit counters, when the library has them.
  const CWideCounters* wide = nullptr;
  // The clock of the readings and of the rediscovery's rate limit.
  TickCountFn tickCount = GetTickCount;

 private:
  bool AcceptRows();
  void MarkFilterRows();
  MIB_IFROW* Row(int32_t row) const;
  MIB_IFTABLE* Table() const { return reinterpret_cast<MIB_IFTABLE*>(storage.get()); }
  bool ReadEntry(GetIfEntryFn getIfEntry, int32_t row, CounterReading& reading) const;
  bool FindAgain(int32_t row, GetIfTableFn getIfTable);
  // The row of the fresh table that is the stored row's interface, or null.
  const MIB_IFROW* FreshRowOf(int32_t row) const;
  bool ReadScratch(GetIfTableFn getIfTable);
  bool IndexOfAnotherRow(int32_t row, DWORD index) const;

  std::unique_ptr<DWORD[]> storage;  // DWORD elements keep the table's alignment
  ULONG capacity = 0;
  uint32_t interfaceCount = 0;
  std::unique_ptr<bool[]> filterRows;
  // Room for reading the table again while the program runs, made at discovery.
  std::unique_ptr<DWORD[]> scratch;
  ULONG scratchCapacity = 0;
  DWORD lastSearchAt = 0;
  bool searched = false;
  // Moves on when the machine resumed: counters read before may have started again.
  uint32_t epoch = 0;
};
