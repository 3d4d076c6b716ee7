// Decoded images and the BMP and PNG decoders. No GL here: everything can be called without a display.
// Image files come from outside the program, so every size and offset in them is checked before use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

// A decoded image: R, G, B, A per pixel, rows top row first, no gaps between rows.
struct ImageBuffer
{
    int width = 0;               // pixels per row
    int height = 0;              // rows
    std::vector<uint8_t> pixels; // width × height × 4 bytes

    void clear()
    {
        width = height = 0;
        pixels.clear();
        pixels.shrink_to_fit();
    }
    uint8_t* pixel(int x, int y) { return &pixels[(size_t(y) * width + x) * 4]; }
    const uint8_t* pixel(int x, int y) const { return &pixels[(size_t(y) * width + x) * 4]; }
};

// Colour keys: packed red + green × 256 + blue × 65536, made fully transparent by the decoders.
constexpr int noColourKey = -1;
constexpr int spriteColourKey = 0x8000FF; // red 255, green 0, blue 128
constexpr int fontColourKey = 0;          // black

// Largest image the decoders accept: a side of 32768 pixels (64 tiles of 512) and 64 M pixels in all,
// so that a forged header cannot ask for more memory than a real picture needs.
constexpr int maxImageSide = 32768;
constexpr int64_t maxImagePixels = int64_t(1) << 26;

// BMP files with 8 (palette), 24 or 32 bits per pixel, rows stored bottom-up (top-down for a negative
// height), the colour table after the info header's own size. Pixels equal to `colourKey` become all zero.
// False (and `image` empty) for anything else or any damage.
bool readBmp(const char* path, int colourKey, ImageBuffer& image);
bool decodeBmp(const uint8_t* data, size_t size, int colourKey, ImageBuffer& image);

// PNG files that become 8-bit gray, RGB or RGBA (palettes and low depths are expanded, 16-bit samples
// stripped). The colour key applies to RGB images only; RGBA keeps its own alpha. Unsupported depths
// and colour types print a message on standard output. `name` is the file name for those messages.
bool readPng(const char* path, int colourKey, ImageBuffer& image);
bool decodePng(const uint8_t* data, size_t size, const char* name, int colourKey, ImageBuffer& image);

// The whole file in `bytes`; false when it cannot be read or is larger than maxBytes.
bool readWholeFile(const char* path, std::vector<uint8_t>& bytes, size_t maxBytes);

} // namespace rt
