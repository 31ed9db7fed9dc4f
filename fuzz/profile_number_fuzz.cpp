// Feeds arbitrary value texts to the profile's integer parser.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/profile_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int32_t value = 12345;
  if (!ParseProfileInt(text.c_str(), value)) {
    if (value != 12345) abort();  // a refused text leaves the value alone
    return 0;
  }
  // What the profile writes reads back unchanged.
  char written[16];
  snprintf(written, sizeof written, "%d", int(value));
  int32_t again = 0;
  if (!ParseProfileInt(written, again) || again != value) abort();
  return 0;
}
