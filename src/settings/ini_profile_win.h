// The settings profile as an INI file of the user, and the preset names from the system profile.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings/profile.h"

class IniProfile : public IProfile {
 public:
  // "Quintrel.ini" in a "Quintrel" folder of the user's roaming application data.
  IniProfile();
  explicit IniProfile(const char* filePath);

  // Plain decimal text, clamped to the 32-bit range; an absent, empty or damaged value gives the default.
  int32_t ReadInt(const char* key, int32_t defaultValue) override;
  bool Holds(const char* key) override;
  // Creates the profile's folder on first use; a profile that cannot be written is left as it is.
  void WriteInt(const char* key, int32_t value) override;
  // Without the blanks around it, as the platform reads it.
  bool ReadText(const char* key, char* out, size_t size) override;
  void WriteText(const char* key, const char* text) override;
  void ReadSystemString(const char* key, const char* defaultValue, char* out, size_t size) override;

  const char* Path() const { return path; }

 private:
  void CreateFolderOnce();

  char path[MAX_PATH] = {};
  bool folderReady = false;
};
