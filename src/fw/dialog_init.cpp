// Reads the initial items of a dialog's controls from their packed resource.
#include "fw/dialog_init.h"

namespace {
constexpr uint16_t kListAddString = 0x0401;
constexpr uint16_t kComboAddString = 0x0403;
constexpr size_t kEntryHeaderSize = 8;

uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

DialogInitEntry::Kind KindOf(uint16_t message) {
  if (message == kComboAddString) return DialogInitEntry::Kind::AddComboString;
  if (message == kListAddString) return DialogInitEntry::Kind::AddListString;
  return DialogInitEntry::Kind::Other;
}
}  // namespace

bool DialogInitReader::Fail() {
  finished = true;
  damaged = true;
  return false;
}

bool DialogInitReader::Next(DialogInitEntry& entry) {
  if (finished || !bytes) return false;
  if (size - offset < 2) return Fail();
  const uint16_t controlId = ReadU16(bytes + offset);
  if (controlId == 0) {
    finished = true;
    return false;
  }
  if (size - offset < kEntryHeaderSize) return Fail();
  const uint16_t message = ReadU16(bytes + offset + 2);
  const uint32_t length = ReadU32(bytes + offset + 4);
  const size_t textOffset = offset + kEntryHeaderSize;
  if (length == 0 || length > size - textOffset) return Fail();
  const char* text = reinterpret_cast<const char*>(bytes + textOffset);
  if (text[length - 1] != '\0') return Fail();
  entry.controlId = controlId;
  entry.kind = KindOf(message);
  entry.text = text;
  offset = textOffset + length;
  return true;
}
