// The tray meter picture, pixel for pixel, and its tooltip.
#include "render/tray_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_meter.h"

namespace {

// One letter a pixel: . black, b grid blue, G green, R red, Y yellow, ? anything else.
char Letter(const uint8_t* p) {
  const uint32_t bgr = p[0] << 16 | p[1] << 8 | p[2];
  switch (bgr) {
    case 0x000000:
      return '.';
    case 0xD20000:
      return 'b';
    case 0x00FF00:
      return 'G';
    case 0x0000FF:
      return 'R';
    case 0x00FAFF:
      return 'Y';
    default:
      return '?';
  }
}

// The picture as 16 text rows, the top row first.
std::string Picture(const PixelSurface& image) {
  std::string rows;
  for (int y = kTraySize - 1; y >= 0; --y) {
    for (int x = 0; x < kTraySize; ++x) rows += Letter(image.bits + (x + y * kTraySize) * 3);
    rows += '\n';
  }
  return rows;
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string joined;
  for (const char* row : rows) joined += std::string(row) + '\n';
  return joined;
}

class TrayPicture : public ::testing::Test {
 protected:
  void SetUp() override { memset(image.bits, 0x5A, image.ByteCount()); }

  void Levels(uint32_t received, uint32_t sent, uint32_t receivedMinute, uint32_t sentMinute) {
    stats.trayReceivedLevel = received;
    stats.traySentLevel = sent;
    stats.trayReceivedMinuteLevel = receivedMinute;
    stats.traySentMinuteLevel = sentMinute;
  }

  StatsRig owner;
  CTrafficStats& stats = owner.stats;
  MemorySurface image{kTraySize, kTraySize};
};

TEST_F(TrayPicture, QuietSecondLightsTheBottomRowsUnderTheGrid) {
  Levels(0, 0, 0, 0);
  DrawTrayPicture(stats, image);
  EXPECT_EQ(Picture(image),
            Rows({"................", "................", "................", "bbbbbbbbbbbbbbbb",
                  "................", "................", "................", "bbbbbbbbbbbbbbbb",
                  "................", "................", "................", "bbbbbbbbbbbbbbbb",
                  "................", "................", "................", "YYYYYGGGRRRRYYYY"}));
}

// At a tray unit of 1024 bytes, 3000 bytes received give level 2 and 20000 bytes level 19.
TEST_F(TrayPicture, BarsRiseToTheirLevelsAndMinuteMarksLieOverThem) {
  Levels(3000 / 1024, 20000 / 1024, 1, 6);
  DrawTrayPicture(stats, image);
  EXPECT_EQ(Picture(image),
            Rows({"........RRRRRRRR", "........RRRRRRRR", "........RRRRRRRR", "bbbbbbbbRRRRRRRR",
                  "........RRRRRRRR", "........RRRRRRRR", "........RRRRRRRR", "bbbbbbbbRRRRRRRR",
                  "........RRRRRRRR", "........RRRRYYYY", "........RRRRRRRR", "bbbbbbbbRRRRRRRR",
                  "........RRRRRRRR", "GGGGGGGGRRRRRRRR", "YYYYYGGGRRRRRRRR", "GGGGGGGGRRRRRRRR"}));
}

TEST_F(TrayPicture, MinuteLevelsAboveTheTopAreDrawnAsRow15AndLeftAsTheyAre) {
  Levels(15, 4, 16, UINT32_MAX);
  DrawTrayPicture(stats, image);
  EXPECT_EQ(stats.trayReceivedMinuteLevel, 16u) << "the picture writes nothing back";
  EXPECT_EQ(stats.traySentMinuteLevel, UINT32_MAX);
  EXPECT_EQ(Picture(image),
            Rows({"YYYYYGGG....YYYY", "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGGbbbbbbbb",
                  "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGGbbbbbbbb",
                  "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGGRRRRRRRR",
                  "GGGGGGGGRRRRRRRR", "GGGGGGGGRRRRRRRR", "GGGGGGGGRRRRRRRR", "GGGGGGGGRRRRRRRR"}));
}

TEST(TrayTip, ShowsBothRatesInKilobytesPerSecond) {
  char tip[kTrayTipSize];
  FormatTrayTip(0, 0, tip);
  EXPECT_STREQ(tip, "0.00 KB/s received  0.00 KB/s sent");
  FormatTrayTip(12800, 512, tip);
  EXPECT_STREQ(tip, "12.50 KB/s received  0.50 KB/s sent");
  FormatTrayTip(UINT32_MAX, UINT32_MAX, tip);
  EXPECT_STREQ(tip, "4194304.00 KB/s received  4194304.00 KB/s sent");
}

}  // namespace
