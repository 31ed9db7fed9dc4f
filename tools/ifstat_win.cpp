// Console view of the interfaces the meter finds and a few seconds of one interface's traffic.
// Usage: quintrel_ifstat [seconds] [row]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sampling/ip_helper_win.h"

namespace {

constexpr uint32_t kOperational = 5;

void ListInterfaces(const CIpHelper& helper) {
  printf("%u interface(s):\n", unsigned(helper.Count()));
  for (uint32_t i = 0; i < helper.Count(); ++i)
    printf("  %2u  %-32s  status %u\n", unsigned(i), helper.Description(int32_t(i)),
           unsigned(helper.OperStatus(int32_t(i))));
}

// The first working interface that is not the loopback, else row 0.
int32_t ChooseRow(const CIpHelper& helper) {
  for (uint32_t i = 0; i < helper.Count(); ++i)
    if (helper.OperStatus(int32_t(i)) == kOperational && strcmp(helper.Description(int32_t(i)), "lo") != 0)
      return int32_t(i);
  return 0;
}

void ShowTraffic(CIpHelper& helper, int32_t row, int seconds) {
  printf("interface %d (%s), bytes per second:\n", int(row), helper.Description(row));
  CounterPair previous = helper.ReadCounters(row);
  for (int second = 1; second <= seconds; ++second) {
    Sleep(1000);
    const CounterPair now = helper.ReadCounters(row);
    // The counters are 32-bit and wrap; unsigned differences stay right across the wrap.
    printf("  %3d s  sent %10u  received %10u\n", second, unsigned(now.sent - previous.sent),
           unsigned(now.received - previous.received));
    fflush(stdout);
    previous = now;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? atoi(argv[1]) : 5;
  CIpHelper helper;
  if (const char* failure = helper.DiscoverInterfaces()) {
    printf("%s\n", failure);
    return 1;
  }
  ListInterfaces(helper);
  int32_t row = argc > 2 ? int32_t(atoi(argv[2])) : ChooseRow(helper);
  if (row < 0 || uint32_t(row) >= helper.Count()) row = 0;
  ShowTraffic(helper, row, seconds > 0 && seconds <= 3600 ? seconds : 5);
  return 0;
}
