// The readouts on the taskbars and what moves them: the shell's broadcasts, its window events, and a
// look once a second for what sends neither (an auto-hiding taskbar under some shells, a full-screen
// program that made itself so after coming to the front).
#include "taskbar/taskbar_readout_win.h"

#include <cstdio>

#include "fw/dpi_win.h"

namespace {

constexpr char kListenerClass[] = "QuintrelReadoutListener";
constexpr UINT kCheckMessage = WM_APP + 71;
constexpr UINT_PTR kCheckTimerId = 1;
constexpr UINT kCheckPeriodMs = 1000;
constexpr UINT kCompositionChangedMessage = 0x031E;  // WM_DWMCOMPOSITIONCHANGED, Windows Vista and later

// Window events carry no context: the readout that watches the shell now.
CTaskbarReadout* watchingReadout = nullptr;

bool ThemeChanged(WPARAM parameter, LPARAM area) {
  const char* name = reinterpret_cast<const char*>(area);
  return parameter == SPI_SETHIGHCONTRAST || (name != nullptr && lstrcmpiA(name, "ImmersiveColorSet") == 0);
}

}  // namespace

CTaskbarReadout::CTaskbarReadout(ITaskbarReadoutOwner& readoutOwner) : owner(readoutOwner) {
  taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
}

CTaskbarReadout::~CTaskbarReadout() {
  Enable(false, false);
}

void CTaskbarReadout::Enable(bool on, bool every) {
  if (!on) {
    WatchShell(0);
    for (CReadoutWindow& readout : readouts) readout.Detach();
    listener.Destroy();
    enabled = checkPosted = false;
    return;
  }
  enabled = true;
  everyTaskbar = every;
  if (!listener.hwnd()) {
    const RECT nowhere = {0, 0, 1, 1};
    if (!listener.Create(kListenerClass, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP, nowhere, nullptr))
      return;
    SetTimer(listener.hwnd(), kCheckTimerId, kCheckPeriodMs, nullptr);
  }
  ReadColours();
  Refresh();
}

void CTaskbarReadout::SetRates(uint64_t received, uint64_t sent) {
  content.received = received;
  content.sent = sent;
  if (enabled) ShowAll();
}

void CTaskbarReadout::SetTip(const char* text) {
  snprintf(content.tip, sizeof content.tip, "%s", text != nullptr ? text : "");
  if (enabled) ShowAll();
}

bool CTaskbarReadout::Visible() const {
  for (const CReadoutWindow& readout : readouts)
    if (readout.Visible()) return true;
  return false;
}

HWND CTaskbarReadout::ReadoutOn(HWND taskbar) const {
  for (const CReadoutWindow& readout : readouts)
    if (taskbar != nullptr && readout.Taskbar() == taskbar) return readout.hwnd();
  return nullptr;
}

const CReadoutPicture* CTaskbarReadout::PictureOn(HWND taskbar) const {
  for (const CReadoutWindow& readout : readouts)
    if (taskbar != nullptr && readout.Taskbar() == taskbar && readout.hwnd()) return &readout.Picture();
  return nullptr;
}

bool CTaskbarReadout::IsTaskbar(HWND window) const {
  for (const CReadoutWindow& readout : readouts)
    if (window != nullptr && readout.Taskbar() == window) return true;
  return false;
}

void CTaskbarReadout::Refresh() {
  MatchTaskbars();
  ReadShell();
  ShowAll();
}

// A readout for each taskbar found; the readouts of taskbars gone (the shell ended) go too.
void CTaskbarReadout::MatchTaskbars() {
  FoundTaskbar found[kMaxTaskbars];
  const int count = FindTaskbars(found, everyTaskbar);
  for (CReadoutWindow& readout : readouts) {
    bool listed = false;
    for (int i = 0; i < count; ++i) listed = listed || found[i].window == readout.Taskbar();
    if (readout.Taskbar() && !listed) readout.Detach();
  }
  for (int i = 0; i < count; ++i) {
    if (IsTaskbar(found[i].window)) continue;
    for (CReadoutWindow& readout : readouts) {
      if (readout.Taskbar()) continue;
      readout.Attach(found[i].window, found[i].primary, &owner, listener.hwnd(), kCheckMessage);
      break;
    }
  }
  WatchShell(count > 0 ? WindowProcess(found[0].window) : 0);
}

void CTaskbarReadout::ReadShell() {
  const ForegroundView foreground = ReadForeground(watchedProcess);
  for (CReadoutWindow& readout : readouts)
    if (readout.Taskbar() && !readout.ReadTaskbar(foreground)) readout.Detach();
}

void CTaskbarReadout::ReadColours() {
  content.colours = ReadoutColoursFor(ReadTheme());
}

void CTaskbarReadout::ShowAll() {
  for (CReadoutWindow& readout : readouts)
    if (readout.Taskbar()) readout.Show(content);
}

// The window in front changing, anywhere, and the shell's windows moving or resizing, as they
// happen; the shell's process changes when it starts again.
void CTaskbarReadout::WatchShell(DWORD shellProcess) {
  if (shellProcess != 0 && shellProcess == watchedProcess && watchingReadout == this) return;
  foregroundHook.Reset();
  moveHook.Reset();
  watchedProcess = shellProcess;
  if (watchingReadout == this) watchingReadout = nullptr;
  if (shellProcess == 0) return;
  watchingReadout = this;
  foregroundHook.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                       OnShellEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
  moveHook.Reset(SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr,
                                 OnShellEvent, shellProcess, 0, WINEVENT_OUTOFCONTEXT));
}

void CALLBACK CTaskbarReadout::OnShellEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD,
                                            DWORD) {
  CTaskbarReadout* readout = watchingReadout;
  if (readout == nullptr) return;
  if (event == EVENT_OBJECT_LOCATIONCHANGE && (object != OBJID_WINDOW || !readout->IsTaskbar(window))) return;
  readout->RequestCheck();
}

// Many events in a row come to one look at the shell.
void CTaskbarReadout::RequestCheck() {
  if (checkPosted || !listener.hwnd()) return;
  checkPosted = PostMessageA(listener.hwnd(), kCheckMessage, 0, 0) != FALSE;
}

void CTaskbarReadout::OnSettingChange(WPARAM parameter, LPARAM area) {
  if (ThemeChanged(parameter, area)) ReadColours();
  Refresh();
}

bool CTaskbarReadout::OnListenerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreatedMessage) {
    Refresh();
    return true;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kCheckTimerId) Refresh();
      return wParam == kCheckTimerId;
    case kCheckMessage:
      checkPosted = false;
      ReadShell();
      ShowAll();
      return true;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      Refresh();
      return true;
    case WM_SETTINGCHANGE:
      OnSettingChange(wParam, lParam);
      return true;
    case WM_SYSCOLORCHANGE:
    case kCompositionChangedMessage:
      ReadColours();
      ShowAll();
      return true;
    default:
      return false;
  }
}

LRESULT CTaskbarReadout::CListener::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (readout.OnListenerMessage(message, wParam, lParam)) return 0;
  return CCustomWindow::OnMessage(message, wParam, lParam);
}
