// A library named "iphlpapi.dll" for the planting test: placed beside the program, it must never be
// loaded. If it is, it leaves a file "PLANTED" in the current directory and lists one interface of
// its own, "planted stand-in".
#include <iphlpapi.h>
#include <windows.h>

#include <cstring>

namespace {

void LeaveMark() {
  HANDLE file = CreateFileA("PLANTED", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI GetIfEntry(PMIB_IFROW row) {
  LeaveMark();
  return row != nullptr ? NO_ERROR : ERROR_INVALID_PARAMETER;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetIfTable(PMIB_IFTABLE table, PULONG size, BOOL) {
  LeaveMark();
  if (size == nullptr) return ERROR_INVALID_PARAMETER;
  if (table == nullptr || *size < sizeof(MIB_IFTABLE)) {
    *size = sizeof(MIB_IFTABLE);
    return ERROR_INSUFFICIENT_BUFFER;
  }
  memset(table, 0, sizeof(MIB_IFTABLE));
  table->dwNumEntries = 1;
  const char name[] = "planted stand-in";
  table->table[0].dwIndex = 1;
  table->table[0].dwDescrLen = sizeof name - 1;
  memcpy(table->table[0].bDescr, name, sizeof name - 1);
  return NO_ERROR;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMark();
  return TRUE;
}
