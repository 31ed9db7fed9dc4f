// What the program hands to the shell: its import of Shell_NotifyIconA is pointed at a recorder
// that passes every call on to the real shell, or refuses the adds a shell still starting refuses.
#pragma once

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <string>
#include <vector>

class ShellNotifyRecorder {
 public:
  struct Call {
    DWORD message;
    HWND window;
    UINT flags;
    std::string tip;
    BOOL result;
    std::string info;  // a balloon's text
    HICON icon;
    SIZE iconSize;  // the colour bitmap's, read when the shell got the icon
  };

  ShellNotifyRecorder() {
    real = reinterpret_cast<NotifyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("shell32.dll"), "Shell_NotifyIconA")));
    slot = FindImportSlot(reinterpret_cast<void*>(real));
    if (slot != nullptr) Write(reinterpret_cast<void*>(&Record));
    active = this;
  }
  ~ShellNotifyRecorder() {
    if (slot != nullptr) Write(reinterpret_cast<void*>(real));
    active = nullptr;
  }
  ShellNotifyRecorder(const ShellNotifyRecorder&) = delete;
  ShellNotifyRecorder& operator=(const ShellNotifyRecorder&) = delete;

  bool Installed() const { return slot != nullptr; }
  // The tip of the last change handed over with a tip, or "(none)".
  std::string LastTip(HWND window) const {
    for (auto call = calls.rbegin(); call != calls.rend(); ++call)
      if (call->window == window && call->message == NIM_MODIFY && (call->flags & NIF_TIP)) return call->tip;
    return "(none)";
  }

  std::vector<Call> calls;
  // So many of the next NIM_ADD calls fail without reaching the shell.
  int addsToRefuse = 0;

 private:
  using NotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

  static BOOL WINAPI Record(DWORD message, PNOTIFYICONDATAA data) {
    if (active == nullptr || data == nullptr) return FALSE;
    const bool refused = message == NIM_ADD && active->addsToRefuse > 0;
    if (refused) --active->addsToRefuse;
    const BOOL result = refused ? FALSE : active->real(message, data);
    const HICON icon = (data->uFlags & NIF_ICON) ? data->hIcon : nullptr;
    active->calls.push_back({message, data->hWnd, data->uFlags, data->szTip, result,
                             (data->uFlags & NIF_INFO) ? data->szInfo : "", icon, IconSize(icon)});
    return result;
  }
  static SIZE IconSize(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return SIZE{0, 0};
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return SIZE{colour.bmWidth, colour.bmHeight};
  }
  static void** FindImportSlot(void* target) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library)
      for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk); thunk->u1.Function;
           ++thunk)
        if (reinterpret_cast<void*>(thunk->u1.Function) == target) return reinterpret_cast<void**>(thunk);
    return nullptr;
  }
  void Write(void* function) {
    DWORD previous = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = function;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
  }

  static inline ShellNotifyRecorder* active = nullptr;
  NotifyFn real = nullptr;
  void** slot = nullptr;
};
