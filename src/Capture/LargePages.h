#pragma once

// The memory allocator on large pages. Every new page of memory costs the program a fault of the
// processor; under some virtual machines a fault costs ten microseconds, so that a list of a
// hundred thousand items, or a card's picture made for the first time, spends milliseconds in
// them before a frame can show the result. Where the system hands out large pages (2 MiB, one
// fault) to a program that asks for them, the C library's allocator asks when one of its tunables
// says so, and it reads its tunables only as a process starts: the program starts itself again,
// at once, with that tunable added. Where the system gives large pages to every program anyway, or
// to none, or where the user set the tunable either way, nothing changes.

#include <optional>
#include <string>
#include <string_view>

namespace sw::LargePages {

// What the system does with large pages, as its setting reads ("always [madvise] never").
enum class Offer { always, onRequest, never, unknown };
Offer offerOf(std::string_view setting);

// The value of the tunables to start again with: `current` (none when unset) with the allocator's
// large pages asked for. None when the system offers them only to everyone or no one, or when
// `current` says already what the allocator should do with them.
std::optional<std::string> tunablesFor(std::optional<std::string_view> current, Offer offer);

// Starts this program again in place (the same process, arguments and environment) with the
// tunables that tunablesFor gives, when it gives some: then it does not return. It returns, with
// nothing changed, when there is nothing to do or the new start failed. Call it first thing in
// main(), before any thread or window exists.
void startOnLargePages(char **argv);

}  // namespace sw::LargePages
