// The system's own IP helper, for the stand-in libraries beside the tests: the entry points they
// do not change are passed on to it.
#pragma once

#include <windows.h>

inline FARPROC SystemIpHelperEntry(const char* name) {
  static HMODULE system = [] {
    char path[MAX_PATH + 16] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    lstrcpyA(path + length, "\\iphlpapi.dll");
    return LoadLibraryA(path);
  }();
  return system != nullptr ? GetProcAddress(system, name) : nullptr;
}

template <typename Fn>
Fn SystemIpHelper(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemIpHelperEntry(name)));
}
