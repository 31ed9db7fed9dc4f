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
// The selected row is read every second; a longer gap means it was not watched meanwhile.
constexpr DWORD kRecentReadingMs = 3000;

bool Allocate(std::unique_ptr<DWORD[]>& buffer, ULONG& capacity, ULONG byteCount) {
  buffer.reset(new (std::nothrow) DWORD[(byteCount + sizeof(DWORD) - 1) / sizeof(DWORD)]());
  capacity = buffer != nullptr ? byteCount : 0;
  return buffer != nullptr;
}

// Counters below their last reading wrapped past 2^32, or started again: a reset, or a gone interface
// that the platform still answers for with zeroed counters. Both below it at once started again. So
// did one that fell by less than half the range when the row was read a moment ago, which no link
// can make up by wrapping in that time. A row not read for a while (an interface watched again)
// counts a single fallen counter modulo 2^32, as everything counted meanwhile. A link that goes down
// or up keeps counting.
bool StartedAgain(DWORD lastSent, DWORD lastReceived, bool readRecently, const MIB_IFROW& reading) {
  const bool sentFell = reading.dwOutOctets < lastSent, receivedFell = reading.dwInOctets < lastReceived;
  const bool fellALittle =
      int32_t(reading.dwOutOctets - lastSent) < 0 || int32_t(reading.dwInOctets - lastReceived) < 0;
  return (sentFell && receivedFell) || (readRecently && fellALittle);
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
  readings.reset();
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
  readings.reset(new (std::nothrow) RowReading[interfaceCount]());
  if (readings == nullptr) interfaceCount = 0;
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    MIB_IFROW& row = Table()->table[i];
    const DWORD length = row.dwDescrLen < MAXLEN_IFDESCR - 1 ? row.dwDescrLen : MAXLEN_IFDESCR - 1;
    row.bDescr[length] = 0;
    readings[i] = RowReading{row.dwOutOctets, row.dwInOctets, 0, false, 0};
  }
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

InterfaceFacts CInterfaceTable::Facts(int32_t row) const {
  const MIB_IFROW* tableRow = Row(row);
  if (tableRow == nullptr) return InterfaceFacts{};
  return InterfaceFacts{tableRow->dwType, tableRow->dwOperStatus, tableRow->dwInOctets,
                        tableRow->dwOutOctets};
}

CounterPair CInterfaceTable::ReadCounters(GetIfEntryFn getIfEntry, int32_t row, GetIfTableFn getIfTable) {
  if (Row(row) == nullptr) return CounterPair{currentRow.dwOutOctets, currentRow.dwInOctets};
  if (getIfEntry != nullptr) {
    MIB_IFROW reading;
    if (ReadEntry(getIfEntry, row, reading) ||
        (FindAgain(row, getIfTable) && ReadEntry(getIfEntry, row, reading)))
      Accept(row, reading);
  }
  const RowReading& last = readings[row];
  return CounterPair{last.sent, last.received, last.epoch};
}

// A failing call may leave its record half written, and an index may come to name another
// interface, so only a successful reading of the row's own interface counts.
bool CInterfaceTable::ReadEntry(GetIfEntryFn getIfEntry, int32_t row, MIB_IFROW& reading) const {
  const MIB_IFROW& stored = *Row(row);
  reading = MIB_IFROW{};
  reading.dwIndex = stored.dwIndex;
  if (getIfEntry(&reading) != NO_ERROR) return false;
  return DescriptionLength(reading) == 0 || SameDescription(reading, stored);
}

void CInterfaceTable::Accept(int32_t row, const MIB_IFROW& reading) {
  RowReading& last = readings[row];
  const DWORD now = tickCount();
  const bool readRecently = last.everRead && now - last.readAt < kRecentReadingMs;
  if (StartedAgain(last.sent, last.received, readRecently, reading)) ++last.epoch;
  last.sent = reading.dwOutOctets;
  last.received = reading.dwInOctets;
  last.readAt = now;
  last.everRead = true;
  currentRow = reading;
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

  const MIB_IFTABLE& fresh = *reinterpret_cast<const MIB_IFTABLE*>(scratch.get());
  const size_t rowsHeld = (scratchCapacity - kRowsOffset) / sizeof(MIB_IFROW);
  const size_t count = fresh.dwNumEntries < rowsHeld ? fresh.dwNumEntries : rowsHeld;
  for (size_t i = 0; i < count; ++i) {
    const MIB_IFROW& candidate = fresh.table[i];
    if (!SameDescription(candidate, stored) || IndexOfAnotherRow(row, candidate.dwIndex)) continue;
    // Still listed under its own index: the failure was a passing one.
    if (candidate.dwIndex == stored.dwIndex) return false;
    stored.dwIndex = candidate.dwIndex;
    stored.dwOperStatus = candidate.dwOperStatus;
    ++readings[row].epoch;
    return true;
  }
  return false;
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
