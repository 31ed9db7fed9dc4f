// Byte counts and rates as the meter writes them: "%.2f %s%s" with B, KB or MB.
#pragma once

#include <cstddef>
#include <cstdint>

// Switches to KB above 1023 and to MB above 999 999 (of 1024 and 1024 * 1024 bytes); the suffix
// follows the unit ("/s" for a rate). Returns buffer.
char* FormatByteCount(uint64_t value, char* buffer, size_t size, const char* suffix);
