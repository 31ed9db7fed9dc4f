// The reader of a dialog's packed initial control items, on well-formed and damaged data.
#include "fw/dialog_init.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void PutEntry(std::vector<uint8_t>& out, uint16_t id, uint16_t message, const std::string& text) {
  const uint32_t length = static_cast<uint32_t>(text.size() + 1);
  const uint8_t header[8] = {static_cast<uint8_t>(id),           static_cast<uint8_t>(id >> 8),
                             static_cast<uint8_t>(message),      static_cast<uint8_t>(message >> 8),
                             static_cast<uint8_t>(length),       static_cast<uint8_t>(length >> 8),
                             static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
  out.insert(out.end(), header, header + 8);
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void PutEnd(std::vector<uint8_t>& out) {
  out.push_back(0);
  out.push_back(0);
}

std::vector<std::string> ReadAll(const std::vector<uint8_t>& data, bool* intact) {
  DialogInitReader reader(data.data(), data.size());
  std::vector<std::string> texts;
  DialogInitEntry entry;
  while (reader.Next(entry)) texts.push_back(entry.text);
  *intact = reader.intact();
  return texts;
}

}  // namespace

TEST(DialogInitReader, ReadsUnalignedEntriesInOrderWithTheirControlsAndKinds) {
  std::vector<uint8_t> data;
  PutEntry(data, 1019, 0x0403, "5 KB/s (Modem)");  // odd length: the next entry starts unaligned
  PutEntry(data, 1019, 0x0403, "8 KB/s (ISDN)");
  PutEntry(data, 1400, 0x0401, "list item");
  PutEntry(data, 1401, 0x1234, "");
  PutEnd(data);

  DialogInitReader reader(data.data(), data.size());
  DialogInitEntry entry;
  ASSERT_TRUE(reader.Next(entry));
  EXPECT_EQ(entry.controlId, 1019);
  EXPECT_EQ(entry.kind, DialogInitEntry::Kind::AddComboString);
  EXPECT_STREQ(entry.text, "5 KB/s (Modem)");
  ASSERT_TRUE(reader.Next(entry));
  EXPECT_STREQ(entry.text, "8 KB/s (ISDN)");
  ASSERT_TRUE(reader.Next(entry));
  EXPECT_EQ(entry.controlId, 1400);
  EXPECT_EQ(entry.kind, DialogInitEntry::Kind::AddListString);
  ASSERT_TRUE(reader.Next(entry));
  EXPECT_EQ(entry.kind, DialogInitEntry::Kind::Other);
  EXPECT_STREQ(entry.text, "");
  EXPECT_FALSE(reader.Next(entry));
  EXPECT_FALSE(reader.Next(entry));  // stays at the end
  EXPECT_TRUE(reader.intact());
}

TEST(DialogInitReader, DamagedDataStopsAfterTheLastSoundEntry) {
  std::vector<uint8_t> good;
  PutEntry(good, 1019, 0x0403, "first");
  bool intact = true;

  std::vector<uint8_t> noEnd = good;  // the terminating zero id is missing
  EXPECT_EQ(ReadAll(noEnd, &intact), std::vector<std::string>{"first"});
  EXPECT_FALSE(intact);

  std::vector<uint8_t> cutHeader = good;
  cutHeader.insert(cutHeader.end(), {0xFB, 0x03, 0x03, 0x04, 0x05});
  EXPECT_EQ(ReadAll(cutHeader, &intact), std::vector<std::string>{"first"});
  EXPECT_FALSE(intact);

  std::vector<uint8_t> longLength = good;
  PutEntry(longLength, 1019, 0x0403, "second");
  longLength[good.size() + 4] = 0xFF;  // length far past the end of the data
  longLength[good.size() + 7] = 0xFF;
  PutEnd(longLength);
  EXPECT_EQ(ReadAll(longLength, &intact), std::vector<std::string>{"first"});
  EXPECT_FALSE(intact);

  std::vector<uint8_t> unterminated = good;
  PutEntry(unterminated, 1019, 0x0403, "second");
  unterminated.back() = 'x';  // the text's own zero overwritten
  PutEnd(unterminated);
  EXPECT_EQ(ReadAll(unterminated, &intact), std::vector<std::string>{"first"});
  EXPECT_FALSE(intact);

  std::vector<uint8_t> zeroLength = good;
  PutEntry(zeroLength, 1019, 0x0403, "");
  zeroLength[good.size() + 4] = 0;
  EXPECT_EQ(ReadAll(zeroLength, &intact), std::vector<std::string>{"first"});
  EXPECT_FALSE(intact);

  const uint8_t oneByte[1] = {0x01};
  DialogInitReader tiny(oneByte, 1);
  DialogInitEntry entry;
  EXPECT_FALSE(tiny.Next(entry));
  EXPECT_FALSE(tiny.intact());
}
