// The readout's two lines, received then sent, in the units and wording of the panel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "taskbar/readout_placement.h"

// Along the top or bottom the lines carry the panel's captions, "12.34 KB/s received"; a side
// taskbar is too narrow for them, so there they hold only the rates, received above sent as
// everywhere else, and the tooltip spells them out. The form follows the edge alone, never the
// digits, so the readout never changes its form or size from one second to the next.
enum class ReadoutForm { Captioned, RatesOnly };

ReadoutForm ReadoutFormFor(TaskbarEdge edge);

constexpr size_t kReadoutLineSize = 48;

struct ReadoutLines {
  char received[kReadoutLineSize];
  char sent[kReadoutLineSize];
};

bool SameLines(const ReadoutLines& a, const ReadoutLines& b);
// Rates in bytes per second.
void FormatReadoutLines(uint64_t received, uint64_t sent, ReadoutForm form, ReadoutLines& lines);
// The lines at their widest below 10000 MB/s, which size the readout once for its font.
void WidestReadoutLines(ReadoutForm form, ReadoutLines& lines);
