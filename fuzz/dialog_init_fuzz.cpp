// Feeds arbitrary bytes to the reader of a dialog's initial control items.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fw/dialog_init.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so that a read past its end is caught.
  std::vector<uint8_t> resource(data, data + size);
  DialogInitReader reader(resource.data(), resource.size());
  DialogInitEntry entry;
  size_t entries = 0;
  while (reader.Next(entry)) {
    const uint8_t* text = reinterpret_cast<const uint8_t*>(entry.text);
    if (text < resource.data() || text >= resource.data() + resource.size()) abort();
    // The text ends inside the resource.
    const size_t room = size_t(resource.data() + resource.size() - text);
    if (memchr(text, 0, room) == nullptr) abort();
    if (entry.controlId == 0) abort();
    // Every entry takes at least its 8-byte header and one byte of text.
    if (++entries > size / 9) abort();
  }
  // Nothing more comes after the end or after damage.
  if (reader.Next(entry)) abort();
  return 0;
}
