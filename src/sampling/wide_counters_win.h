// The IP helper library's newer entry points, where the platform has them: the 64-bit counters, the
// table that tells each interface's LUID, alias and kind, the default route, and notices of
// interfaces that come and go. Their rows stay inside this file.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sampling/interface_choice.h"

struct WideRowCounters {
  uint64_t inOctets;
  uint64_t outOctets;
  uint64_t linkBitsPerSecond;  // the faster of the two directions; 0 when unknown
  uint32_t interfaceIndex;     // the index the interface holds now
};

// An adapter's friendly name ("Wi-Fi", "Ethernet 2"), cut to this room.
constexpr size_t kAliasSize = 64;
using InterfaceAlias = char[kAliasSize];

// Where a notice of a changed interface goes: one message waits in the window's queue at most.
struct InterfaceChangeTarget {
  HWND window = nullptr;
  UINT message = 0;
  std::atomic<bool> posted{false};
};

class CWideCounters {
 public:
  CWideCounters() = default;
  CWideCounters(const CWideCounters&) = delete;
  CWideCounters& operator=(const CWideCounters&) = delete;
  ~CWideCounters() { Clear(); }

  // Resolves GetIfEntry2, GetIfTable2 and FreeMibTable from the library, all three or none; the
  // notices and the default route where the library has them.
  bool Resolve(HMODULE library);
  // Stops the notices first: nothing of the library is called after.
  void Clear();
  bool Present() const { return getIfEntry2 != nullptr; }

  // The counters of the interface with this LUID, wherever its index now stands; false when the
  // platform lists no such interface.
  bool Read(uint64_t luid, WideRowCounters& out) const;
  // Every row of the table now, in its order: the first `capacity` into rows (and their aliases,
  // when given). The number of rows the platform listed, which may be more; false when the table
  // cannot be read.
  bool ReadTable(InterfaceFacts* rows, InterfaceAlias* aliases, uint32_t capacity, uint32_t& listed) const;
  // The index of the interface the default route goes through, IPv4 first; 0 when none.
  uint32_t DefaultRouteIndex() const;

  // From now on, an interface that comes, goes or changes posts `message` to `window`, from
  // another thread; false where the library sends no such notices (Wine's answers success with no
  // handle).
  bool StartNotices(HWND window, UINT message);
  // The message was taken: the next change posts another.
  void NoticeTaken() { noticeTarget.posted = false; }
  void StopNotices();

 private:
  using Function = FARPROC;
  Function getIfEntry2 = nullptr;
  Function getIfTable2 = nullptr;
  Function freeMibTable = nullptr;
  Function notifyIpInterfaceChange = nullptr;
  Function cancelMibChangeNotify2 = nullptr;
  Function getBestInterfaceEx = nullptr;
  HANDLE noticeHandle = nullptr;
  InterfaceChangeTarget noticeTarget;
};
