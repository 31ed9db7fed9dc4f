// Counts the program's heap allocations, so that a benchmark can show a tick allocates nothing.
#pragma once

#include <cstdint>

// Allocations through operator new since the program started.
uint64_t AllocationCount();
