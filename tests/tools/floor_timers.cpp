// The floor the meter's running cost is measured against: a captionless 180 x 120 dialog with the
// meter's two timers (200 ms and 1000 ms) whose ticks do nothing, or, given an interface row, only
// read that row's counters on every tick as the meter reads them: with GetIfEntry2 where the IP
// helper library has the 64-bit entry points (GetIfEntry2, GetIfTable2 and FreeMibTable, as the
// meter asks), else with GetIfEntry. It prints which one it reads.
//
// Usage: floor_timers.exe [x y [row]]; runs until it is ended.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06000000
#include <winsock2.h>
#include <ws2tcpip.h>
// iphlpapi.h needs the types of the headers above.
#include <iphlpapi.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kGraphTimerId = 10;
constexpr UINT_PTR kStatisticsTimerId = 11;
constexpr int kWidth = 180;
constexpr int kHeight = 120;

using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW);
using GetIfEntry2Fn = NETIO_STATUS(WINAPI*)(PMIB_IF_ROW2);
using GetIfTableFn = DWORD(WINAPI*)(PMIB_IFTABLE, PULONG, BOOL);

int startX = 0;
int startY = 0;
GetIfEntryFn getIfEntry = nullptr;
GetIfEntry2Fn getIfEntry2 = nullptr;
MIB_IFROW counterRow = {};
MIB_IF_ROW2 wideRow = {};

// The 64-bit entry point when the library has all three the meter asks for.
void ResolveWide(HMODULE library) {
  const FARPROC entry2 = GetProcAddress(library, "GetIfEntry2");
  if (entry2 != nullptr && GetProcAddress(library, "GetIfTable2") != nullptr &&
      GetProcAddress(library, "FreeMibTable") != nullptr)
    getIfEntry2 = reinterpret_cast<GetIfEntry2Fn>(reinterpret_cast<void*>(entry2));
}

// The meter clears the whole row before each call; so does the floor.
void ReadCounters() {
  if (getIfEntry2 != nullptr) {
    const NET_IFINDEX index = counterRow.dwIndex;
    ZeroMemory(&wideRow, sizeof wideRow);
    wideRow.InterfaceIndex = index;
    getIfEntry2(&wideRow);
  } else if (getIfEntry != nullptr) {
    getIfEntry(&counterRow);
  }
}

// The row's interface index, from the same table with room for ten rows that the meter reads.
bool FindCounterRow(int row) {
  const HMODULE library = LoadLibraryA("iphlpapi.dll");
  if (library == nullptr) return false;
  const auto getIfTable = reinterpret_cast<GetIfTableFn>(GetProcAddress(library, "GetIfTable"));
  getIfEntry = reinterpret_cast<GetIfEntryFn>(GetProcAddress(library, "GetIfEntry"));
  struct {
    MIB_IFTABLE table;
    MIB_IFROW more[9];
  } rows = {};
  ULONG size = sizeof rows;
  if (getIfTable == nullptr || getIfEntry == nullptr || getIfTable(&rows.table, &size, FALSE) != NO_ERROR ||
      row < 0 || DWORD(row) >= rows.table.dwNumEntries || row >= 10)
    return false;
  counterRow.dwIndex = rows.table.table[row].dwIndex;
  ResolveWide(library);
  printf("counters=%s\n", getIfEntry2 != nullptr ? "GetIfEntry2" : "GetIfEntry");
  fflush(stdout);
  return true;
}

INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
      SetWindowPos(window, HWND_TOPMOST, startX, startY, kWidth, kHeight, SWP_SHOWWINDOW);
      SetTimer(window, kGraphTimerId, 200, nullptr);
      SetTimer(window, kStatisticsTimerId, 1000, nullptr);
      return FALSE;
    case WM_TIMER:
      ReadCounters();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(window, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

// An in-memory template like the meter's: a bordered pop-up with the dialog font and no controls;
// templates start on a DWORD boundary.
struct alignas(4) FloorTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD windowClass = 0;
  WORD title = 0;
  WORD pointSize = 8;
  WCHAR font[14] = L"MS Sans Serif";
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    startX = atoi(argv[1]);
    startY = atoi(argv[2]);
  }
  if (argc > 3 && !FindCounterRow(atoi(argv[3]))) return 1;
  static FloorTemplate floorTemplate;
  memset(&floorTemplate.header, 0, sizeof floorTemplate.header);
  floorTemplate.header.style = DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_BORDER;
  floorTemplate.header.cx = 106;
  floorTemplate.header.cy = 64;
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &floorTemplate.header, nullptr, FloorProc, 0);
  return 0;
}
