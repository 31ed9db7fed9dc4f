// A profile held in memory that remembers every read and write in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "settings/profile.h"

struct ProfileAccess {
  enum Kind { ReadInt, WriteInt, ReadSystemString, ReadText, WriteText };
  Kind kind;
  std::string key;
  int32_t value;  // the default of a read, the value of a write
  std::string text;  // the text written
};

class MemoryProfile : public IProfile {
 public:
  int32_t ReadInt(const char* key, int32_t defaultValue) override;
  // Not an access: it reads nothing the settings take.
  bool Holds(const char* key) override { return ints.count(key) != 0 || texts.count(key) != 0; }
  void WriteInt(const char* key, int32_t value) override;
  void ReadSystemString(const char* key, const char* defaultValue, char* out, size_t size) override;
  bool ReadText(const char* key, char* out, size_t size) override;
  void WriteText(const char* key, const char* text) override;

  // The keys of one kind of access, in the order they happened.
  std::vector<std::string> Keys(ProfileAccess::Kind kind) const;

  std::map<std::string, int32_t> ints;               // the application profile
  std::map<std::string, std::string> systemStrings;  // the system profile
  std::map<std::string, std::string> texts;          // the application profile's texts
  std::vector<ProfileAccess> accesses;
};
