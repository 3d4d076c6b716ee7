// Blocks for the planner's search arrays.
#pragma once

#include <cstddef>

namespace rt {

// A block of bytes, zeroed when asked, or null. Large blocks come straight from the system, zeroed, as
// huge pages where it offers them: a search over a large grid touches tens of megabytes once, and
// taking them in 2 MB at a time instead of 4 KB saves most of the cost of the first touch. Only the
// touched pages of a large block take memory.
void* allocateSearchMemory(size_t bytes, bool zeroed);
// Give back a block of allocateSearchMemory with the same size; null is fine.
void releaseSearchMemory(void* block, size_t bytes);

} // namespace rt
