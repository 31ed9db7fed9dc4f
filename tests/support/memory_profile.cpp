// The in-memory profile of the core tests.
#include "support/memory_profile.h"

#include <cstdio>
#include <cstring>

int32_t MemoryProfile::ReadInt(const char* key, int32_t defaultValue) {
  accesses.push_back({ProfileAccess::ReadInt, key, defaultValue});
  auto found = ints.find(key);
  return found == ints.end() ? defaultValue : found->second;
}

void MemoryProfile::WriteInt(const char* key, int32_t value) {
  accesses.push_back({ProfileAccess::WriteInt, key, value});
  ints[key] = value;
}

void MemoryProfile::ReadSystemString(const char* key, const char* defaultValue, char* out, size_t size) {
  accesses.push_back({ProfileAccess::ReadSystemString, key, 0});
  if (size == 0) return;
  auto found = systemStrings.find(key);
  const char* text = found == systemStrings.end() ? defaultValue : found->second.c_str();
  const size_t length = strnlen(text, size - 1);
  memcpy(out, text, length);
  out[length] = '\0';
}

bool MemoryProfile::ReadText(const char* key, char* out, size_t size) {
  accesses.push_back({ProfileAccess::ReadText, key, 0});
  if (size == 0) return false;
  auto found = texts.find(key);
  const std::string text = found == texts.end() ? "" : found->second;
  snprintf(out, size, "%s", text.c_str());
  return !text.empty();
}

void MemoryProfile::WriteText(const char* key, const char* text) {
  accesses.push_back({ProfileAccess::WriteText, key, 0, text});
  texts[key] = text;
}

std::vector<std::string> MemoryProfile::Keys(ProfileAccess::Kind kind) const {
  std::vector<std::string> keys;
  for (const ProfileAccess& access : accesses)
    if (access.kind == kind) keys.push_back(access.key);
  return keys;
}
