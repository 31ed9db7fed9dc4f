// Reading and writing the decimal settings of the user's INI profile.
#include "settings/ini_profile_win.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kFolderName = "Quintrel";
constexpr const char* kFileName = "Quintrel.ini";
// Longer text than this is no 32-bit number, whatever it holds.
constexpr DWORD kValueTextSize = 64;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

void DefaultProfilePath(char (&path)[MAX_PATH]) {
  char appData[MAX_PATH] = {};
  const bool found =
      SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
  const int length = found ? snprintf(path, sizeof path, "%s\\%s\\%s", appData, kFolderName, kFileName) : -1;
  // Without the folder, a bare file name puts the profile where the platform keeps such files.
  if (length < 0 || size_t(length) >= sizeof path) snprintf(path, sizeof path, "%s", kFileName);
}

// Optional blanks, an optional sign, decimal digits and optional blanks, clamped to int32;
// false for anything else (the platform's integer read wraps large numbers and takes hex).
bool ParseProfileInt(const char* text, int32_t& value) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p < '0' || *p > '9') return false;
  const int64_t limit = negative ? -int64_t(INT32_MIN) : int64_t(INT32_MAX);
  int64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) magnitude = limit;
  }
  while (IsBlank(*p)) ++p;
  if (*p != '\0') return false;
  value = int32_t(negative ? -magnitude : magnitude);
  return true;
}

}  // namespace

IniProfile::IniProfile() {
  DefaultProfilePath(path);
}

IniProfile::IniProfile(const char* filePath) {
  snprintf(path, sizeof path, "%s", filePath != nullptr ? filePath : "");
}

int32_t IniProfile::ReadInt(const char* key, int32_t defaultValue) {
  char text[kValueTextSize] = {};
  const DWORD length = GetPrivateProfileStringA(kProfileSection, key, "", text, kValueTextSize, path);
  int32_t value = defaultValue;
  if (length == 0 || length >= kValueTextSize - 1 || !ParseProfileInt(text, value)) return defaultValue;
  return value;
}

void IniProfile::WriteInt(const char* key, int32_t value) {
  CreateFolderOnce();
  char text[16];
  snprintf(text, sizeof text, "%d", int(value));
  WritePrivateProfileStringA(kProfileSection, key, text, path);
}

void IniProfile::ReadSystemString(const char* key, const char* defaultValue, char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  const DWORD capacity = size > MAXDWORD ? MAXDWORD : DWORD(size);
  GetProfileStringA(kProfileSection, key, defaultValue, out, capacity);
  out[size - 1] = '\0';
}

void IniProfile::CreateFolderOnce() {
  if (folderReady) return;
  char folder[MAX_PATH];
  snprintf(folder, sizeof folder, "%s", path);
  char* lastSeparator = strrchr(folder, '\\');
  if (lastSeparator == nullptr || lastSeparator == folder) {
    folderReady = true;
    return;
  }
  *lastSeparator = '\0';
  folderReady = CreateDirectoryA(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}
