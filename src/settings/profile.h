// The profile the settings live in: integers in the application profile, preset names in the system one.
#pragma once

#include <cstddef>
#include <cstdint>

// Every key is in the section "Last Settings".
constexpr const char* kProfileSection = "Last Settings";

class IProfile {
 public:
  virtual ~IProfile() = default;
  virtual int32_t ReadInt(const char* key, int32_t defaultValue) = 0;
  // Whether the application profile holds a value for the key at all.
  virtual bool Holds(const char* key) = 0;
  virtual void WriteInt(const char* key, int32_t value) = 0;
  // Reads a preset name from the system profile; at most size - 1 characters.
  virtual void ReadSystemString(const char* key, const char* defaultValue, char* out, size_t size) = 0;
};
