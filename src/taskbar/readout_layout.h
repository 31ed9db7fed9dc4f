// The readout's text size and its own size on one taskbar at one DPI.
#pragma once

#include <cstdint>

#include "taskbar/readout_placement.h"

struct ReadoutBox {
  // The font's character height in pixels (a negative LOGFONT height).
  int32_t textHeight = 0;
  // From the top of one line to the top of the next; each line is centred in its own.
  int32_t lineHeight = 0;
  // Between the readout's sides and its text.
  int32_t padding = 0;
};

// Two lines of at most 9 points at dpi; along the top or bottom they share the taskbar's thickness.
ReadoutBox ReadoutBoxFor(TaskbarEdge edge, int32_t thickness, int32_t dpi);
// On a side taskbar, text measured wider than the taskbar leaves room for shrinks to fit; along the
// top or bottom the readout grows with its text instead.
ReadoutBox FitReadoutBox(const ReadoutBox& box, TaskbarEdge edge, int32_t thickness, int32_t measuredWidth);
// The readout's size for text as wide as textWidth: the text's width along the top or bottom, the
// taskbar's width on a side.
ReadoutSize ReadoutSizeFor(const ReadoutBox& box, TaskbarEdge edge, int32_t thickness, int32_t textWidth);
