// LineFileCache: one text file seen as up to 256 numbered lines, loaded whole when first used,
// changed in memory and written back when another line file is used or the program ends.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

constexpr int lineFileSlots = 256;
constexpr int lineSlotSize = 1024; // bytes per line, terminator included: longer lines are cut

struct LineFileCache
{
    std::string fileName;                    // the name as the game gave it; empty = none
    char lines[lineFileSlots][lineSlotSize]; // line n in slot n
    int32_t lastLine = 0;                    // highest line index loaded or written
    bool changed = false;                    // set by every put
};

// Writes the held lines back (slots 0 to lastLine, each followed by CR LF) when changed.
void writeBackLineFile(LineFileCache& cache);

} // namespace rt
