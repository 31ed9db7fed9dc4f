// Reads the initial items that a dialog template's companion resource (type 240) gives its controls.
#pragma once

#include <cstddef>
#include <cstdint>

// The resource is a packed run of entries, each: control id (16 bits), message (16 bits), text
// length including its terminating zero (32 bits), the text; a zero control id ends the run.
// Numbers are little-endian and nothing is aligned.
struct DialogInitEntry {
  enum class Kind { AddComboString, AddListString, Other };
  uint16_t controlId = 0;
  Kind kind = Kind::Other;
  const char* text = "";  // points into the resource data; always zero-terminated
};

class DialogInitReader {
 public:
  DialogInitReader(const void* data, size_t size) : bytes(static_cast<const uint8_t*>(data)), size(size) {}

  // Fills entry with the next entry; false at the end of the run or at damaged data.
  bool Next(DialogInitEntry& entry);
  // False when the run was cut short or an entry was damaged.
  bool intact() const { return !damaged; }

 private:
  bool Fail();

  const uint8_t* bytes;
  size_t size;
  size_t offset = 0;
  bool finished = false;
  bool damaged = false;
};
