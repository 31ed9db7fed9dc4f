// How the preset editor reads the texts of its edits.
#pragma once

#include <cstdint>

// True when every character is '0'..'9' (compared as unsigned bytes); an empty text is true.
bool IsAllDigits(const char* text);

// The number atoi would read from at most the first 9 characters: leading blanks, an optional
// sign, digits up to the first non-digit; 0 without digits. Nine characters always fit in 32 bits.
int32_t ReadEditNumber(const char* text);
