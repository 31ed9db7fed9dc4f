// The readout's text size and its own size from the taskbar's thickness and DPI.
#include "taskbar/readout_layout.h"

#include <algorithm>

#include "render/meter_layout.h"

namespace {

// At 96 DPI: 9 points at most, and the margin around the text.
constexpr int32_t kLargestText = 12;
constexpr int32_t kPadding = 4;

int32_t LineHeightFor(int32_t textHeight) {
  return (textHeight * 5 + 3) / 4;
}

}  // namespace

ReadoutBox ReadoutBoxFor(TaskbarEdge edge, int32_t thickness, int32_t dpi) {
  ReadoutBox box;
  box.padding = ScaleForDpi(kPadding, dpi);
  box.textHeight = ScaleForDpi(kLargestText, dpi);
  box.lineHeight = LineHeightFor(box.textHeight);
  if (IsHorizontal(edge)) {
    // Each line has half the thickness, its letters four fifths of that.
    const int32_t half = std::max(thickness / 2, 1);
    box.textHeight = std::clamp(half * 4 / 5, 1, box.textHeight);
    box.lineHeight = std::min(half, LineHeightFor(box.textHeight));
  }
  return box;
}

ReadoutBox FitReadoutBox(const ReadoutBox& box, TaskbarEdge edge, int32_t thickness, int32_t measuredWidth) {
  const int32_t room = thickness - 2 * box.padding;
  if (IsHorizontal(edge) || measuredWidth <= room || room <= 0) return box;
  ReadoutBox fitted = box;
  fitted.textHeight = std::max(1, int32_t(int64_t(box.textHeight) * room / measuredWidth));
  fitted.lineHeight = LineHeightFor(fitted.textHeight);
  return fitted;
}

ReadoutSize ReadoutSizeFor(const ReadoutBox& box, TaskbarEdge edge, int32_t thickness, int32_t textWidth) {
  const int32_t linesHeight = 2 * box.lineHeight + 2 * box.padding;
  if (IsHorizontal(edge)) return {textWidth + 2 * box.padding, std::min(thickness, linesHeight)};
  return {thickness, linesHeight};
}
