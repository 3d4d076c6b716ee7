// BMP and PNG writing.
#include "runtime/gfx2d/image_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

#include "runtime/files/host_path.h"

using namespace rt;

namespace rt {

bool namesPng(const char* path)
{
    size_t length = strlen(path);
    return length > 4 && strcasecmp(path + length - 4, ".png") == 0;
}

// Source row of output row `row` (0 = top of the picture).
static const uint8_t* sourceRow(const uint8_t* pixels, int height, int rowLength, bool topFirst, int row)
{
    int index = topFirst ? row : height - 1 - row;
    return pixels + size_t(index) * rowLength * 3;
}

static void putU16(uint8_t* p, uint32_t value)
{
    p[0] = uint8_t(value), p[1] = uint8_t(value >> 8);
}
static void putU32(uint8_t* p, uint32_t value)
{
    putU16(p, value & 0xFFFF), putU16(p + 2, value >> 16);
}

static bool writeBmp(const char* path, const uint8_t* pixels, int width, int height, int rowLength,
                     bool topFirst)
{
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> file(54 + stride * height, 0);
    uint8_t* header = file.data();
    header[0] = 'B', header[1] = 'M';
    putU32(header + 2, uint32_t(file.size()));
    putU32(header + 10, 54);
    putU32(header + 14, 40);
    putU32(header + 18, uint32_t(width));
    putU32(header + 22, uint32_t(height));
    putU16(header + 26, 1);
    putU16(header + 28, 24);
    putU32(header + 38, 10000);
    putU32(header + 42, 10000);
    // BMP rows are stored bottom row first.
    for (int k = 0; k < height; ++k)
        memcpy(header + 54 + size_t(k) * stride,
               sourceRow(pixels, height, rowLength, topFirst, height - 1 - k), size_t(width) * 3);
    FILE* out = fopen(hostPath(path).c_str(), "wb");
    if (!out) return false;
    bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
    return fclose(out) == 0 && written;
}

static void stopOnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
static void ignoreWarning(png_structp, png_const_charp)
{
}

// Writes the prepared BGRA rows; only plain objects are made after setjmp.
static bool writePngRows(FILE* out, png_bytep* rows, int width, int height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

static bool writePng(const char* path, const uint8_t* pixels, int width, int height, int rowLength,
                     bool topFirst)
{
    std::vector<uint8_t> bgra(size_t(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (int row = 0; row < height; ++row) {
        const uint8_t* source = sourceRow(pixels, height, rowLength, topFirst, row);
        uint8_t* target = &bgra[size_t(row) * width * 4];
        rows[row] = target;
        for (int x = 0; x < width; ++x, source += 3, target += 4) {
            // Green 0 and blue 128 mark a transparent pixel whatever its red, so that the colour key
            // of sprites and every colour near it on that plane come out see-through.
            bool keyed = source[0] == 128 && source[1] == 0;
            target[0] = keyed ? 255 : source[0];
            target[1] = keyed ? 0 : source[1];
            target[2] = keyed ? 0 : source[2];
            target[3] = keyed ? 0 : 255;
        }
    }
    FILE* out = fopen(hostPath(path).c_str(), "wb");
    if (!out) return false;
    bool written = writePngRows(out, rows.data(), width, height);
    return fclose(out) == 0 && written;
}

bool writeImage(const char* path, const uint8_t* pixels, int width, int height, int rowLength, bool topFirst)
{
    if (width < 1 || height < 1 || rowLength < width) return false;
    return namesPng(path) ? writePng(path, pixels, width, height, rowLength, topFirst)
                          : writeBmp(path, pixels, width, height, rowLength, topFirst);
}

} // namespace rt
