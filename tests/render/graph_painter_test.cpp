// The graph panel: byte counts, statistics lines, grid, polylines with their clamps, labels and text places.
#include "render/graph_painter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "render/byte_format.h"
#include "support/recording_canvas.h"

namespace {

TEST(FormatByteCount, SwitchesToKilobytesAbove1023AndToMegabytesAboveOneMillion) {
  const struct {
    uint64_t value;
    const char* text;
  } cases[] = {{0, "0.00 B/s"},
               {1023, "1023.00 B/s"},
               {1024, "1.00 KB/s"},
               {999999, "976.56 KB/s"},
               {1000000, "0.95 MB/s"},
               {1048576, "1.00 MB/s"},
               {5ull << 30, "5120.00 MB/s"},
               {UINT64_MAX, "17592186044416.00 MB/s"}};
  for (const auto& c : cases) {
    char buffer[48];
    EXPECT_STREQ(FormatByteCount(c.value, buffer, sizeof buffer, "/s"), c.text) << c.value;
  }
  char buffer[48];
  EXPECT_STREQ(FormatByteCount(4096, buffer, sizeof buffer, " "), "4.00 KB ");
  char small[6];
  EXPECT_EQ(FormatByteCount(1000000, small, sizeof small, "/s"), small);
  EXPECT_STREQ(small, "0.95 ");
}

struct LineCase {
  int32_t selection;
  const char* receive;
  const char* send;
};

TEST(StatisticsLines, EachSelectionShowsItsFigureAndCaption) {
  TrafficFigures s;
  s.currentReceived = 12800;
  s.currentSent = 512;
  s.avgReceivedMinute = 1023.9f;  // whole bytes only: not 1.00 KB/s
  s.avgSentMinute = 1000000.0f;
  s.avgReceivedHour = 2048.5f;
  s.avgSentHour = 0;
  s.totalReceived = 0;
  s.totalSent = 3145728;
  s.pctReceivedNow = 12.34f;
  s.pctSentNow = 0;
  s.pctReceivedMinute = 250;
  s.pctSentMinute = 7.25f;
  s.pctReceivedHour = 99.96f;
  s.pctSentHour = 0.04f;
  const LineCase cases[] = {
      {0, "12.50 KB/s received", "512.00 B/s sent"},
      {1, "1023.00 B/s last min avg.", "0.95 MB/s last min avg."},
      {2, "2.00 KB/s last hour avg.", "0.00 B/s last hour avg."},
      {3, "0.00 B  total received", "3.00 MB  total sent"},
      {4, "12.3 % Bandwidth used ", "0.0 % Bandwidth used "},
      {5, "250.0 % last min. band used ", "7.2 % last min. band used "},
      {6, "100.0 % last hour band used ", "0.0 % last hour band used "},
  };
  for (const LineCase& c : cases) {
    char line[kStatLineSize];
    FormatReceiveLine(s, c.selection, line, sizeof line);
    EXPECT_STREQ(line, c.receive) << c.selection;
    FormatSendLine(s, c.selection, line, sizeof line);
    EXPECT_STREQ(line, c.send) << c.selection;
  }
}

TEST(StatisticsLines, TotalsAbove4GiBAndOddFiguresStayReadable) {
  TrafficFigures s;
  s.totalReceived = 6ull << 30;
  s.avgSentMinute = std::numeric_limits<float>::quiet_NaN();
  s.avgSentHour = 1e30f;
  char line[kStatLineSize];
  FormatReceiveLine(s, 3, line, sizeof line);
  EXPECT_STREQ(line, "6144.00 MB  total received");
  FormatSendLine(s, 1, line, sizeof line);
  EXPECT_STREQ(line, "0.00 B/s last min avg.");
  FormatSendLine(s, 2, line, sizeof line);
  EXPECT_STREQ(line, "17592186044416.00 MB/s last hour avg.");

  char shortLine[10];
  FormatReceiveLine(s, 3, shortLine, sizeof shortLine);
  EXPECT_STREQ(shortLine, "6144.00 M");
}

class GraphPanel : public ::testing::Test {
 protected:
  void UseStyle(int32_t style) {
    settings.graphStyle = style;
    settings.columnRange = style == kGraphStyleOverlapped ? settings.graphHeight : settings.graphHeight / 2;
  }

  // Auto-scale tops of 100 kB sent and 1500 kB received, or 1500 kB for both when overlapped: the
  // sent labels 0, 50, 100 in kB/s (0.0 to 1.5 in MB/s when overlapped), the received ones 0.0,
  // 0.8, 1.5 in MB/s.
  void GiveDistinctLabels() {
    const bool overlapped = settings.graphStyle == kGraphStyleOverlapped;
    figures.autoScale = true;
    figures.sentScaleTop = (overlapped ? 1500u : 100u) << 10;
    figures.receivedScaleTop = 1500u << 10;
  }

  void Paint(RecordingPanelCanvas& target, int32_t dpi = kBaseDpi) {
    PanelSnapshot snapshot;
    TakePanelSnapshot(settings, figures, dpi, snapshot);
    PaintGraphPanel(snapshot, target);
  }

  const CanvasText* TextAt(int32_t x, int32_t y) {
    texts = canvas.Texts();
    for (const CanvasText& t : texts)
      if (t.x == x && t.y == y) return &t;
    return nullptr;
  }

  MonitorSettings settings;
  TrafficFigures figures;
  RecordingPanelCanvas canvas;
  std::vector<CanvasText> texts;
};

TEST_F(GraphPanel, ClearsToBlackThenDotsEveryThirdPixelFromTheBottomLeft) {
  memset(canvas.surface.bits, 0x77, canvas.surface.ByteCount());
  Paint(canvas);
  ASSERT_FALSE(canvas.calls.empty());
  EXPECT_EQ(canvas.calls.front().kind, CanvasCall::kClear);
  int dots = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 160; ++x) {
      const uint8_t* p = canvas.surface.bits + (x + y * 160) * 3;
      const bool dot = x % 3 == 0 && y % 3 == 0;
      dots += dot;
      ASSERT_EQ(p[0], dot ? 250 : 0) << x << "," << y;
      ASSERT_EQ(p[1], dot ? 10 : 0) << x << "," << y;
      ASSERT_EQ(p[2], dot ? 10 : 0) << x << "," << y;
    }
  EXPECT_EQ(dots, 1836);
  // Bottom-up row 99 is the top edge: both edges carry dots, as does the last column 159.
  EXPECT_EQ(canvas.surface.bits[(159 + 99 * 160) * 3], 250);
}

// At 150 % the same picture is drawn on a panel of 240 x 150: every place scaled and rounded, the
// dots two pixels wide, nothing off the surface.
TEST_F(GraphPanel, At144DpiEveryPlaceIsScaledAndTheDotsAreTwoPixelsWide) {
  RecordingPanelCanvas wide(240, 150);
  UseStyle(kGraphStyleNormal);
  GiveDistinctLabels();
  settings.receiveStatSelection = 0;
  for (uint32_t x = 0; x < 160; ++x) figures.sentColumns[x] = x % 40, figures.receivedColumns[x] = (x * 7) % 45;
  memset(wide.surface.bits, 0x77, wide.surface.ByteCount());
  Paint(wide, 144);

  // From the bottom-left, as at 96 DPI: rows 0-1 and 5-6 hold dots (3 is 4.5 at 150 %, rounded
  // up), rows 2-4 none; the top row, 99 at 96 DPI, is 149, the surface's last.
  auto isDot = [&](int x, int y) {
    const uint8_t* p = wide.surface.bits + (x + y * 240) * 3;
    EXPECT_TRUE((p[0] == 250 && p[1] == 10 && p[2] == 10) || (p[0] == 0 && p[1] == 0 && p[2] == 0))
        << "only dots on black, at " << x << "," << y;
    return p[0] == 250;
  };
  const struct {
    int x, y;
    bool dot;
  } places[] = {{0, 0, true}, {1, 1, true}, {2, 0, false}, {4, 4, false}, {5, 5, true}, {6, 6, true},
                {7, 5, false}, {9, 0, true}, {239, 0, true}, {0, 149, true}, {0, 148, false}, {238, 147, false}};
  for (const auto& place : places) EXPECT_EQ(isDot(place.x, place.y), place.dot) << place.x << "," << place.y;
  int dots = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 240; ++x) dots += isDot(x, y);
  // 54 columns and 34 rows of dots, two by two but for the last column and row, cut at the edge.
  EXPECT_EQ(dots, (53 * 2 + 1) * (33 * 2 + 1));

  const auto sent = wide.Segments(PanelPen::Red);
  const auto received = wide.Segments(PanelPen::Green);
  ASSERT_EQ(sent.size(), 160u);
  ASSERT_EQ(received.size(), 160u);
  EXPECT_EQ(sent[0].y0, 150) << "the sent line starts at the bottom edge";
  for (int32_t x = 0; x < 160; ++x) {
    EXPECT_EQ(sent[x].x1, (3 * x + 1) / 2) << x;
    EXPECT_EQ(sent[x].y1, ScaleForDpi(99 - int32_t(x % 40), 144)) << x;
    EXPECT_EQ(received[x].y1, ScaleForDpi(49 - int32_t((x * 7) % 45), 144)) << x;
  }
  texts = wide.Texts();
  auto textAt = [&](int32_t x, int32_t y) -> std::string {
    for (const CanvasText& t : texts)
      if (t.x == x && t.y == y) return t.text;
    return "";
  };
  EXPECT_EQ(textAt(180, 0), "1.5");
  EXPECT_EQ(textAt(180, 26), "0.8") << "17 at 150 % is 25.5, rounded up";
  EXPECT_EQ(textAt(180, 78), "100") << "the sent axis from 52";
  EXPECT_EQ(textAt(209, 33), "MB/s") << "the unit at 139, 22";
  EXPECT_EQ(textAt(3, 3), "0.00 B/s received");
}

struct PolylineShape {
  int32_t style;
  int32_t sentStartY;
  int32_t sentZeroY, sentDirection;  // row of a zero column and the way larger columns go
  int32_t receivedStartY;
  int32_t receivedZeroY;
};

class GraphPanelStyles : public GraphPanel, public ::testing::WithParamInterface<PolylineShape> {};

TEST_P(GraphPanelStyles, DrawsOneConnectedSegmentPerColumnWithItsPen) {
  const PolylineShape shape = GetParam();
  UseStyle(shape.style);
  for (uint32_t x = 0; x < 160; ++x) figures.sentColumns[x] = x % 40, figures.receivedColumns[x] = (x * 7) % 45;
  figures.sentColumns[160] = figures.receivedColumns[160] = 999;  // beyond the graph: neither drawn nor clamped
  Paint(canvas);

  const auto all = canvas.Segments();
  const auto sent = canvas.Segments(PanelPen::Red);
  const auto received = canvas.Segments(PanelPen::Green);
  EXPECT_EQ(all.size(), 320u) << "every line is drawn with a selected pen";
  ASSERT_EQ(sent.size(), 160u);
  ASSERT_EQ(received.size(), 160u);
  EXPECT_EQ(sent[0].x0, 0);
  EXPECT_EQ(sent[0].y0, shape.sentStartY);
  EXPECT_EQ(received[0].x0, 0);
  EXPECT_EQ(received[0].y0, shape.receivedStartY);
  for (int32_t x = 0; x < 160; ++x) {
    EXPECT_EQ(sent[x].x1, x);
    EXPECT_EQ(sent[x].y1, shape.sentZeroY + shape.sentDirection * int32_t(x % 40)) << x;
    EXPECT_EQ(received[x].x1, x);
    EXPECT_EQ(received[x].y1, shape.receivedZeroY - int32_t((x * 7) % 45)) << x;
    if (x > 0) {
      EXPECT_EQ(sent[x].x0, sent[x - 1].x1);
      EXPECT_EQ(sent[x].y0, sent[x - 1].y1);
      EXPECT_EQ(received[x].y0, received[x - 1].y1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllStyles, GraphPanelStyles,
                         ::testing::Values(PolylineShape{kGraphStyleMirror, 51, 51, +1, 49, 49},
                                           PolylineShape{kGraphStyleNormal, 100, 99, -1, 49, 49},
                                           PolylineShape{kGraphStyleOverlapped, 100, 99, -1, 99, 99}));

TEST_F(GraphPanel, NormalStyleClampsOversizedColumns) {
  UseStyle(kGraphStyleNormal);
  figures.sentColumns[1] = 51;
  figures.sentColumns[2] = 50;  // not above the range: kept, drawn one row higher
  figures.receivedColumns[3] = 60;
  figures.receivedColumns[4] = 50;
  figures.receivedColumns[5] = UINT32_MAX;
  Paint(canvas);
  const auto sent = canvas.Segments(PanelPen::Red);
  const auto received = canvas.Segments(PanelPen::Green);
  ASSERT_EQ(sent.size(), 160u);
  ASSERT_EQ(received.size(), 160u);

  EXPECT_EQ(sent[1].y1, 50);
  EXPECT_EQ(sent[2].y1, 49);
  EXPECT_EQ(received[3].y1, -1);
  EXPECT_EQ(received[4].y1, -1);
  EXPECT_EQ(received[5].y1, -1);
}

TEST_F(GraphPanel, MirrorAndOverlappedStylesPlaceTheirLimitsOnTheEdges) {
  UseStyle(kGraphStyleMirror);
  figures.sentColumns[0] = 48;
  figures.sentColumns[1] = 49;
  figures.sentColumns[2] = 51;
  Paint(canvas);
  auto sent = canvas.Segments(PanelPen::Red);
  ASSERT_EQ(sent.size(), 160u);
  EXPECT_EQ(sent[0].y1, 99);
  EXPECT_EQ(sent[1].y1, 100);
  EXPECT_EQ(sent[2].y1, 100);

  canvas.Forget();
  UseStyle(kGraphStyleOverlapped);
  figures.sentColumns[0] = 101;
  figures.receivedColumns[0] = 101;
  Paint(canvas);
  sent = canvas.Segments(PanelPen::Red);
  const auto received = canvas.Segments(PanelPen::Green);
  EXPECT_EQ(sent[0].y1, 0);
  EXPECT_EQ(received[0].y1, -1);
}

struct LabelPlace {
  int32_t y;
  bool sent;
  int index;
};

struct LabelLayout {
  int32_t style;
  std::vector<LabelPlace> labels;
  std::vector<std::pair<int32_t, const char*>> units;  // y at x = 139, text
};

class GraphPanelLabels : public GraphPanel, public ::testing::WithParamInterface<LabelLayout> {};

TEST_P(GraphPanelLabels, DrawsEachLabelAtItsPlaceWithItsOwnLength) {
  const LabelLayout& layout = GetParam();
  UseStyle(layout.style);
  const int count = layout.style == kGraphStyleOverlapped ? 4 : 3;
  GiveDistinctLabels();
  Paint(canvas);

  const char* sent3[] = {"0", "50", "100"};
  const char* sent4[] = {"0.0", "0.5", "1.0", "1.5"};
  const char* received[] = {"0.0", "0.8", "1.5"};
  const char* const* sent = count == 4 ? sent4 : sent3;
  for (const LabelPlace& place : layout.labels) {
    const CanvasText* t = TextAt(120, place.y);
    ASSERT_NE(t, nullptr) << place.y;
    const char* label = place.sent ? sent[place.index] : received[place.index];
    EXPECT_EQ(t->text, label) << place.y;
    EXPECT_EQ(t->length, int32_t(strlen(label))) << place.y;
  }
  for (const auto& [y, unit] : layout.units) {
    const CanvasText* t = TextAt(139, y);
    ASSERT_NE(t, nullptr) << y;
    EXPECT_EQ(t->text, unit);
    EXPECT_EQ(t->length, 4);
  }
  int atLabelColumn = 0;
  for (const CanvasText& t : canvas.Texts()) atLabelColumn += t.x == 120 || t.x == 139;
  EXPECT_EQ(atLabelColumn, int(layout.labels.size() + layout.units.size()));
}

INSTANTIATE_TEST_SUITE_P(
    AllStyles, GraphPanelLabels,
    ::testing::Values(
        LabelLayout{
            kGraphStyleMirror,
            {{0, false, 2}, {17, false, 1}, {34, false, 0}, {54, true, 0}, {71, true, 1}, {88, true, 2}},
            {{22, "MB/s"}, {60, "kB/s"}}},
        LabelLayout{
            kGraphStyleNormal,
            {{0, false, 2}, {17, false, 1}, {34, false, 0}, {52, true, 2}, {69, true, 1}, {86, true, 0}},
            {{22, "MB/s"}, {60, "kB/s"}}},
        LabelLayout{kGraphStyleOverlapped,
                    {{0, true, 3}, {30, true, 2}, {60, true, 1}, {90, true, 0}},
                    {{40, "MB/s"}}}));

TEST_F(GraphPanel, StatisticsLinesSitAtTheTopAndAtTheSendPlaceOfEachStyle) {
  figures.currentReceived = 12800;
  figures.totalSent = 3145728;
  settings.receiveStatSelection = 0;
  settings.sendStatSelection = 3;
  for (auto [style, sendY] :
       {std::pair{kGraphStyleNormal, 52}, {kGraphStyleMirror, 88}, {kGraphStyleOverlapped, 14}}) {
    canvas.Forget();
    UseStyle(style);
    Paint(canvas);
    const CanvasText* receive = TextAt(2, 2);
    ASSERT_NE(receive, nullptr) << style;
    EXPECT_EQ(receive->text, "12.50 KB/s received");
    EXPECT_EQ(receive->length, 19);
    const CanvasText* send = TextAt(2, sendY);
    ASSERT_NE(send, nullptr) << style;
    EXPECT_EQ(send->text, "3.00 MB  total sent");
  }
}

TEST_F(GraphPanel, SelectionOutsideZeroToSixDrawsNoLine) {
  settings.receiveStatSelection = 9;
  settings.sendStatSelection = -3;
  Paint(canvas);
  for (const CanvasText& t : canvas.Texts()) EXPECT_NE(t.x, 2) << t.text;
}

}  // namespace
