// Reading back what a display-test host drew, for hosts that check their own pixels: the packed
// colour (red + green × 256 + blue × 65536) at a world point or a screen pixel, counts over a screen
// area and the whole screen as bytes.
#pragma once

#include <SDL_opengl.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "runtime/runtime.h"

// The packed colour at the screen position of a world point (as the current 3D camera sees it).
inline double pixelAtPoint(double x, double y, double z)
{
    double sx = -1, sy = -1, depth = 0;
    rtProjectPoint(x, y, z, sx, sy, depth);
    return rtReadPixel(std::floor(sx), std::floor(sy));
}

// Pixels in the rectangle (edges included) that are not black.
inline int nonBlackPixels(int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            count += rtReadPixel(x, y) != 0;
    return count;
}

// The whole screen as RGBA bytes, bottom row first.
inline std::vector<uint8_t> screenBytes(int width, int height)
{
    std::vector<uint8_t> bytes(size_t(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

// Bytes that differ between two screens of the same size.
inline int differentBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += a[i] != b[i];
    return count;
}
