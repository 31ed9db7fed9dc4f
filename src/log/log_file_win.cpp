// The traffic log file through the kernel's file calls, and the clock of its lines.
#include "log/log_file_win.h"

#include <new>

CLogFileWin::CLogFileWin(HANDLE openFile) : file(openFile) {
  SetFilePointer(file, 0, nullptr, FILE_END);
}

CLogFileWin::~CLogFileWin() {
  CloseHandle(file);
}

bool CLogFileWin::IsEmpty() {
  LARGE_INTEGER size = {};
  return GetFileSizeEx(file, &size) && size.QuadPart == 0;
}

void CLogFileWin::Append(const char* text, size_t length) {
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, text, DWORD(length), &written, nullptr);
}

std::unique_ptr<ILogFile> OpenLogFileForAppend(const char* name) {
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  std::unique_ptr<ILogFile> log(new (std::nothrow) CLogFileWin(file));
  if (log == nullptr) CloseHandle(file);
  return log;
}

size_t MaxLogFileNameLength() {
  char directory[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return 1;
  // The path ends with a zero, and a separator goes between directory and name.
  const long room = long(MAX_PATH) - 1 - long(length) - 1;
  return room < 1 ? 1 : size_t(room);
}

LocalDateTime Now() {
  SYSTEMTIME time = {};
  GetLocalTime(&time);
  return LocalDateTime{time.wYear, time.wMonth,  time.wDay,   time.wDayOfWeek,
                       time.wHour, time.wMinute, time.wSecond};
}
