// Feeds arbitrary interface descriptions, name limits, times and amounts to the traffic log's formats.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "log/traffic_log.h"

namespace {

void CheckFileName(const std::string& description, size_t maxLength, size_t size) {
  std::vector<char> out(size + 1, '#');  // one guard byte beyond the room the maker is given
  MakeLogFileName(description.c_str(), maxLength, out.data(), size);
  if (out[size] != '#') abort();
  if (size == 0) return;
  const size_t length = strnlen(out.data(), size);
  if (length == size) abort();  // not terminated
  if (length == 0) return;
  if (length > maxLength) abort();
  const size_t suffixLength = strlen(kLogFileSuffix);
  if (length < suffixLength || strcmp(out.data() + length - suffixLength, kLogFileSuffix) != 0) abort();
  // A name, never a path, a stream or a wildcard.
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (c < 32 || strchr("\\/:*?\"<>|().", c) != nullptr) {
      if (i < length - suffixLength || c != '.') abort();
    }
  }
}

void CheckWholeOrNothing(size_t length, const std::vector<char>& out, size_t size) {
  if (size == 0) {
    if (length != 0) abort();
    return;
  }
  if (length >= size || strnlen(out.data(), size) != length) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t maxLength = input.ConsumeIntegralInRange<size_t>(0, 600);
  const size_t nameRoom = input.ConsumeIntegralInRange<size_t>(0, 600);
  const size_t headerRoom = input.ConsumeIntegralInRange<size_t>(0, 700);
  const size_t lineRoom = input.ConsumeIntegralInRange<size_t>(0, 200);
  LocalDateTime time;
  for (int* field :
       {&time.year, &time.month, &time.day, &time.dayOfWeek, &time.hour, &time.minute, &time.second})
    *field = input.ConsumeIntegral<int>();
  const uint64_t sent = input.ConsumeIntegral<uint64_t>();
  const uint64_t received = input.ConsumeIntegral<uint64_t>();
  const std::string description = input.ConsumeRemainingBytesAsString();

  CheckFileName(description, maxLength, nameRoom);

  std::vector<char> header(headerRoom + 1, '#');
  CheckWholeOrNothing(FormatLogHeader(description.c_str(), header.data(), headerRoom), header, headerRoom);
  if (header[headerRoom] != '#') abort();

  std::vector<char> line(lineRoom + 1, '#');
  CheckWholeOrNothing(FormatLogLine(time, sent, received, line.data(), lineRoom), line, lineRoom);
  if (line[lineRoom] != '#') abort();
  return 0;
}
