// PNG decoding through libpng into 8-bit RGBA. The file is read into memory first and libpng reads
// from there, so a damaged file can never make it read past the data.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "runtime/gfx2d/images.h"

using namespace rt;

namespace rt {

static constexpr size_t maxFileBytes = size_t(1) << 29;

namespace {

struct MemoryReader
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

// Everything libpng allocated for one read; freed on every way out.
struct PngReadState
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

} // namespace

static void readFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->position) png_error(png, "read past the end of the data");
    memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

// libpng's messages are not the player's business: failures come back as a false result.
static void stopOnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
static void ignoreWarning(png_structp, png_const_charp)
{
}

bool readPng(const char* path, int colourKey, ImageBuffer& image)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, maxFileBytes)) {
        image.clear();
        return false;
    }
    return decodePng(bytes.data(), bytes.size(), path, colourKey, image);
}

// Reads all rows of the PNG into `rows`; the channel count comes back in `channels`. Only objects
// that need no destructor are made after setjmp, so a libpng error can jump back safely.
static bool readPngRows(PngReadState& state, MemoryReader& reader, const char* name,
                        std::vector<uint8_t>& rows, std::vector<png_bytep>& rowPointers, png_uint_32& width,
                        png_uint_32& height, int& channels)
{
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, ignoreWarning);
    if (!state.png) return false;
    state.info = png_create_info_struct(state.png);
    if (!state.info) return false;
    if (setjmp(png_jmpbuf(state.png))) return false;

    png_set_read_fn(state.png, &reader, readFromMemory);
    png_set_user_limits(state.png, maxImageSide, maxImageSide);
    png_read_info(state.png, state.info);
    int colourType = png_get_color_type(state.png, state.info);
    int bitDepth = png_get_bit_depth(state.png, state.info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_expand(state.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand(state.png);
    if (png_get_valid(state.png, state.info, PNG_INFO_tRNS)) png_set_expand(state.png);
    if (bitDepth == 16) png_set_strip_16(state.png);
    if (bitDepth < 8) png_set_packing(state.png);
    png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);

    width = png_get_image_width(state.png, state.info);
    height = png_get_image_height(state.png, state.info);
    channels = png_get_channels(state.png, state.info);
    bitDepth = png_get_bit_depth(state.png, state.info);
    colourType = png_get_color_type(state.png, state.info);
    if (channels != 1 && channels != 3 && channels != 4) return false;
    if (bitDepth != 8) {
        printf("File %s has bit depth %d.\n", name, bitDepth);
        printf("Only bit depth of 8 is supported.\n");
        return false;
    }
    if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB &&
        colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
        printf("File %s has unsupported color type.\n", name);
        printf("Types GRAY, RGB and RGB_ALPHA are supported.\n");
        return false;
    }
    if (width == 0 || height == 0 || int64_t(width) * height > maxImagePixels) return false;

    size_t rowBytes = png_get_rowbytes(state.png, state.info);
    if (rowBytes < size_t(width) * channels) return false;
    rows.resize(rowBytes * height);
    rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rowPointers[y] = rows.data() + y * rowBytes;
    png_read_image(state.png, rowPointers.data());
    png_read_end(state.png, nullptr);
    return true;
}

bool decodePng(const uint8_t* data, size_t size, const char* name, int colourKey, ImageBuffer& image)
{
    image.clear();
    MemoryReader reader{data, size, 0};
    std::vector<uint8_t> rows;
    std::vector<png_bytep> rowPointers;
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    try {
        PngReadState state;
        if (!readPngRows(state, reader, name, rows, rowPointers, width, height, channels)) return false;
        rowPointers = {};
        image.pixels.resize(size_t(width) * height * 4);
    } catch (const std::bad_alloc&) {
        image.clear();
        return false;
    }
    image.width = int(width);
    image.height = int(height);
    size_t rowBytes = rows.size() / height;
    for (png_uint_32 y = 0; y < height; ++y) {
        const uint8_t* source = rows.data() + y * rowBytes;
        uint8_t* target = image.pixel(0, int(y));
        for (png_uint_32 x = 0; x < width; ++x, source += channels, target += 4) {
            if (channels == 4) {
                memcpy(target, source, 4);
            } else if (channels == 3) {
                bool keyed =
                    colourKey != noColourKey && (source[0] | source[1] << 8 | source[2] << 16) == colourKey;
                target[0] = keyed ? 0 : source[0];
                target[1] = keyed ? 0 : source[1];
                target[2] = keyed ? 0 : source[2];
                target[3] = keyed ? 0 : 255;
            } else {
                target[0] = target[1] = target[2] = source[0];
                target[3] = 255;
            }
        }
    }
    return true;
}

} // namespace rt
