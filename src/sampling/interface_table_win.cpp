// Reading the whole interface table, whatever its size, and one row's counters per call.
#include "sampling/interface_table_win.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// Interfaces can appear between the size query and the read; a few retries catch up with them.
constexpr int kReadAttempts = 4;
constexpr ULONG kSpareRows = 4;
// Far beyond any real machine; a larger demand is a broken library, not a table.
constexpr ULONG kMaxTableBytes = 16u << 20;
constexpr size_t kRowsOffset = offsetof(MIB_IFTABLE, table);
// A gone interface is looked for again at most this often.
constexpr DWORD kSearchIntervalMs = 2000;
// The 64-bit table is read into room for the rows of the 32-bit one and this many more; it grows
// when an interface comes or goes, never while counters are read.
constexpr uint32_t kSpareWideRows = 32;
constexpr uint32_t kMaxWideRows = kMaxTableBytes / sizeof(MIB_IFROW);

bool Allocate(std::unique_ptr<DWORD[]>& buffer, ULONG& capacity, ULONG byteCount) {
  buffer.reset(new (std::nothrow) DWORD[(byteCount + sizeof(DWORD) - 1) / sizeof(DWORD)]());
  capacity = buffer != nullptr ? byteCount : 0;
  return buffer != nullptr;
}

template <typename Element>
bool AllocateRows(std::unique_ptr<Element[]>& rows, uint32_t& capacity, uint32_t count) {
  rows.reset(new (std::nothrow) Element[count]());
  capacity = rows != nullptr ? count : 0;
  return rows != nullptr;
}

size_t DescriptionLength(const MIB_IFROW& row) {
  size_t length = row.dwDescrLen < MAXLEN_IFDESCR - 1 ? row.dwDescrLen : MAXLEN_IFDESCR - 1;
  while (length > 0 && row.bDescr[length - 1] == 0) --length;
  return length;
}

void EndDescription(MIB_IFROW& row) {
  const DWORD length = row.dwDescrLen < MAXLEN_IFDESCR - 1 ? row.dwDescrLen : MAXLEN_IFDESCR - 1;
  row.bDescr[length] = 0;
}

// Whether a fresh row describes the stored (NUL-terminated) row's interface.
bool SameDescription(const MIB_IFROW& fresh, const MIB_IFROW& stored) {
  const size_t length = DescriptionLength(fresh);
  return length == strlen(reinterpret_cast<const char*>(stored.bDescr)) &&
         memcmp(fresh.bDescr, stored.bDescr, length) == 0;
}

}  // namespace

bool CInterfaceTable::Read(GetIfTableFn getIfTable) {
  Clear();
  if (getIfTable == nullptr) return false;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    ULONG size = capacity;
    const DWORD result = getIfTable(Table(), &size, FALSE);
    if (result == NO_ERROR) return AcceptRows();
    if (result != ERROR_INSUFFICIENT_BUFFER || size <= capacity || size > kMaxTableBytes) return false;
    if (!Allocate(storage, capacity, size + kSpareRows * sizeof(MIB_IFROW))) return false;
  }
  return false;
}

void CInterfaceTable::Clear() {
  storage.reset();
  capacity = 0;
  interfaceCount = 0;
  identities.reset();
  identityCapacity = 0;
  scratch.reset();
  scratchCapacity = 0;
  searched = false;
  wideRows.reset();
  wideAliases.reset();
  wideCapacity = 0;
}

bool CInterfaceTable::AcceptRows() {
  if (storage == nullptr || capacity < kRowsOffset) return false;
  // A count that claims more rows than the buffer holds is cut to what is really there.
  const size_t rowsHeld = (capacity - kRowsOffset) / sizeof(MIB_IFROW);
  const size_t claimed = Table()->dwNumEntries;
  interfaceCount = uint32_t(claimed < rowsHeld ? claimed : rowsHeld);
  if (interfaceCount > uint32_t(INT32_MAX)) interfaceCount = uint32_t(INT32_MAX);
  if (!AllocateRows(identities, identityCapacity, interfaceCount + kSpareRows)) interfaceCount = 0;
  for (uint32_t i = 0; i < interfaceCount; ++i) EndDescription(Table()->table[i]);
  // Without this room a gone interface is still looked for; the room is then made on the spot.
  Allocate(scratch, scratchCapacity, capacity);
  if (UsesWideTable() && interfaceCount > 0) MakeWideRoom(interfaceCount + kSpareWideRows);
  AttachIdentities();
  return interfaceCount > 0;
}

MIB_IFROW* CInterfaceTable::Row(int32_t row) const {
  if (row < 0 || uint32_t(row) >= interfaceCount) return nullptr;
  return &Table()->table[row];
}

const char* CInterfaceTable::Description(int32_t row) const {
  const MIB_IFROW* tableRow = Row(row);
  return tableRow != nullptr ? reinterpret_cast<const char*>(tableRow->bDescr) : "";
}

const char* CInterfaceTable::Alias(int32_t row) const {
  return Row(row) != nullptr ? identities[row].alias : "";
}

uint64_t CInterfaceTable::Luid(int32_t row) const {
  return Row(row) != nullptr ? identities[row].luid : 0;
}

uint32_t CInterfaceTable::OperStatus(int32_t row) const {
  if (row == kAllLinksRow)
    return allLinks.MemberCount() > 0 ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_DISCONNECTED;
  const MIB_IFROW* tableRow = Row(row);
  return tableRow != nullptr ? tableRow->dwOperStatus : 0;
}

uint32_t CInterfaceTable::ReadFacts(GetIfTableFn getIfTable, InterfaceFacts* rows, uint32_t count) {
  if (rows == nullptr) return 0;
  count = count < interfaceCount ? count : interfaceCount;
  uint32_t held = 0;
  if (UsesWideTable() && ReadWideTable(false, held)) {
    const uint32_t routeIndex = wide->DefaultRouteIndex();
    for (uint32_t i = 0; i < count; ++i) rows[i] = WideFactsOf(i, held, routeIndex);
    return count;
  }
  if (getIfTable == nullptr || !ReadScratch(getIfTable)) return 0;
  for (uint32_t i = 0; i < count; ++i) {
    const MIB_IFROW& stored = Table()->table[i];
    const MIB_IFROW* fresh = FreshRowOf(int32_t(i));
    const MIB_IFROW& now = fresh != nullptr ? *fresh : stored;
    rows[i] = InterfaceFacts{stored.dwType, now.dwOperStatus, now.dwInOctets, now.dwOutOctets,
                             identities[i].filter};
    rows[i].index = now.dwIndex;
  }
  return count;
}

// A row's interface in the 64-bit table read now, by its LUID; a row without one as discovery saw it.
InterfaceFacts CInterfaceTable::WideFactsOf(uint32_t row, uint32_t held, uint32_t routeIndex) const {
  const MIB_IFROW& stored = Table()->table[row];
  const RowIdentity& identity = identities[row];
  InterfaceFacts facts{stored.dwType, stored.dwOperStatus, stored.dwInOctets, stored.dwOutOctets,
                       identity.filter};
  facts.index = stored.dwIndex;
  if (identity.luid != 0) {
    const InterfaceFacts* fresh = WideRowOf(identity.luid, held);
    if (fresh != nullptr) facts = *fresh;
    facts.luid = identity.luid;
    facts.present = fresh != nullptr;
  }
  facts.defaultRoute = routeIndex != 0 && facts.present && facts.index == routeIndex;
  return facts;
}

CounterReading CInterfaceTable::ReadCounters(GetIfEntryFn getIfEntry, int32_t row, GetIfTableFn getIfTable) {
  CounterReading reading;
  reading.ok = false;
  reading.epoch = epoch;
  reading.readAtMs = tickCount();
  if (Row(row) == nullptr) return reading;
  const bool byLuid = UsesWideTable() && identities[row].luid != 0;
  reading.ok = ReadEntry(getIfEntry, row, reading) ||
               (!byLuid && FindAgain(row, getIfTable) && ReadEntry(getIfEntry, row, reading));
  reading.interfaceIndex = Row(row)->dwIndex;
  return reading;
}

// A failing call may leave its record half written, and an index may come to name another
// interface, so only a successful reading of the row's own interface counts: by its LUID where the
// 64-bit table knows it, else by an index whose description still matches.
bool CInterfaceTable::ReadEntry(GetIfEntryFn getIfEntry, int32_t row, CounterReading& reading) {
  MIB_IFROW& stored = *Row(row);
  const uint64_t luid = identities[row].luid;
  if (UsesWideTable() && luid != 0) {
    WideRowCounters counters;
    if (!wide->Read(luid, counters)) return false;
    // The LUID stays with the interface; its index may change, and its counters with it.
    stored.dwIndex = counters.interfaceIndex;
    reading.wide = true;
    reading.sent = counters.outOctets;
    reading.received = counters.inOctets;
    reading.linkBitsPerSecond = counters.linkBitsPerSecond;
    return true;
  }
  if (getIfEntry == nullptr) return false;
  MIB_IFROW entry = {};
  entry.dwIndex = stored.dwIndex;
  if (getIfEntry(&entry) != NO_ERROR) return false;
  if (DescriptionLength(entry) != 0 && !SameDescription(entry, stored)) return false;
  reading.wide = false;
  reading.sent = entry.dwOutOctets;
  reading.received = entry.dwInOctets;
  // A speed beyond the field's range reads as all ones.
  reading.linkBitsPerSecond = entry.dwSpeed != MAXDWORD ? entry.dwSpeed : 0;
  return true;
}

CounterReading CInterfaceTable::ReadAllLinks() {
  const uint32_t now = tickCount();
  uint32_t held = 0;
  if (!UsesWideTable() || !ReadWideTable(false, held)) {
    CounterReading failed;
    failed.ok = false;
    failed.wide = true;
    failed.readAtMs = now;
    return failed;
  }
  return allLinks.Take(wideRows.get(), held, epoch, now);
}

void CInterfaceTable::FindAllAgain(GetIfTableFn getIfTable) {
  ++epoch;
  ReadAgain(getIfTable);
}

uint32_t CInterfaceTable::ReadAgain(GetIfTableFn getIfTable) {
  if (UsesWideTable()) FollowByLuid(getIfTable);
  FollowByDescription(getIfTable);
  return interfaceCount;
}

// Rows without a LUID follow their description, as adapters come back from sleep, docking or a
// reconnect under a new index but their old description.
void CInterfaceTable::FollowByDescription(GetIfTableFn getIfTable) {
  if (getIfTable == nullptr || !ReadScratch(getIfTable)) return;
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    if (UsesWideTable() && identities[i].luid != 0) continue;
    MIB_IFROW& stored = Table()->table[i];
    if (const MIB_IFROW* fresh = FreshRowOf(int32_t(i))) {
      stored.dwIndex = fresh->dwIndex;
      stored.dwOperStatus = fresh->dwOperStatus;
    }
  }
  searched = false;
}

void CInterfaceTable::FollowByLuid(GetIfTableFn getIfTable) {
  uint32_t held = 0;
  if (!ReadWideTable(true, held)) return;
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    RowIdentity& identity = identities[i];
    if (identity.luid == 0) continue;
    const InterfaceFacts* fresh = WideRowOf(identity.luid, held);
    identity.present = fresh != nullptr;
    if (fresh == nullptr) continue;
    MIB_IFROW& stored = Table()->table[i];
    stored.dwIndex = fresh->index;
    stored.dwOperStatus = fresh->operStatus;
    identity.filter = fresh->filter;
    identity.hardware = fresh->hardware;
    memcpy(identity.alias, wideAliases[fresh - wideRows.get()], sizeof identity.alias);
  }
  AddNewInterfaces(getIfTable, held);
}

// An interface no row holds gets a row after the others, as the 32-bit table lists it; one that
// only the 64-bit table lists never had a row and gets none.
void CInterfaceTable::AddNewInterfaces(GetIfTableFn getIfTable, uint32_t held) {
  bool scratchRead = false;
  for (uint32_t w = 0; w < held; ++w) {
    const InterfaceFacts& fresh = wideRows[w];
    bool known = fresh.luid == 0;
    for (uint32_t i = 0; i < interfaceCount && !known; ++i) known = identities[i].luid == fresh.luid;
    if (known) continue;
    if (!scratchRead) {
      scratchRead = true;
      if (getIfTable == nullptr || !ReadScratch(getIfTable)) return;
    }
    const MIB_IFTABLE& narrow = *reinterpret_cast<const MIB_IFTABLE*>(scratch.get());
    const size_t rowsHeld = (scratchCapacity - kRowsOffset) / sizeof(MIB_IFROW);
    const size_t count = narrow.dwNumEntries < rowsHeld ? narrow.dwNumEntries : rowsHeld;
    for (size_t n = 0; n < count; ++n) {
      if (narrow.table[n].dwIndex != fresh.index) continue;
      if (!AdoptIdentity(narrow.table[n], fresh, wideAliases[w]) &&
          !AddRow(narrow.table[n], fresh, wideAliases[w]))
        return;
      break;
    }
  }
}

// A row that found no LUID at discovery (its index moved between the two reads) is the interface's
// row, not a new one.
bool CInterfaceTable::AdoptIdentity(const MIB_IFROW& row, const InterfaceFacts& facts,
                                    const InterfaceAlias& alias) {
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    const MIB_IFROW& stored = Table()->table[i];
    if (identities[i].luid != 0 || stored.dwIndex != row.dwIndex || !SameDescription(row, stored)) continue;
    identities[i] = RowIdentity{facts.luid, facts.filter, facts.hardware, true, {}};
    memcpy(identities[i].alias, alias, sizeof identities[i].alias);
    return true;
  }
  return false;
}

bool CInterfaceTable::AddRow(const MIB_IFROW& row, const InterfaceFacts& facts, const InterfaceAlias& alias) {
  if (interfaceCount >= uint32_t(INT32_MAX) || !MakeRoomForRows(interfaceCount + 1)) return false;
  MIB_IFROW& added = Table()->table[interfaceCount];
  added = row;
  EndDescription(added);
  RowIdentity& identity = identities[interfaceCount];
  identity = RowIdentity{facts.luid, facts.filter, facts.hardware, true, {}};
  memcpy(identity.alias, alias, sizeof identity.alias);
  ++interfaceCount;
  return true;
}

bool CInterfaceTable::MakeRoomForRows(uint32_t rows) {
  const size_t needed = kRowsOffset + size_t(rows) * sizeof(MIB_IFROW);
  if (needed > kMaxTableBytes) return false;
  if (needed > capacity) {
    std::unique_ptr<DWORD[]> grown;
    ULONG grownCapacity = 0;
    if (!Allocate(grown, grownCapacity, ULONG(needed + kSpareRows * sizeof(MIB_IFROW)))) return false;
    memcpy(grown.get(), storage.get(), capacity);
    storage = std::move(grown);
    capacity = grownCapacity;
  }
  if (rows > identityCapacity) {
    std::unique_ptr<RowIdentity[]> grown;
    uint32_t grownCapacity = 0;
    if (!AllocateRows(grown, grownCapacity, rows + kSpareRows)) return false;
    memcpy(grown.get(), identities.get(), sizeof(RowIdentity) * interfaceCount);
    identities = std::move(grown);
    identityCapacity = grownCapacity;
  }
  return true;
}

// Each row takes its interface's LUID, alias and kind from the 64-bit table read now, by index.
void CInterfaceTable::AttachIdentities() {
  for (uint32_t i = 0; i < interfaceCount; ++i) identities[i] = RowIdentity{0, false, false, true, {}};
  uint32_t held = 0;
  if (!UsesWideTable() || !ReadWideTable(true, held)) return;
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    for (uint32_t w = 0; w < held; ++w) {
      const InterfaceFacts& fresh = wideRows[w];
      if (fresh.index != Table()->table[i].dwIndex || fresh.luid == 0) continue;
      RowIdentity& identity = identities[i];
      identity = RowIdentity{fresh.luid, fresh.filter, fresh.hardware, true, {}};
      memcpy(identity.alias, wideAliases[w], sizeof identity.alias);
      break;
    }
  }
}

bool CInterfaceTable::ReadWideTable(bool atEvent, uint32_t& held) {
  held = 0;
  uint32_t listed = 0;
  if (!wide->ReadTable(wideRows.get(), atEvent ? wideAliases.get() : nullptr, wideCapacity, listed))
    return false;
  if (atEvent && listed > wideCapacity) {
    if (listed > kMaxWideRows || !MakeWideRoom(listed + kSpareWideRows)) return false;
    if (!wide->ReadTable(wideRows.get(), wideAliases.get(), wideCapacity, listed)) return false;
  }
  held = listed < wideCapacity ? listed : wideCapacity;
  return true;
}

bool CInterfaceTable::MakeWideRoom(uint32_t rows) {
  uint32_t aliasCapacity = 0;
  if (AllocateRows(wideRows, wideCapacity, rows) && AllocateRows(wideAliases, aliasCapacity, rows))
    return true;
  wideRows.reset();
  wideAliases.reset();
  wideCapacity = 0;
  return false;
}

const InterfaceFacts* CInterfaceTable::WideRowOf(uint64_t luid, uint32_t held) const {
  for (uint32_t w = 0; w < held; ++w)
    if (wideRows[w].luid == luid) return &wideRows[w];
  return nullptr;
}

// Adapters come back from sleep, docking or a reconnect under a new index but their old description.
bool CInterfaceTable::FindAgain(int32_t row, GetIfTableFn getIfTable) {
  MIB_IFROW& stored = *Row(row);
  if (getIfTable == nullptr || stored.bDescr[0] == 0) return false;
  const DWORD now = tickCount();
  if (searched && now - lastSearchAt < kSearchIntervalMs) return false;
  searched = true;
  lastSearchAt = now;
  if (!ReadScratch(getIfTable)) return false;
  const MIB_IFROW* fresh = FreshRowOf(row);
  // Still listed under its own index: the failure was a passing one.
  if (fresh == nullptr || fresh->dwIndex == stored.dwIndex) return false;
  stored.dwIndex = fresh->dwIndex;
  stored.dwOperStatus = fresh->dwOperStatus;
  return true;
}

// Its own index if the interface still has it; else the first row of the same description whose
// index no other row holds. Adapters come back from sleep, docking or a reconnect under a new index
// but their old description.
const MIB_IFROW* CInterfaceTable::FreshRowOf(int32_t row) const {
  const MIB_IFROW& stored = *Row(row);
  const MIB_IFTABLE& fresh = *reinterpret_cast<const MIB_IFTABLE*>(scratch.get());
  const size_t rowsHeld = (scratchCapacity - kRowsOffset) / sizeof(MIB_IFROW);
  const size_t count = fresh.dwNumEntries < rowsHeld ? fresh.dwNumEntries : rowsHeld;
  const MIB_IFROW* found = nullptr;
  for (size_t i = 0; i < count; ++i) {
    const MIB_IFROW& candidate = fresh.table[i];
    if (stored.bDescr[0] == 0 || !SameDescription(candidate, stored) ||
        IndexOfAnotherRow(row, candidate.dwIndex))
      continue;
    if (candidate.dwIndex == stored.dwIndex) return &candidate;
    if (found == nullptr) found = &candidate;
  }
  return found;
}

bool CInterfaceTable::ReadScratch(GetIfTableFn getIfTable) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    ULONG size = scratchCapacity;
    const DWORD result = getIfTable(reinterpret_cast<MIB_IFTABLE*>(scratch.get()), &size, FALSE);
    if (result == NO_ERROR) return scratch != nullptr && scratchCapacity >= kRowsOffset;
    if (result != ERROR_INSUFFICIENT_BUFFER || size <= scratchCapacity || size > kMaxTableBytes) return false;
    if (!Allocate(scratch, scratchCapacity, size + kSpareRows * sizeof(MIB_IFROW))) return false;
  }
  return false;
}

bool CInterfaceTable::IndexOfAnotherRow(int32_t row, DWORD index) const {
  for (uint32_t i = 0; i < interfaceCount; ++i)
    if (int32_t(i) != row && Table()->table[i].dwIndex == index) return true;
  return false;
}
