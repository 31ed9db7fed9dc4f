// The traffic log file through the kernel's file calls, and the clock of its lines.
#include "log/log_file_win.h"

#include <cstring>
#include <new>

#include "log/traffic_log.h"

static_assert(CLogFileWin::kHeldBackSize >= kLogHeaderSize && CLogFileWin::kHeldBackSize >= kLogLineSize,
              "a refused header or line is always held back whole");

CLogFileWin::CLogFileWin(HANDLE openFile, WriteFileFn write) : file(openFile), writeFile(write) {
  SetFilePointer(file.get(), 0, nullptr, FILE_END);
}

CLogFileWin::~CLogFileWin() {
  if (heldBackLength > 0) WriteHeldBack();
}

bool CLogFileWin::IsEmpty() {
  LARGE_INTEGER size = {};
  return heldBackLength == 0 && GetFileSizeEx(file.get(), &size) && size.QuadPart == 0;
}

void CLogFileWin::Append(const char* text, size_t length) {
  if (heldBackLength > 0) WriteHeldBack();
  if (text == nullptr || length == 0) return;
  if (heldBackLength == 0) {
    const size_t written = WriteAtEnd(text, length);
    text += written;
    length -= written;
    if (length == 0) return;
  }
  if (length <= kHeldBackSize - heldBackLength) {
    memcpy(heldBack + heldBackLength, text, length);
    heldBackLength += length;
  }
}

size_t CLogFileWin::WriteAtEnd(const char* data, size_t length) {
  SetFilePointer(file.get(), 0, nullptr, FILE_END);
  const DWORD size = length > MAXDWORD ? MAXDWORD : DWORD(length);
  DWORD written = 0;
  writeFile(file.get(), data, size, &written, nullptr);
  return written < size ? written : size;
}

void CLogFileWin::WriteHeldBack() {
  const size_t written = WriteAtEnd(heldBack, heldBackLength);
  memmove(heldBack, heldBack + written, heldBackLength - written);
  heldBackLength -= written;
}

std::unique_ptr<ILogFile> CLogSinkWin::OpenLogFile(const char* fileName) {
  COwnedFile file(CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  std::unique_ptr<ILogFile> log(new (std::nothrow) CLogFileWin(file.get()));
  if (log != nullptr) file.Detach();
  return log;
}

size_t CLogSinkWin::MaxLogFileNameLength() {
  char directory[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return 1;
  // The path ends with a zero, and a separator goes between directory and name.
  const long room = long(MAX_PATH) - 1 - long(length) - 1;
  return room < 1 ? 1 : size_t(room);
}

LocalDateTime CLogSinkWin::Now() {
  SYSTEMTIME time = {};
  GetLocalTime(&time);
  return LocalDateTime{time.wYear, time.wMonth,  time.wDay,   time.wDayOfWeek,
                       time.wHour, time.wMinute, time.wSecond};
}
