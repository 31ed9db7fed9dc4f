// Loading system libraries by full path, and the narrowed library search.
#include "fw/system_library_win.h"

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD flags);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR path);

template <typename Function>
Function KernelFunction(const char* name) {
  return LibraryFunction<Function>(GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace

std::string SystemLibraryPath(const char* name) {
  char directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return name;
  std::string path(directory, length);
  if (path.back() != '\\') path += '\\';
  return path + name;
}

void RestrictLibrarySearch() {
  // Windows 8 and later, and Windows 7 with its 2011 security update, have it.
  if (auto setDefault = KernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories"))
    setDefault(kSearchSystem32);
  // An empty directory takes the current directory out of the search.
  if (auto setDirectory = KernelFunction<SetDllDirectoryFn>("SetDllDirectoryA")) setDirectory("");
}
