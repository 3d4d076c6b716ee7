// The two font images.
#pragma once

#include "picture.h"

namespace flipdata {

// The runtime's default font: 128 × 64, 8 × 8 cells, white glyphs with a dark outline.
Picture smallFont();

// The game's font: 192 × 128, a 16 × 8 grid of 12 × 16 cells with golden capitals.
Picture gameFont();

} // namespace flipdata
