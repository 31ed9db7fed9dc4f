// The readout's lines from two byte rates, through the panel's own byte formatter.
#include "taskbar/readout_text.h"

#include <cstdio>
#include <cstring>

#include "render/byte_format.h"

namespace {

// "8888.88 MB/s": the widest digit in each place of the widest unit.
constexpr uint64_t kWidestRate = 9320669000ull;

void FormatLine(uint64_t rate, const char* caption, ReadoutForm form, char (&line)[kReadoutLineSize]) {
  char count[24];  // the largest count, "17592186044416.00 MB/s", and its terminating zero
  FormatByteCount(rate, count, sizeof count, "/s");
  if (form == ReadoutForm::Captioned)
    snprintf(line, sizeof line, "%s %s", count, caption);
  else
    snprintf(line, sizeof line, "%s", count);
}

}  // namespace

ReadoutForm ReadoutFormFor(TaskbarEdge edge) {
  return IsHorizontal(edge) ? ReadoutForm::Captioned : ReadoutForm::RatesOnly;
}

bool SameLines(const ReadoutLines& a, const ReadoutLines& b) {
  return strcmp(a.received, b.received) == 0 && strcmp(a.sent, b.sent) == 0;
}

void FormatReadoutLines(uint64_t received, uint64_t sent, ReadoutForm form, ReadoutLines& lines) {
  FormatLine(received, "received", form, lines.received);
  FormatLine(sent, "sent", form, lines.sent);
}

void WidestReadoutLines(ReadoutForm form, ReadoutLines& lines) {
  FormatReadoutLines(kWidestRate, kWidestRate, form, lines);
}
