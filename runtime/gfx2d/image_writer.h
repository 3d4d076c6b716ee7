// Writing pictures as files: 24-bit BMP, or 8-bit RGBA PNG for names ending in ".png" (any case).
#pragma once

#include <cstdint>

namespace rt {

class OpenGLRainbows;

// `pixels` holds rows of rowLength 3-byte pixels (blue, green, red), packed tightly; `topFirst` says
// whether its first row is the picture's top row. In a PNG, pixels of the sprite colour key (red 255,
// green 0, blue 128) become fully transparent. False when the file cannot be written.
bool writeImage(const char* path, const uint8_t* pixels, int width, int height, int rowLength, bool topFirst);
// True for names longer than 4 characters ending in ".png" in any case.
bool namesPng(const char* path);

// The slot's picture, upright; false for an empty slot or a file that cannot be written.
bool saveSprite(OpenGLRainbows& renderer, int slot, const char* path);
// The whole screen.
bool saveScreen(OpenGLRainbows& renderer, const char* path);

} // namespace rt
