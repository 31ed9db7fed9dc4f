// Feeds arbitrary hour-data files through the reader, the per-hour sums and the bar drawing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "console/hour_data.h"
#include "render/hour_chart.h"
#include "render/pixel_surface.h"

namespace {

// The file's bytes; a file that shrank after its size was taken delivers short reads.
class BytesSource : public IHourDataSource {
 public:
  explicit BytesSource(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  uint32_t Read(uint8_t* buffer, uint32_t size) override {
    const size_t left = bytes_.size() - offset_;
    const uint32_t n = left < size ? uint32_t(left) : size;
    if (n > 0) memcpy(buffer, bytes_.data() + offset_, n);
    offset_ += n;
    return n;
  }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t offset_ = 0;
};

class CountingMessages : public IHourMessages {
 public:
  void ShowMessage(const char*) override { ++count; }
  int count = 0;
};

MemorySurface& Image() {
  static MemorySurface image(kHourImageWidth, kHourImageHeight);
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool sizeFromFile = input.ConsumeBool();
  const uint32_t declaredSize = input.ConsumeIntegral<uint32_t>();
  const uint8_t dayValue = input.ConsumeBool() ? kConsoleDayValue : input.ConsumeIntegral<uint8_t>();
  const std::vector<uint8_t> file = input.ConsumeRemainingBytes<uint8_t>();

  HourStatistics hours;
  hours.SetFileSize(sizeFromFile ? uint32_t(file.size()) : declaredSize);
  BytesSource source(file);
  CountingMessages messages;
  const bool analysed = hours.AnalyzeHourData(dayValue, source, messages);
  // Only a short read fails, and it says so twice: the byte count, then the fault.
  if (analysed != (messages.count == 0)) abort();
  if (!analysed && (messages.count != 2 || hours.bytesRead >= kHourRecordSize)) abort();
  if (sizeFromFile && !analysed) abort();

  MemorySurface& image = Image();
  memset(image.bits, 0xFF, image.ByteCount());
  DrawHourBars(hours.firstSums, hours.secondSums, image);
  // The bars stand on their base: the rows beneath it stay white.
  for (uint32_t row = 0; row < kHourBarBase; ++row)
    for (uint32_t x = 0; x < kHourImageWidth * 3; ++x)
      if (image.bits[row * kHourImageWidth * 3 + x] != 0xFF) abort();
  return 0;
}
