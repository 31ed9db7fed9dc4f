// The readout's lines in the panel's units and wording, with captions along the top or bottom only.
#include "taskbar/readout_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadoutText, ReceivedAboveSentInThePanelsUnits) {
  const struct {
    TaskbarEdge edge;
    uint64_t received, sent;
    const char *receivedLine, *sentLine;
  } cases[] = {
      {TaskbarEdge::Bottom, 20480, 7168, "20.00 KB/s received", "7.00 KB/s sent"},
      {TaskbarEdge::Top, 512, 0, "512.00 B/s received", "0.00 B/s sent"},
      {TaskbarEdge::Left, 1500000, 2048, "1.43 MB/s", "2.00 KB/s"},
      {TaskbarEdge::Right, 1023, 1024, "1023.00 B/s", "1.00 KB/s"},
  };
  for (const auto& c : cases) {
    ReadoutLines lines;
    FormatReadoutLines(c.received, c.sent, ReadoutFormFor(c.edge), lines);
    EXPECT_STREQ(lines.received, c.receivedLine);
    EXPECT_STREQ(lines.sent, c.sentLine);
  }
  ReadoutLines widest;
  WidestReadoutLines(ReadoutForm::Captioned, widest);
  EXPECT_STREQ(widest.received, "8888.88 MB/s received");
  EXPECT_STREQ(widest.sent, "8888.88 MB/s sent");
  WidestReadoutLines(ReadoutForm::RatesOnly, widest);
  EXPECT_STREQ(widest.received, "8888.88 MB/s");
}

}  // namespace
