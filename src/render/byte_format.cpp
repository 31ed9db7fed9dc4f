// The byte formatter of the panel's lines, the Usage dialog and the taskbar.
#include "render/byte_format.h"

#include <cstdio>

char* FormatByteCount(uint64_t value, char* buffer, size_t size, const char* suffix) {
  if (suffix == nullptr) suffix = "";
  if (value > 999999)
    snprintf(buffer, size, "%.2f %s%s", double(value) / 1048576.0, "MB", suffix);
  else if (value > 1023)
    snprintf(buffer, size, "%.2f %s%s", double(value) / 1024.0, "KB", suffix);
  else
    snprintf(buffer, size, "%.2f %s%s", double(value), "B", suffix);
  return buffer;
}
