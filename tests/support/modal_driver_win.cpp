// The thread-timer driver of modal dialogs and message boxes for the dialog tests.
#include "support/modal_driver_win.h"

#include <cstring>

namespace {

constexpr UINT kTickMs = 15;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr const char* kMessageBoxCaption = "Quintrel";
ModalDriver* activeDriver = nullptr;

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char className[16] = {}, caption[128] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, caption, sizeof caption);
  if (strcmp(className, "#32770") == 0 && strcmp(caption, search->caption) == 0 && IsWindowVisible(window) &&
      IsWindowEnabled(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (strcmp(className, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

HWND FindThreadDialog(const char* caption) {
  Search search{caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ControlText(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void TypeText(HWND dialog, int id, const char* text) {
  SetDlgItemTextA(dialog, id, text);
}

void PostClick(HWND dialog, int id) {
  PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostEscape(HWND dialog) {
  HWND focus = GetFocus();
  PostMessageA(focus != nullptr && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

ModalDriver& ModalDriver::On(const char* caption, Action action) {
  steps.push_back({caption, std::move(action)});
  return *this;
}

ModalDriver& ModalDriver::AnswerMessageBox() {
  return On(kMessageBoxCaption, [this](HWND box) {
    messages.push_back(ControlText(box, kMessageBoxTextId));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
}

void ModalDriver::Run(const std::function<void()>& run, DWORD timeLimitMs) {
  activeDriver = this;
  timeLimit = timeLimitMs;
  waitStart = GetTickCount();
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
  run();
  KillTimer(nullptr, timer);
  activeDriver = nullptr;
  if (failure.empty() && !AllStepsDone()) failure = "the modal run ended before step " + std::to_string(next);
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (activeDriver != nullptr) activeDriver->OnTick();
}

void ModalDriver::OnTick() {
  if (busy || next >= steps.size()) return;
  HWND window = FindThreadDialog(steps[next].caption.c_str());
  if (window == nullptr) {
    if (GetTickCount() - waitStart > timeLimit) {
      failure = "no window \"" + steps[next].caption + "\" for step " + std::to_string(next);
      HWND box = FindThreadDialog(kMessageBoxCaption);
      if (box != nullptr) failure += "; a message box says \"" + ControlText(box, kMessageBoxTextId) + "\"";
      next = steps.size();
      CancelEverything();
    }
    return;
  }
  busy = true;
  Step& step = steps[next++];
  step.action(window);
  waitStart = GetTickCount();
  busy = false;
}

void ModalDriver::CancelEverything() {
  EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
  // Message boxes end with OK as well.
  HWND box = FindThreadDialog(kMessageBoxCaption);
  if (box != nullptr) PostMessageA(box, WM_COMMAND, IDOK, 0);
}
