// The readout's text and size across the taskbar's thickness, from 100 to 200 %, and fitted to a side
// taskbar's width.
#include "taskbar/readout_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadoutLayout, TwoLinesAcrossTheTaskbarAtItsDpi) {
  const struct {
    const char* what;
    TaskbarEdge edge;
    int32_t thickness, dpi, measuredWidth;
    int32_t textHeight, lineHeight;
    ReadoutSize size;
  } cases[] = {
      {"Wine's 20-pixel taskbar", TaskbarEdge::Bottom, 20, 96, 120, 8, 10, {128, 20}},
      {"small buttons", TaskbarEdge::Bottom, 30, 96, 120, 12, 15, {128, 30}},
      {"100 %: 9 points at most", TaskbarEdge::Top, 40, 96, 120, 12, 15, {128, 38}},
      {"125 %", TaskbarEdge::Bottom, 50, 120, 150, 15, 19, {160, 48}},
      {"150 %", TaskbarEdge::Bottom, 60, 144, 180, 18, 23, {192, 58}},
      {"200 %", TaskbarEdge::Bottom, 80, 192, 240, 24, 30, {256, 76}},
      {"a wide side taskbar keeps 9 points", TaskbarEdge::Left, 100, 96, 58, 12, 15, {100, 38}},
      {"a narrow side taskbar shrinks the text", TaskbarEdge::Left, 62, 96, 58, 11, 14, {62, 36}},
      {"a narrow side taskbar at 200 %", TaskbarEdge::Right, 124, 192, 116, 22, 28, {124, 72}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ReadoutBox box = ReadoutBoxFor(c.edge, c.thickness, c.dpi);
    const ReadoutBox fitted = FitReadoutBox(box, c.edge, c.thickness, c.measuredWidth);
    EXPECT_EQ(fitted.textHeight, c.textHeight);
    EXPECT_EQ(fitted.lineHeight, c.lineHeight);
    // Measured again at the fitted height, the text is narrower in proportion.
    const int32_t width = int32_t(int64_t(c.measuredWidth) * fitted.textHeight / box.textHeight);
    const ReadoutSize size = ReadoutSizeFor(fitted, c.edge, c.thickness, width);
    EXPECT_EQ(size.width, c.size.width);
    EXPECT_EQ(size.height, c.size.height);
    EXPECT_LE(IsHorizontal(c.edge) ? size.height : size.width, c.thickness) << "it fits across the taskbar";
    EXPECT_LE(width + 2 * fitted.padding, size.width) << "its text fits inside it";
  }
}

}  // namespace
