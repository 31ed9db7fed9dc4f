// The decimal text of one profile integer, read the same way wherever the profile lives.
#pragma once

#include <cstdint>

// Optional blanks, an optional sign, decimal digits and optional blanks, clamped to int32;
// false for anything else (the platform's integer read wraps large numbers and takes hex).
bool ParseProfileInt(const char* text, int32_t& value);
