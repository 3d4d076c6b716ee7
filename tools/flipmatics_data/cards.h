// Cards (64 × 60): the forty symbols, their faces, the card back and the cursor steps.
#pragma once

#include "picture.h"
#include "shapes.h"

#include <vector>

namespace flipdata {

constexpr int cardW = 64, cardH = 60;

struct Detail
{
    Sdf shape;
    Colour colour;
};

struct Symbol
{
    Sdf shape; // in symbol units, about -1..1
    Colour colour;
    std::vector<Detail> details;
};

// The forty card symbols in the order of the pic00..pic39 files.
std::vector<Symbol> cardSymbols();

Picture cardFace(const Symbol& s);
Picture cardBack();
// Cursor step k (0..3): a frame around the card with corner brackets; it grows brighter and the
// brackets longer with k, and the game plays the steps forwards and back, so the frame pulses.
Picture cursorStep(int k);

} // namespace flipdata
