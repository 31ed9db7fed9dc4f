// Looks at and pokes the running meter's windows from outside, for the end-to-end script.
//
// Usage: qdriver.exe <command> [arguments]; prints key=value lines, exits 0 on success, 1 when the
// thing asked for is not there (or not in time), 2 on a usage error.
//   main [timeout-ms]        the shown main window: place, size, visible, topmost, tool window
//   gone [timeout-ms]        waits until the program has no main window any more
//   command <id>             posts WM_COMMAND <id> (a popup-menu command) to the main window
//   tray-callback <lparam>   posts the tray callback message (1426) with that mouse message
//   menu [timeout-ms]        the program's open popup menu: its screen rectangle
//   no-menu [timeout-ms]     waits until no popup menu of the program is open
//   msgbox [timeout-ms]      the program's message box: its text and the OK button's rectangle
//   msgbox-ok                presses OK on that box
//   no-msgbox                succeeds when the program shows no message box
//   tray [timeout-ms]        the shell's tray window and the visible icon windows in it
//   tooltips                 the visible tooltip windows with their texts
//   if-list                  the interface table as the IP helper library gives it
//   if-row <description>     the row of the interface with that description
//   dialog <caption> [ms]    the program's dialog of that caption and the state of each control in it
//   no-dialog <caption> [ms] waits until the program shows no dialog of that caption
//   droplist [timeout-ms]    the open list of a combo box: its rectangle, selection and item rectangles
//   hold                     stays running, so that the prefix's shell and tray outlive the program's runs
#include <windows.h>

// The headers below need the types of windows.h.
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kProgramFile = "quintrel.exe";
constexpr const char* kAppTitle = "Quintrel";
constexpr UINT kTrayCallbackMessage = WM_USER + 402;
constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;
// Named only from Vista on; the tools build against older headers.
constexpr DWORD kQueryLimitedInformation = 0x1000;

using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);

bool EndsWithNoCase(const char* text, const char* tail) {
  const size_t textLength = strlen(text), tailLength = strlen(tail);
  return textLength >= tailLength && _stricmp(text + textLength - tailLength, tail) == 0;
}

bool IsProgramProcess(DWORD processId) {
  static const auto queryImageName = reinterpret_cast<QueryImageNameFn>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA"));
  if (queryImageName == nullptr) return false;
  const HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, processId);
  if (process == nullptr) return false;
  char image[MAX_PATH] = {};
  DWORD size = sizeof image;
  const bool found = queryImageName(process, 0, image, &size) != FALSE;
  CloseHandle(process);
  return found && EndsWithNoCase(image, kProgramFile);
}

bool IsProgramWindow(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId != 0 && IsProgramProcess(processId);
}

bool HasClass(HWND window, const char* className) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return strcmp(name, className) == 0;
}

bool HasTitle(HWND window, const char* title) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  return strcmp(text, title) == 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, LPARAM(&windows));
  return windows;
}

// The main window is the program's untitled dialog; its message boxes carry the program's name.
HWND FindMainWindow() {
  for (HWND window : TopLevelWindows())
    if (HasClass(window, "#32770") && HasTitle(window, "") && IsProgramWindow(window)) return window;
  return nullptr;
}

HWND FindMessageBox() {
  for (HWND window : TopLevelWindows())
    if (HasClass(window, "#32770") && HasTitle(window, kAppTitle) && IsWindowVisible(window) &&
        IsProgramWindow(window))
      return window;
  return nullptr;
}

HWND FindDialog(const char* caption) {
  for (HWND window : TopLevelWindows())
    if (HasClass(window, "#32770") && HasTitle(window, caption) && IsWindowVisible(window) &&
        IsProgramWindow(window))
      return window;
  return nullptr;
}

HWND FindDropList() {
  for (HWND window : TopLevelWindows())
    if (HasClass(window, "ComboLBox") && IsWindowVisible(window) && IsProgramWindow(window)) return window;
  return nullptr;
}

HWND FindPopupMenu() {
  for (HWND window : TopLevelWindows())
    if (HasClass(window, "#32768") && IsWindowVisible(window) && IsProgramWindow(window)) return window;
  return nullptr;
}

template <typename Probe>
HWND WaitForWindow(Probe probe, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = probe()) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

template <typename Probe>
bool WaitForAbsence(Probe probe, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (probe() != nullptr) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

// One key=value a line, so that a script can pick out each.
void PrintRect(const char* prefix, const RECT& r) {
  printf("%sx=%ld\n%sy=%ld\n%sw=%ld\n%sh=%ld\n", prefix, r.left, prefix, r.top, prefix, r.right - r.left,
         prefix, r.bottom - r.top);
}

// Another process's text comes through a message the system carries across.
void ReadText(HWND window, char* text, size_t size) {
  text[0] = '\0';
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, WPARAM(size), LPARAM(text), SMTO_ABORTIFHUNG, 2000, &copied);
  text[size - 1] = '\0';
}

HWND FindShownMainWindow() {
  const HWND window = FindMainWindow();
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Waits for the window to be shown: while the program starts up it exists hidden at (0, 0).
int ShowMainWindow(DWORD timeoutMs) {
  const HWND window = WaitForWindow(FindShownMainWindow, timeoutMs);
  if (window == nullptr) {
    printf("main=none\n");
    return 1;
  }
  RECT area = {};
  GetWindowRect(window, &area);
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  printf("main=%p\n", static_cast<void*>(window));
  PrintRect("", area);
  printf("visible=%d\n", IsWindowVisible(window) ? 1 : 0);
  printf("topmost=%d\n", (exStyle & WS_EX_TOPMOST) ? 1 : 0);
  printf("toolwindow=%d\n", (exStyle & WS_EX_TOOLWINDOW) ? 1 : 0);
  printf("appwindow=%d\n", (exStyle & WS_EX_APPWINDOW) ? 1 : 0);
  return 0;
}

int PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = FindMainWindow();
  if (window == nullptr) {
    printf("main=none\n");
    return 1;
  }
  return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
}

int ShowMenu(DWORD timeoutMs) {
  const HWND menu = WaitForWindow(FindPopupMenu, timeoutMs);
  if (menu == nullptr) {
    printf("menu=none\n");
    return 1;
  }
  RECT area = {};
  GetWindowRect(menu, &area);
  printf("menu=%p\n", static_cast<void*>(menu));
  PrintRect("", area);
  return 0;
}

int ShowMessageBox(DWORD timeoutMs) {
  const HWND box = WaitForWindow(FindMessageBox, timeoutMs);
  if (box == nullptr) {
    printf("msgbox=none\n");
    return 1;
  }
  char text[512];
  ReadText(GetDlgItem(box, 0xFFFF), text, sizeof text);
  printf("msgbox=%p\n", static_cast<void*>(box));
  printf("text=%s\n", text);
  RECT area = {};
  GetWindowRect(box, &area);
  PrintRect("box_", area);
  RECT ok = {};
  if (HWND button = GetDlgItem(box, IDOK)) {
    GetWindowRect(button, &ok);
    PrintRect("ok_", ok);
  }
  return 0;
}

int PressMessageBoxOk() {
  const HWND box = FindMessageBox();
  if (box == nullptr) {
    printf("msgbox=none\n");
    return 1;
  }
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(box, IDOK)));
  return 0;
}

// With no system tray of the desktop's own, Wine shows its icons in a standalone window.
HWND FindTrayWindow() {
  return FindWindowA("__winex11_standalone_tray", nullptr);
}

BOOL CALLBACK CollectVisibleTrayIcon(HWND child, LPARAM list) {
  if (HasClass(child, "__winex11_tray_icon") && IsWindowVisible(child))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> VisibleTrayIcons(HWND tray) {
  std::vector<HWND> icons;
  EnumChildWindows(tray, CollectVisibleTrayIcon, LPARAM(&icons));
  return icons;
}

int ShowTray(DWORD timeoutMs) {
  const HWND tray = WaitForWindow(FindTrayWindow, timeoutMs);
  if (tray == nullptr) {
    printf("tray=none\n");
    return 1;
  }
  RECT area = {};
  GetWindowRect(tray, &area);
  printf("tray=%p\n", static_cast<void*>(tray));
  printf("tray_visible=%d\n", IsWindowVisible(tray) ? 1 : 0);
  PrintRect("tray_", area);
  const std::vector<HWND> icons = VisibleTrayIcons(tray);
  printf("icons=%u\n", unsigned(icons.size()));
  for (size_t i = 0; i < icons.size(); ++i) {
    RECT icon = {};
    GetWindowRect(icons[i], &icon);
    char prefix[16];
    snprintf(prefix, sizeof prefix, "icon%u_", unsigned(i));
    PrintRect(prefix, icon);
  }
  return 0;
}

int ShowTooltips() {
  int count = 0;
  for (HWND window : TopLevelWindows()) {
    if (!HasClass(window, "tooltips_class32") || !IsWindowVisible(window)) continue;
    char text[256];
    ReadText(window, text, sizeof text);
    RECT area = {};
    GetWindowRect(window, &area);
    char prefix[16];
    snprintf(prefix, sizeof prefix, "tooltip%d_", count);
    PrintRect(prefix, area);
    printf("%stext=%s\n", prefix, text);
    ++count;
  }
  printf("tooltips=%d\n", count);
  return 0;
}

// Memory in the process that owns a window, for the control messages that carry a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ != nullptr)
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return address_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    return WriteProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return ReadProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// Sends a message whose lParam points at a RECT (seeded with `seed`) and gives the rectangle back
// in screen coordinates.
bool QueryRemoteRect(HWND control, UINT message, WPARAM wParam, const RECT& seed, RECT& out) {
  RemoteBuffer buffer(control, sizeof(RECT));
  if (!buffer.ok() || !buffer.Write(0, &seed, sizeof seed)) return false;
  if (!SendMessageA(control, message, wParam, LPARAM(buffer.at(0)))) return false;
  if (!buffer.Read(0, &out, sizeof out)) return false;
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&out), 2);
  return true;
}

// TBM_GETTHUMBRECT returns nothing, so only the copy is checked.
bool TrackbarThumbRect(HWND trackbar, RECT& out) {
  RemoteBuffer buffer(trackbar, sizeof(RECT));
  const RECT empty = {};
  if (!buffer.ok() || !buffer.Write(0, &empty, sizeof empty)) return false;
  SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, LPARAM(buffer.at(0)));
  if (!buffer.Read(0, &out, sizeof out)) return false;
  MapWindowPoints(trackbar, nullptr, reinterpret_cast<POINT*>(&out), 2);
  return true;
}

void ListViewItemText(HWND list, int item, char* text, size_t size, int subItem = 0) {
  text[0] = '\0';
  RemoteBuffer buffer(list, sizeof(LVITEMA) + size);
  if (!buffer.ok()) return;
  LVITEMA request = {};
  request.iSubItem = subItem;
  request.pszText = buffer.at(sizeof request);
  request.cchTextMax = int(size);
  if (!buffer.Write(0, &request, sizeof request)) return;
  SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(item), LPARAM(buffer.at(0)));
  buffer.Read(sizeof request, text, size);
  text[size - 1] = '\0';
}

// The value the program stored with the item (its lParam).
long ListViewItemData(HWND list, int item) {
  RemoteBuffer buffer(list, sizeof(LVITEMA));
  LVITEMA request = {};
  request.mask = LVIF_PARAM;
  request.iItem = item;
  if (!buffer.ok() || !buffer.Write(0, &request, sizeof request)) return 0;
  if (!SendMessageA(list, LVM_GETITEMA, 0, LPARAM(buffer.at(0))) || !buffer.Read(0, &request, sizeof request))
    return 0;
  return long(request.lParam);
}

void PrintTrackbar(const char* prefix, HWND control) {
  printf("%spos=%ld\n", prefix, long(SendMessageA(control, TBM_GETPOS, 0, 0)));
  printf("%smin=%ld\n", prefix, long(SendMessageA(control, TBM_GETRANGEMIN, 0, 0)));
  printf("%smax=%ld\n", prefix, long(SendMessageA(control, TBM_GETRANGEMAX, 0, 0)));
  RECT thumb = {};
  if (TrackbarThumbRect(control, thumb)) {
    char thumbPrefix[32];
    snprintf(thumbPrefix, sizeof thumbPrefix, "%sthumb_", prefix);
    PrintRect(thumbPrefix, thumb);
  }
}

// The system carries an item's text across processes, but only in the wide form gives it whole.
void PrintComboBox(const char* prefix, HWND control) {
  const long count = long(SendMessageA(control, CB_GETCOUNT, 0, 0));
  printf("%ssel=%ld\n", prefix, long(SendMessageA(control, CB_GETCURSEL, 0, 0)));
  printf("%scount=%ld\n", prefix, count);
  printf("%sdropped=%d\n", prefix, SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0) ? 1 : 0);
  for (long i = 0; i < count && i < 32; ++i) {
    wchar_t wide[256] = {};
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(control, CB_GETLBTEXTLEN, WPARAM(i), 0, SMTO_ABORTIFHUNG, 2000, &length) &&
        length < 256)
      SendMessageTimeoutW(control, CB_GETLBTEXT, WPARAM(i), LPARAM(wide), SMTO_ABORTIFHUNG, 2000, &length);
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    printf("%sitem%ld=%s\n", prefix, i, text);
  }
}

void PrintListView(const char* prefix, HWND control) {
  const long count = long(SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
  printf("%scount=%ld\n", prefix, count);
  printf("%ssel=%ld\n", prefix, long(SendMessageA(control, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
  for (long i = 0; i < count && i < 32; ++i) {
    char text[256];
    ListViewItemText(control, int(i), text, sizeof text);
    printf("%sitem%ld=%s\n", prefix, i, text);
    ListViewItemText(control, int(i), text, sizeof text, 1);
    printf("%sitem%ld_beside=%s\n", prefix, i, text);
    printf("%sitem%ld_data=%ld\n", prefix, i, ListViewItemData(control, int(i)));
    RECT seed = {};
    seed.left = LVIR_SELECTBOUNDS;
    RECT item = {};
    if (QueryRemoteRect(control, LVM_GETITEMRECT, WPARAM(i), seed, item)) {
      char itemPrefix[32];
      snprintf(itemPrefix, sizeof itemPrefix, "%sitem%ld_", prefix, i);
      PrintRect(itemPrefix, item);
    }
  }
}

// One control: "c<id>_" for a control with its own id, "s<n>_" for the n-th one without (id -1).
void PrintControl(HWND control, int& unnamed) {
  const int id = GetDlgCtrlID(control);
  char prefix[24];
  if (id == -1 || id == 0xFFFF)
    snprintf(prefix, sizeof prefix, "s%d_", unnamed++);
  else
    snprintf(prefix, sizeof prefix, "c%d_", id);
  char className[64] = {};
  GetClassNameA(control, className, sizeof className);
  // An icon's static holds the icon's resource id as its text.
  const bool isIcon =
      _stricmp(className, "Static") == 0 && (GetWindowLongPtrA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
  char text[256] = {};
  if (!isIcon) ReadText(control, text, sizeof text);
  RECT area = {};
  GetWindowRect(control, &area);
  printf("%sclass=%s\n%stext=%s\n", prefix, className, prefix, text);
  PrintRect(prefix, area);
  printf("%svisible=%d\n%senabled=%d\n", prefix, IsWindowVisible(control) ? 1 : 0, prefix,
         IsWindowEnabled(control) ? 1 : 0);
  if (isIcon) printf("%sicon=1\n", prefix);
  if (_stricmp(className, "Button") == 0)
    printf("%scheck=%ld\n", prefix, long(SendMessageA(control, BM_GETCHECK, 0, 0)));
  else if (_stricmp(className, TRACKBAR_CLASSA) == 0)
    PrintTrackbar(prefix, control);
  else if (_stricmp(className, "ComboBox") == 0)
    PrintComboBox(prefix, control);
  else if (_stricmp(className, WC_LISTVIEWA) == 0)
    PrintListView(prefix, control);
}

int ShowDialog(const char* caption, DWORD timeoutMs) {
  const HWND dialog = WaitForWindow([caption] { return FindDialog(caption); }, timeoutMs);
  if (dialog == nullptr) {
    printf("dialog=none\n");
    return 1;
  }
  RECT area = {};
  GetWindowRect(dialog, &area);
  printf("dialog=%p\n", static_cast<void*>(dialog));
  PrintRect("", area);
  const HWND focus = [dialog] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
  }();
  printf("focus=%d\n", focus != nullptr ? GetDlgCtrlID(focus) : 0);
  printf("foreground=%d\n", GetForegroundWindow() == dialog ? 1 : 0);
  int unnamed = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    PrintControl(child, unnamed);
  return 0;
}

int ShowDropList(DWORD timeoutMs) {
  const HWND list = WaitForWindow(FindDropList, timeoutMs);
  if (list == nullptr) {
    printf("droplist=none\n");
    return 1;
  }
  RECT area = {};
  GetWindowRect(list, &area);
  const long count = long(SendMessageA(list, LB_GETCOUNT, 0, 0));
  printf("droplist=%p\n", static_cast<void*>(list));
  PrintRect("", area);
  printf("count=%ld\nsel=%ld\ntop=%ld\n", count, long(SendMessageA(list, LB_GETCURSEL, 0, 0)),
         long(SendMessageA(list, LB_GETTOPINDEX, 0, 0)));
  for (long i = 0; i < count && i < 32; ++i) {
    RECT item = {};
    if (SendMessageA(list, LB_GETITEMRECT, WPARAM(i), LPARAM(&item)) == LB_ERR) continue;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    char prefix[24];
    snprintf(prefix, sizeof prefix, "item%ld_", i);
    PrintRect(prefix, item);
  }
  return 0;
}

using GetIfTableFn = DWORD(WINAPI*)(PMIB_IFTABLE, PULONG, BOOL);

// The same library call as the meter makes at its start, for the whole table.
int ListInterfaces(const char* wanted) {
  const HMODULE library = LoadLibraryA("iphlpapi.dll");
  if (library == nullptr) {
    printf("iphlpapi=unavailable\n");
    return 1;
  }
  const auto getIfTable = reinterpret_cast<GetIfTableFn>(GetProcAddress(library, "GetIfTable"));
  std::vector<DWORD> storage(1);
  DWORD result = ERROR_NOT_SUPPORTED;
  for (int attempt = 0; getIfTable != nullptr && attempt < 4; ++attempt) {
    ULONG size = ULONG(storage.size() * sizeof(DWORD));
    result = getIfTable(reinterpret_cast<MIB_IFTABLE*>(storage.data()), &size, FALSE);
    if (result != ERROR_INSUFFICIENT_BUFFER) break;
    storage.resize(size / sizeof(DWORD) + 1 + 4 * sizeof(MIB_IFROW) / sizeof(DWORD));
  }
  const MIB_IFTABLE& table = *reinterpret_cast<const MIB_IFTABLE*>(storage.data());
  int found = -1;
  if (result == NO_ERROR) {
    if (wanted == nullptr) printf("count=%lu\n", table.dwNumEntries);
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
      const MIB_IFROW& row = table.table[i];
      char description[MAXLEN_IFDESCR + 1] = {};
      memcpy(description, row.bDescr, row.dwDescrLen < MAXLEN_IFDESCR ? row.dwDescrLen : MAXLEN_IFDESCR);
      if (wanted == nullptr)
        printf("row%lu: index=%lu oper=%lu descr=%s\n", i, row.dwIndex, row.dwOperStatus, description);
      else if (found < 0 && strcmp(description, wanted) == 0)
        found = int(i);
    }
  }
  FreeLibrary(library);
  if (result != NO_ERROR) {
    printf("getiftable=%lu\n", result);
    return 1;
  }
  if (wanted == nullptr) return 0;
  printf("row=%d\n", found);
  return found >= 0 ? 0 : 1;
}

DWORD TimeoutArgument(int argc, char** argv) {
  return argc > 2 ? DWORD(strtoul(argv[2], nullptr, 10)) : kDefaultTimeoutMs;
}

int Usage() {
  fprintf(stderr,
          "usage: qdriver main|gone|command|tray-callback|menu|no-menu|msgbox|msgbox-ok|no-msgbox|"
          "tray|tooltips|if-list|if-row|dialog|no-dialog|droplist|hold ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Plain line ends for the shell script that reads the output.
  _setmode(_fileno(stdout), _O_BINARY);
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) return Usage();
  const char* command = argv[1];
  if (strcmp(command, "main") == 0) return ShowMainWindow(TimeoutArgument(argc, argv));
  if (strcmp(command, "gone") == 0)
    return WaitForAbsence(FindMainWindow, TimeoutArgument(argc, argv)) ? 0 : 1;
  if (strcmp(command, "command") == 0 && argc > 2)
    return PostToMainWindow(WM_COMMAND, WPARAM(strtoul(argv[2], nullptr, 10)), 0);
  if (strcmp(command, "tray-callback") == 0 && argc > 2)
    return PostToMainWindow(kTrayCallbackMessage, 0, LPARAM(strtol(argv[2], nullptr, 10)));
  if (strcmp(command, "menu") == 0) return ShowMenu(TimeoutArgument(argc, argv));
  if (strcmp(command, "no-menu") == 0)
    return WaitForAbsence(FindPopupMenu, TimeoutArgument(argc, argv)) ? 0 : 1;
  if (strcmp(command, "msgbox") == 0) return ShowMessageBox(TimeoutArgument(argc, argv));
  if (strcmp(command, "msgbox-ok") == 0) return PressMessageBoxOk();
  if (strcmp(command, "no-msgbox") == 0) return FindMessageBox() == nullptr ? 0 : 1;
  if (strcmp(command, "tray") == 0) return ShowTray(TimeoutArgument(argc, argv));
  if (strcmp(command, "tooltips") == 0) return ShowTooltips();
  if (strcmp(command, "if-list") == 0) return ListInterfaces(nullptr);
  if (strcmp(command, "if-row") == 0 && argc > 2) return ListInterfaces(argv[2]);
  if (strcmp(command, "dialog") == 0 && argc > 2) {
    const DWORD timeoutMs = argc > 3 ? DWORD(strtoul(argv[3], nullptr, 10)) : kDefaultTimeoutMs;
    return ShowDialog(argv[2], timeoutMs);
  }
  if (strcmp(command, "no-dialog") == 0 && argc > 2) {
    const DWORD timeoutMs = argc > 3 ? DWORD(strtoul(argv[3], nullptr, 10)) : kDefaultTimeoutMs;
    const char* caption = argv[2];
    return WaitForAbsence([caption] { return FindDialog(caption); }, timeoutMs) ? 0 : 1;
  }
  if (strcmp(command, "droplist") == 0) return ShowDropList(TimeoutArgument(argc, argv));
  if (strcmp(command, "hold") == 0) {
    Sleep(INFINITE);
    return 0;
  }
  return Usage();
}
