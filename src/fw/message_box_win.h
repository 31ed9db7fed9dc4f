// The program's message box: one fixed English text, an OK button, the exclamation icon and the
// program's name as title.
#pragma once

#include <windows.h>

constexpr const char* kAppTitle = "Quintrel";

inline int ShowAppMessage(HWND owner, const char* text) {
  return MessageBoxA(owner, text, kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}
