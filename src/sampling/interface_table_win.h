// The interface table, read in full from the IP helper library, and the counters of one row or of
// all links together.
#pragma once

#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sampling/counter_source.h"
#include "sampling/interface_choice.h"
#include "sampling/link_sum.h"
#include "sampling/wide_counters_win.h"

static_assert(sizeof(MIB_IFROW) == 860, "an interface row is 860 bytes");

using GetIfTableFn = DWORD(WINAPI*)(PMIB_IFTABLE table, PULONG size, BOOL order);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW row);
using TickCountFn = DWORD(WINAPI*)();

class CInterfaceTable {
 public:
  // Reads every row in the platform's order, however many there are; row i stays interface i. With
  // the 64-bit table each row learns its interface's LUID, alias and kind.
  // False when the read fails or finds no interface.
  bool Read(GetIfTableFn getIfTable);
  void Clear();

  uint32_t Count() const { return interfaceCount; }
  // NUL-terminated at its dwDescrLen; "" for a row outside the table.
  const char* Description(int32_t row) const;
  // The friendly name of the row's adapter; "" when unknown.
  const char* Alias(int32_t row) const;
  // The row's interface's LUID; 0 when unknown.
  uint64_t Luid(int32_t row) const;
  // As recorded when the table was read; for kAllLinksRow, connected while a link is summed.
  uint32_t OperStatus(int32_t row) const;
  // What the table read now says of the first `count` rows, into rows; the number filled. With
  // the 64-bit table a row's interface is looked up by its LUID, and a row whose interface is gone
  // is not present.
  uint32_t ReadFacts(GetIfTableFn getIfTable, InterfaceFacts* rows, uint32_t count);
  // The row's two octet counters: 64-bit ones read by the interface's LUID where the 64-bit table
  // knows it, else GetIfEntry's. A reading that fails, or that names another interface, is not ok.
  // When a row without a LUID loses its interface, the table is read again (at most every two
  // seconds) for an interface of the same description, whose index the row takes from then on.
  CounterReading ReadCounters(GetIfEntryFn getIfEntry, int32_t row, GetIfTableFn getIfTable = nullptr);
  // Every link that is up and hardware, summed; not ok when the 64-bit table cannot be read.
  CounterReading ReadAllLinks();
  // After sleep: every row looks for its interface again, and every counter takes a new baseline.
  void FindAllAgain(GetIfTableFn getIfTable);
  // An interface came or went: every row looks for its interface again, and an interface the table
  // did not hold yet gets a row after the others. The number of rows.
  uint32_t ReadAgain(GetIfTableFn getIfTable);

  // The 64-bit counters, when the library has them.
  const CWideCounters* wide = nullptr;
  // The clock of the readings and of the rediscovery's rate limit.
  TickCountFn tickCount = GetTickCount;

 private:
  // What the 64-bit table told of a row's interface.
  struct RowIdentity {
    uint64_t luid;
    bool filter;
    bool hardware;
    bool present;
    InterfaceAlias alias;
  };

  bool AcceptRows();
  bool UsesWideTable() const { return wide != nullptr && wide->Present(); }
  MIB_IFROW* Row(int32_t row) const;
  MIB_IFTABLE* Table() const { return reinterpret_cast<MIB_IFTABLE*>(storage.get()); }
  bool ReadEntry(GetIfEntryFn getIfEntry, int32_t row, CounterReading& reading);
  bool FindAgain(int32_t row, GetIfTableFn getIfTable);
  // The row of the fresh table that is the stored row's interface, or null.
  const MIB_IFROW* FreshRowOf(int32_t row) const;
  bool ReadScratch(GetIfTableFn getIfTable);
  bool IndexOfAnotherRow(int32_t row, DWORD index) const;
  void FollowByDescription(GetIfTableFn getIfTable);
  // The 64-bit table into wideRows (and the aliases, when asked); the number of rows held.
  bool ReadWideTable(bool withAliases, uint32_t& held);
  const InterfaceFacts* WideRowOf(uint64_t luid, uint32_t held) const;
  InterfaceFacts WideFactsOf(uint32_t row, uint32_t held, uint32_t routeIndex) const;
  void AttachIdentities();
  void FollowByLuid(GetIfTableFn getIfTable);
  void AddNewInterfaces(GetIfTableFn getIfTable, uint32_t held);
  bool AdoptIdentity(const MIB_IFROW& row, const InterfaceFacts& facts, const InterfaceAlias& alias);
  bool AddRow(const MIB_IFROW& row, const InterfaceFacts& facts, const InterfaceAlias& alias);
  bool MakeRoomForRows(uint32_t rows);
  bool MakeWideRoom(uint32_t rows);

  std::unique_ptr<DWORD[]> storage;  // DWORD elements keep the table's alignment
  ULONG capacity = 0;
  uint32_t interfaceCount = 0;
  std::unique_ptr<RowIdentity[]> identities;
  uint32_t identityCapacity = 0;
  // Room for reading the table again while the program runs, made at discovery.
  std::unique_ptr<DWORD[]> scratch;
  ULONG scratchCapacity = 0;
  DWORD lastSearchAt = 0;
  bool searched = false;
  // Moves on when the machine resumed: counters read before may have started again.
  uint32_t epoch = 0;
  // Room for the 64-bit table read again, made at discovery and whenever the table grew.
  std::unique_ptr<InterfaceFacts[]> wideRows;
  std::unique_ptr<InterfaceAlias[]> wideAliases;
  uint32_t wideCapacity = 0;
  LinkSum allLinks;
};
