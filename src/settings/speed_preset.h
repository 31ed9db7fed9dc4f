// One link-speed preset and the six the program starts with.
#pragma once

#include <cstdint>

struct SpeedPreset {
  char name[50];  // at most 49 characters, NUL-terminated
  int32_t min;    // KB/s, lower end of the graph-scale slider
  int32_t max;    // KB/s, upper end of the graph-scale slider
  int32_t def;    // KB/s, manual graph full scale and default tray scale
  int32_t bandd;  // KB/s, download bandwidth
  int32_t bandu;  // KB/s, upload bandwidth
};

constexpr int kPresetCount = 6;

extern const SpeedPreset kDefaultPresets[kPresetCount];

// A stored preset index outside 0..5 selects preset 0.
inline int32_t ValidPresetIndex(int32_t index) {
  return index >= 0 && index < kPresetCount ? index : 0;
}

// Copies at most 49 characters of text into a preset name.
void SetPresetName(SpeedPreset& preset, const char* text);
