// BMP decoding: 8-bit palette, 24-bit and 32-bit pixels; compression and the other header fields are
// not looked at. Rows are stored bottom-up, or top-down when the stored height is negative.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/gfx2d/images.h"

using namespace rt;

namespace rt {

static constexpr size_t fileHeaderSize = 14;
static constexpr size_t minInfoHeaderSize = 16;     // up to and including the bit count
static constexpr size_t classicInfoHeaderSize = 40; // the colour table follows at least this far in
static constexpr size_t maxFileBytes = size_t(1) << 29;

static uint32_t readU32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
static int32_t readI32(const uint8_t* p)
{
    return int32_t(readU32(p));
}
static uint16_t readU16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

bool readWholeFile(const char* path, std::vector<uint8_t>& bytes, size_t maxBytes)
{
    bytes.clear();
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    bool ok = fseek(file, 0, SEEK_END) == 0;
    long size = ok ? ftell(file) : -1;
    ok = size >= 0 && size_t(size) <= maxBytes && fseek(file, 0, SEEK_SET) == 0;
    try {
        if (ok) bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (ok && size > 0) ok = fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    fclose(file);
    if (!ok) bytes.clear();
    return ok;
}

bool readBmp(const char* path, int colourKey, ImageBuffer& image)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, maxFileBytes)) {
        image.clear();
        return false;
    }
    return decodeBmp(bytes.data(), bytes.size(), colourKey, image);
}

static bool decodeBmpPixels(const uint8_t* data, size_t size, int colourKey, ImageBuffer& image)
{
    if (size < fileHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
    // The info header and colour table run from the end of the file header to the pixel data.
    size_t pixelOffset = readU32(data + 10);
    if (pixelOffset < fileHeaderSize + minInfoHeaderSize || pixelOffset > size) return false;
    const uint8_t* block = data + fileHeaderSize;
    size_t blockSize = pixelOffset - fileHeaderSize;

    int32_t width = readI32(block + 4);
    int32_t storedHeight = readI32(block + 8);
    int bitCount = readU16(block + 14);
    if (bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
    if (storedHeight == INT32_MIN) return false;
    int32_t height = std::abs(storedHeight);
    if (width < 1 || height < 1 || width > maxImageSide || height > maxImageSide) return false;
    if (int64_t(width) * height > maxImagePixels) return false;

    size_t stride = (size_t(width) * bitCount / 8 + 3) & ~size_t(3);
    if (stride * size_t(height) > size - pixelOffset) return false;
    const uint8_t* rows = data + pixelOffset;
    bool topDown = storedHeight < 0;

    image.width = width;
    image.height = height;
    image.pixels.assign(size_t(width) * height * 4, 0);
    // The colour table follows the info header, whose own size (40, 108 or 124 bytes) comes first.
    size_t colourTableOffset = std::max<size_t>(readU32(block), classicInfoHeaderSize);
    size_t paletteEntries = blockSize > colourTableOffset ? (blockSize - colourTableOffset) / 4 : 0;
    const uint8_t* palette = block + std::min(colourTableOffset, blockSize);
    int bytesPerPixel = bitCount / 8;
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = rows + size_t(topDown ? y : height - 1 - y) * stride;
        uint8_t* target = image.pixel(0, y);
        for (int x = 0; x < width; ++x, source += bytesPerPixel, target += 4) {
            uint8_t red = 0, green = 0, blue = 0;
            if (bitCount == 8) {
                // Indices beyond a short colour table are black.
                if (*source < paletteEntries) {
                    const uint8_t* entry = palette + size_t(*source) * 4;
                    blue = entry[0], green = entry[1], red = entry[2];
                }
            } else {
                blue = source[0], green = source[1], red = source[2];
            }
            if (colourKey != noColourKey && (red | green << 8 | blue << 16) == colourKey) continue;
            target[0] = red, target[1] = green, target[2] = blue, target[3] = 255;
        }
    }
    return true;
}

bool decodeBmp(const uint8_t* data, size_t size, int colourKey, ImageBuffer& image)
{
    bool ok = false;
    try {
        ok = decodeBmpPixels(data, size, colourKey, image);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) image.clear();
    return ok;
}

} // namespace rt
