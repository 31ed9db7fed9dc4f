// Reading the whole interface table, whatever its size, and one row's counters per call.
#include "sampling/interface_table_win.h"

#include <cstring>
#include <new>

namespace {

// Interfaces can appear between the size query and the read; a few retries catch up with them.
constexpr int kReadAttempts = 4;
constexpr ULONG kSpareRows = 4;
// Far beyond any real machine; a larger demand is a broken library, not a table.
constexpr ULONG kMaxTableBytes = 16u << 20;
constexpr size_t kRowsOffset = offsetof(MIB_IFTABLE, table);
// A gone interface is looked for again at most this often.
constexpr DWORD kSearchIntervalMs = 2000;

bool Allocate(std::unique_ptr<DWORD[]>& buffer, ULONG& capacity, ULONG byteCount) {
  buffer.reset(new (std::nothrow) DWORD[(byteCount + sizeof(DWORD) - 1) / sizeof(DWORD)]());
  capacity = buffer != nullptr ? byteCount : 0;
  return buffer != nullptr;
}

size_t DescriptionLength(const MIB_IFROW& row) {
  size_t length = row.dwDescrLen < MAXLEN_IFDESCR - 1 ? row.dwDescrLen : MAXLEN_IFDESCR - 1;
  while (length > 0 && row.bDescr[length - 1] == 0) --length;
  return length;
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
  filterRows.reset();
  scratch.reset();
  scratchCapacity = 0;
  searched = false;
}

bool CInterfaceTable::AcceptRows() {
  if (storage == nullptr || capacity < kRowsOffset) return false;
  // A count that claims more rows than the buffer holds is cut to what is really there.
  const size_t rowsHeld = (capacity - kRowsOffset) / sizeof(MIB_IFROW);
  const size_t claimed = Table()->dwNumEntries;
  interfaceCount = uint32_t(claimed < rowsHeld ? claimed : rowsHeld);
  if (interfaceCount > uint32_t(INT32_MAX)) interfaceCount = uint32_t(INT32_MAX);
  filterRows.reset(new (std::nothrow) bool[interfaceCount]());
  if (filterRows == nullptr) interfaceCount = 0;
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    MIB_IFROW& row = Table()->table[i];
    const DWORD length = row.dwDescrLen < MAXLEN_IFDESCR - 1 ? row.dwDescrLen : MAXLEN_IFDESCR - 1;
    row.bDescr[length] = 0;
  }
  MarkFilterRows();
  // Without this room a gone interface is still looked for; the room is then made on the spot.
  Allocate(scratch, scratchCapacity, capacity);
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

uint32_t CInterfaceTable::OperStatus(int32_t row) const {
  const MIB_IFROW* tableRow = Row(row);
  return tableRow != nullptr ? tableRow->dwOperStatus : 0;
}

void CInterfaceTable::MarkFilterRows() {
  if (wide == nullptr) return;
  for (const uint32_t index : wide->FilterIndexes())
    for (uint32_t i = 0; i < interfaceCount; ++i)
      if (Table()->table[i].dwIndex == index) filterRows[i] = true;
}

uint32_t CInterfaceTable::ReadFacts(GetIfTableFn getIfTable, InterfaceFacts* rows, uint32_t count) {
  if (rows == nullptr || getIfTable == nullptr || !ReadScratch(getIfTable)) return 0;
  count = count < interfaceCount ? count : interfaceCount;
  for (uint32_t i = 0; i < count; ++i) {
    const MIB_IFROW& stored = Table()->table[i];
    const MIB_IFROW* fresh = FreshRowOf(int32_t(i));
    const MIB_IFROW& now = fresh != nullptr ? *fresh : stored;
    rows[i] = InterfaceFacts{stored.dwType, now.dwOperStatus, now.dwInOctets, now.dwOutOctets, filterRows[i]};
  }
  return count;
}

CounterReading CInterfaceTable::ReadCounters(GetIfEntryFn getIfEntry, int32_t row, GetIfTableFn getIfTable) {
  CounterReading reading;
  reading.ok = false;
  reading.epoch = epoch;
  reading.readAtMs = tickCount();
  if (Row(row) == nullptr) return reading;
  reading.ok = ReadEntry(getIfEntry, row, reading) ||
               (FindAgain(row, getIfTable) && ReadEntry(getIfEntry, row, reading));
  reading.interfaceIndex = Row(row)->dwIndex;
  return reading;
}

// A failing call may leave its record half written, and an index may come to name another
// interface, so only a successful reading of the row's own interface counts.
bool CInterfaceTable::ReadEntry(GetIfEntryFn getIfEntry, int32_t row, CounterReading& reading) const {
  const MIB_IFROW& stored = *Row(row);
  WideRowCounters counters;
  if (wide != nullptr && wide->Present()) {
    if (!wide->Read(stored.dwIndex, counters)) return false;
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

void CInterfaceTable::FindAllAgain(GetIfTableFn getIfTable) {
  ++epoch;
  if (getIfTable == nullptr || !ReadScratch(getIfTable)) return;
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    MIB_IFROW& stored = Table()->table[i];
    if (const MIB_IFROW* fresh = FreshRowOf(int32_t(i))) {
      stored.dwIndex = fresh->dwIndex;
      stored.dwOperStatus = fresh->dwOperStatus;
    }
  }
  searched = false;
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
