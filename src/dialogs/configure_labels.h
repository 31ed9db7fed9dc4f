// The texts and slider arithmetic of the Configure dialog's three value labels, and the texts of its
// interface list.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kRefreshSliderMin = 1;
constexpr int32_t kRefreshSliderMax = 100;
constexpr int32_t kTraySliderMin = 1;
constexpr int32_t kTraySliderMax = 256;

// The refresh slider's position is the square root of the period: 1..100 covers 1..10000 ms.
int32_t RefreshPeriodFromPosition(int32_t position);
// Truncated square root; a negative period gives 0 (the trackbar then clamps it).
int32_t RefreshPositionFromPeriod(int32_t periodMs);

// The period in seconds with two significant digits, followed by two blanks and "s":
// 1 ms "1.e-003  s", 81 ms "8.1e-002  s", 200 ms "0.2  s", 1024 ms "1.  s", 10000 ms "10  s".
void FormatRefreshLabel(int32_t periodMs, char* out, size_t size);
// "4  KB/s." for a full scale of 4.
void FormatGraphScaleLabel(int32_t def, char* out, size_t size);
// "16 KB/s" for a tray scale of 16.
void FormatTrayScaleLabel(int32_t trayScale, char* out, size_t size);

// The text of an entry of the interface list. The stored interface that is missing now reads
// "Missing: " and its description, or "Missing interface" where no row of this run held it.
void FormatInterfaceEntry(const char* description, bool missing, char* out, size_t size);
// The adapter's name shown beside the entry: "" where it only repeats the description.
const char* InterfaceNameBeside(const char* description, const char* alias);
