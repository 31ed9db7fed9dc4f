// The test program exports "GetIfEntry" but not "GetIfTable", so it can be loaded in place of a
// library that lacks one of the two IP helper entry points.
#include <windows.h>

extern "C" __declspec(dllexport) DWORD GetIfEntry(void*) {
  return ERROR_NOT_SUPPORTED;
}
