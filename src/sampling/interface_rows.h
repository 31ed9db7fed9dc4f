// Which rows Configure lists, which links "All links" sums, and which row holds an interface now.
#pragma once

#include <cstdint>

#include "sampling/interface_choice.h"

// The entry of Configure's list for a stored interface that no row holds now.
constexpr int32_t kMissingRow = -3;

// Whether the row only repeats an adapter's counters: a filter driver's view of it, or a row that is
// no hardware adapter and whose counters, both non-zero, are those of a hardware row or of a row
// listed before it.
// Configure leaves such rows out unless "Show all" is checked; they keep their row numbers.
bool RepeatsAnotherRow(const InterfaceFacts* rows, uint32_t count, uint32_t row);

// Whether "All links" counts the row now: up, a hardware adapter, and no filter row, loopback or
// tunnel, so that a VPN is not counted twice and a virtual switch not at all.
bool JoinsAllLinks(const InterfaceFacts& row);

// The row whose interface has this identity and is listed now; kAllLinksRow for kAllLinksIdentity
// when the table tells hardware apart; kNoRow when none has.
int32_t FindInterfaceRow(const InterfaceFacts* rows, uint32_t count, uint64_t identity, bool sumsAllLinks);

struct InterfaceListOptions {
  bool showAll;         // "Show all" is checked
  bool offerAllLinks;   // the platform can sum all links
  bool storedMissing;   // the stored interface is not in the table now
  int32_t selectedRow;  // listed whatever it repeats
};

// Configure's list, entry by entry, into entries[0..capacity): kMissingRow first when the stored
// interface is missing, then kAllLinksRow when offered, then the rows in table order, without the
// rows that repeat another or whose interface is gone unless showAll. The number of entries.
uint32_t ListInterfaces(const InterfaceFacts* rows, uint32_t count, const InterfaceListOptions& options,
                        int32_t* entries, uint32_t capacity);
