// Reading the whole interface table, whatever its size, and one row's counters per call.
#include "sampling/interface_table_win.h"

#include <new>

namespace {

// Interfaces can appear between the size query and the read; a few retries catch up with them.
constexpr int kReadAttempts = 4;
constexpr ULONG kSpareRows = 4;
// Far beyond any real machine; a larger demand is a broken library, not a table.
constexpr ULONG kMaxTableBytes = 16u << 20;
constexpr size_t kRowsOffset = offsetof(MIB_IFTABLE, table);

}  // namespace

bool CInterfaceTable::Read(GetIfTableFn getIfTable) {
  Clear();
  if (getIfTable == nullptr) return false;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    ULONG size = capacity;
    const DWORD result = getIfTable(Table(), &size, FALSE);
    if (result == NO_ERROR) return AcceptRows();
    if (result != ERROR_INSUFFICIENT_BUFFER || size <= capacity || size > kMaxTableBytes) return false;
    if (!Allocate(size + kSpareRows * sizeof(MIB_IFROW))) return false;
  }
  return false;
}

void CInterfaceTable::Clear() {
  storage.reset();
  capacity = 0;
  interfaceCount = 0;
}

bool CInterfaceTable::Allocate(ULONG byteCount) {
  storage.reset(new (std::nothrow) DWORD[(byteCount + sizeof(DWORD) - 1) / sizeof(DWORD)]());
  capacity = storage != nullptr ? byteCount : 0;
  return storage != nullptr;
}

bool CInterfaceTable::AcceptRows() {
  if (storage == nullptr || capacity < kRowsOffset) return false;
  // A count that claims more rows than the buffer holds is cut to what is really there.
  const size_t rowsHeld = (capacity - kRowsOffset) / sizeof(MIB_IFROW);
  const size_t claimed = Table()->dwNumEntries;
  interfaceCount = uint32_t(claimed < rowsHeld ? claimed : rowsHeld);
  if (interfaceCount > uint32_t(INT32_MAX)) interfaceCount = uint32_t(INT32_MAX);
  for (uint32_t i = 0; i < interfaceCount; ++i) {
    MIB_IFROW& row = Table()->table[i];
    const DWORD length = row.dwDescrLen < MAXLEN_IFDESCR - 1 ? row.dwDescrLen : MAXLEN_IFDESCR - 1;
    row.bDescr[length] = 0;
  }
  return interfaceCount > 0;
}

const MIB_IFROW* CInterfaceTable::Row(int32_t row) const {
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

CounterPair CInterfaceTable::ReadCounters(GetIfEntryFn getIfEntry, int32_t row) {
  const MIB_IFROW* tableRow = Row(row);
  if (tableRow != nullptr && getIfEntry != nullptr) {
    // A failing call may leave its record half written, so only a successful reading is kept.
    MIB_IFROW reading = {};
    reading.dwIndex = tableRow->dwIndex;
    if (getIfEntry(&reading) == NO_ERROR) currentRow = reading;
  }
  return CounterPair{currentRow.dwOutOctets, currentRow.dwInOctets};
}
