// Reading and writing the decimal settings and the texts of the user's INI profile.
#include "settings/ini_profile_win.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "settings/profile_number.h"

namespace {

constexpr const char* kFolderName = "Quintrel";
constexpr const char* kFileName = "Quintrel.ini";
// Longer text than this is no 32-bit number, whatever it holds.
constexpr DWORD kValueTextSize = 64;

void DefaultProfilePath(char (&path)[MAX_PATH]) {
  char appData[MAX_PATH] = {};
  const bool found =
      SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
  const int length = found ? snprintf(path, sizeof path, "%s\\%s\\%s", appData, kFolderName, kFileName) : -1;
  // Without the folder, a bare file name puts the profile where the platform keeps such files.
  if (length < 0 || size_t(length) >= sizeof path) snprintf(path, sizeof path, "%s", kFileName);
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

bool IniProfile::Holds(const char* key) {
  char text[kValueTextSize] = {};
  return GetPrivateProfileStringA(kProfileSection, key, "", text, kValueTextSize, path) > 0;
}

void IniProfile::WriteInt(const char* key, int32_t value) {
  CreateFolderOnce();
  char text[16];
  snprintf(text, sizeof text, "%d", int(value));
  WritePrivateProfileStringA(kProfileSection, key, text, path);
}

bool IniProfile::ReadText(const char* key, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  const DWORD capacity = size > MAXDWORD ? MAXDWORD : DWORD(size);
  const DWORD length = GetPrivateProfileStringA(kProfileSection, key, "", out, capacity, path);
  out[size - 1] = '\0';
  return length > 0;
}

void IniProfile::WriteText(const char* key, const char* text) {
  CreateFolderOnce();
  WritePrivateProfileStringA(kProfileSection, key, text != nullptr ? text : "", path);
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
