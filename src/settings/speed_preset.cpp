// The six link-speed presets the program starts with.
#include "settings/speed_preset.h"

#include <cstring>

const SpeedPreset kDefaultPresets[kPresetCount] = {
    {"Modem 5KB/s", 1, 6, 4, 5, 5},
    {"ISDN 1*B 8KB/s", 1, 12, 8, 8, 8},
    {"ISDN 2*B 16KB/s", 1, 20, 16, 16, 16},
    {"ADSL 100KB/s", 10, 150, 100, 100, 16},
    {"Other Med. Speed", 100, 600, 300, 600, 600},
    {"Other High Speed", 600, 5000, 2500, 2500, 2500},
};

void SetPresetName(SpeedPreset& preset, const char* text) {
  size_t n = strnlen(text, sizeof preset.name - 1);
  memcpy(preset.name, text, n);
  preset.name[n] = '\0';
}
