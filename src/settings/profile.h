// The profile the settings live in: integers and a few texts in the application profile, preset
// names in the system one.
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
  // A text of the application profile, at most size - 1 characters; false (and "") when the key
  // holds none.
  virtual bool ReadText(const char* key, char* out, size_t size) = 0;
  virtual void WriteText(const char* key, const char* text) = 0;
  // Reads a preset name from the system profile; at most size - 1 characters.
  virtual void ReadSystemString(const char* key, const char* defaultValue, char* out, size_t size) = 0;
};
