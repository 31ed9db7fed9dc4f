// The tray meter: its rows from the figures, its picture pixel for pixel, and its tooltip.
#include "render/tray_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>


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
    bars = TrayBars{received, sent, receivedMinute, sentMinute};
  }

  TrayBars bars = {};
  MemorySurface image{kTraySize, kTraySize};
};

TEST_F(TrayPicture, QuietSecondLightsTheBottomRowsUnderTheGrid) {
  Levels(0, 0, 0, 0);
  DrawTrayPicture(bars, image);
  EXPECT_EQ(Picture(image),
            Rows({"................", "................", "................", "bbbbbbbbbbbbbbbb",
                  "................", "................", "................", "bbbbbbbbbbbbbbbb",
                  "................", "................", "................", "bbbbbbbbbbbbbbbb",
                  "................", "................", "................", "YYYYYGGGRRRRYYYY"}));
}

TEST_F(TrayPicture, BarsRiseToTheirLevelsAndMinuteMarksLieOverThem) {
  Levels(2, 15, 1, 6);
  DrawTrayPicture(bars, image);
  EXPECT_EQ(Picture(image),
            Rows({"........RRRRRRRR", "........RRRRRRRR", "........RRRRRRRR", "bbbbbbbbRRRRRRRR",
                  "........RRRRRRRR", "........RRRRRRRR", "........RRRRRRRR", "bbbbbbbbRRRRRRRR",
                  "........RRRRRRRR", "........RRRRYYYY", "........RRRRRRRR", "bbbbbbbbRRRRRRRR",
                  "........RRRRRRRR", "GGGGGGGGRRRRRRRR", "YYYYYGGGRRRRRRRR", "GGGGGGGGRRRRRRRR"}));
}

TEST_F(TrayPicture, MarksOnTheTopRowLieOverTheFullBar) {
  Levels(15, 4, 15, 15);
  DrawTrayPicture(bars, image);
  EXPECT_EQ(Picture(image),
            Rows({"YYYYYGGG....YYYY", "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGGbbbbbbbb",
                  "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGGbbbbbbbb",
                  "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGG........", "GGGGGGGGRRRRRRRR",
                  "GGGGGGGGRRRRRRRR", "GGGGGGGGRRRRRRRR", "GGGGGGGGRRRRRRRR", "GGGGGGGGRRRRRRRR"}));
}

// The picture at any side as letter rows, the bottom row first as the surface keeps them.
std::vector<std::string> BottomUpRows(const PixelSurface& image) {
  std::vector<std::string> rows(size_t(image.height));
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) rows[y] += Letter(image.bits + y * image.RowBytes() + x * 3);
  return rows;
}

std::string Column(const std::vector<std::string>& rows, int x) {
  std::string column;
  for (const std::string& row : rows) column += row[x];
  return column;
}

// Where the logical rows and columns fall at each side of the shell's small icon.
struct SideCase {
  int side;
  int bottomRowPixels;        // pixel rows of logical row 0
  int topRowPixels;           // and of row 15
  std::vector<int> gridRows;  // from the bottom
  int receiveMarkWidth;       // logical columns 0-4
  int sendMarkFirst;          // logical column 12
};

const SideCase kSides[] = {
    {16, 1, 1, {0, 4, 8, 12}, 5, 12},
    {18, 2, 1, {0, 1, 5, 9, 10, 14}, 6, 14},
    {20, 2, 1, {0, 1, 5, 6, 10, 11, 15, 16}, 7, 15},
    {24, 2, 1, {0, 1, 6, 7, 12, 13, 18, 19}, 8, 18},
    {28, 2, 1, {0, 1, 7, 8, 14, 15, 21, 22}, 9, 21},
    {32, 2, 2, {0, 1, 8, 9, 16, 17, 24, 25}, 10, 24},
    {48, 3, 3, {0, 1, 2, 12, 13, 14, 24, 25, 26, 36, 37, 38}, 15, 36},
    {kLargestTraySize, 4, 4, {0, 1, 2, 3, 16, 17, 18, 19, 32, 33, 34, 35, 48, 49, 50, 51}, 20, 48},
};

class TrayPictureAtEachSide : public ::testing::TestWithParam<SideCase> {
 protected:
  std::vector<std::string> Draw(uint32_t received, uint32_t sent, uint32_t receivedMinute,
                                uint32_t sentMinute) {
    memset(image.bits, 0x5A, image.ByteCount());
    DrawTrayPicture(TrayBars{received, sent, receivedMinute, sentMinute}, image);
    return BottomUpRows(image);
  }

  const SideCase& c = GetParam();
  const int half = c.side / 2;
  MemorySurface image{c.side, c.side};
};

TEST_P(TrayPictureAtEachSide, QuietGridLiesOnItsRowsAboveTheMarkedBottomRow) {
  const std::vector<std::string> rows = Draw(0, 0, 0, 0);
  const int n = c.side;
  const std::string bottom = std::string(c.receiveMarkWidth, 'Y') +
                             std::string(half - c.receiveMarkWidth, 'G') +
                             std::string(c.sendMarkFirst - half, 'R') + std::string(n - c.sendMarkFirst, 'Y');
  for (int y = 0; y < n; ++y) {
    const bool grid = std::find(c.gridRows.begin(), c.gridRows.end(), y) != c.gridRows.end();
    const std::string expected = y < c.bottomRowPixels ? bottom : std::string(n, grid ? 'b' : '.');
    EXPECT_EQ(rows[y], expected) << "row " << y << " from the bottom";
  }
}

TEST_P(TrayPictureAtEachSide, FullAndHalfBarsFillTheHeightAndItsLowerHalf) {
  const std::vector<std::string> rows = Draw(15, 7, 15, 15);
  const int n = c.side;
  EXPECT_EQ(Column(rows, half - 1), std::string(n, 'G')) << "level 15 fills the height";
  const std::string sent = Column(rows, half);
  EXPECT_EQ(sent.substr(0, half), std::string(half, 'R')) << "level 7 fills half";
  EXPECT_EQ(sent.find('R', half), std::string::npos);
  // Both minute marks lie on the top logical row.
  for (int y = n - c.topRowPixels; y < n; ++y) {
    EXPECT_EQ(rows[y].substr(0, half),
              std::string(c.receiveMarkWidth, 'Y') + std::string(half - c.receiveMarkWidth, 'G'));
    EXPECT_EQ(rows[y].substr(c.sendMarkFirst), std::string(n - c.sendMarkFirst, 'Y'));
  }
  EXPECT_EQ(rows[n - c.topRowPixels - 1].find('Y'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(ShellIconSides, TrayPictureAtEachSide, ::testing::ValuesIn(kSides),
                         [](const ::testing::TestParamInfo<SideCase>& info) {
                           return std::to_string(info.param.side) + "px";
                         });

// A row is the tray scale's kB over the 16 rows: the separate scale or the preset's, as the figures
// carry it. Rates above the top are drawn on it; a scale of 0 or below (a damaged profile) is one
// byte a row.
TEST(TrayBars, RatesAndMinuteMeansInRowsOfTheTrayScale) {
  const struct {
    int32_t scaleKb;
    uint32_t received, sent;
    float receivedMinute, sentMinute;
    TrayBars rows;
  } cases[] = {
      {16, 3 * 1024 + 1023, 20 * 1024, 4095.0f / 60, 2048, {3, 15, 0, 2}},
      {4, 255, 256, 0, 511, {0, 1, 0, 1}},
      {0, 14, 15, 0, 1e30f, {14, 15, 0, 15}},
      {-4, 3, 0, 0, 0, {3, 0, 0, 0}},
      {INT32_MIN, UINT32_MAX, 0, 0, 0, {15, 0, 0, 0}},
      {4194304, UINT32_MAX, 0, 0, 0, {15, 0, 0, 0}},  // 4 GiB a row wraps to 0: one byte a row
      {2500, 2500 * 64 * 15, 2500 * 64 * 15 - 1, 0, 0, {15, 14, 0, 0}},
  };
  for (const auto& c : cases) {
    TrafficFigures figures;
    figures.trayScaleKb = c.scaleKb;
    figures.currentReceived = c.received;
    figures.currentSent = c.sent;
    figures.avgReceivedMinute = c.receivedMinute;
    figures.avgSentMinute = c.sentMinute;
    EXPECT_TRUE(TrayBarsOf(figures) == c.rows) << c.scaleKb << " kB, " << c.received << " B/s";
  }
}

// The shell asks for 16, 20, 24, 28, 32 ... at the usual scales, and other sides at unusual ones;
// each is drawn at its own side, within the sides the meter is drawn at.
TEST(TrayPictureSide, IsTheShellsSizeWithinTheDrawnSides) {
  const struct {
    int iconSize, side;
  } cases[] = {{0, 16}, {-5, 16}, {15, 16}, {16, 16}, {18, 18}, {22, 22}, {31, 31}, {64, 64}, {65, 64}};
  for (const auto& c : cases) EXPECT_EQ(TrayPictureSide(c.iconSize), c.side) << c.iconSize;
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
