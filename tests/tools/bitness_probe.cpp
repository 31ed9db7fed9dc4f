// Prints the width of a pointer: run under a loader, it tells whether this machine executes
// programs of that build at all.
#include <cstdio>

int main() {
  std::printf("bits=%d\n", int(sizeof(void*) * 8));
  return 0;
}
