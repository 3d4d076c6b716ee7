// Small image files built in memory for the 2D tests: BMP bytes with any header values, and PNG files
// of any colour type and depth written through libpng.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace testimages {

inline void putLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

// A BMP with an info header of `headerSize` bytes (40, or 108 and 124 for the later kinds), the colour
// table and the given pixel rows (already padded, in stored order).
inline std::vector<uint8_t> bmp(int32_t width, int32_t height, int bitCount, const std::vector<uint8_t>& rows,
                                const std::vector<uint32_t>& palette = {}, uint32_t headerSize = 40)
{
    size_t tableAt = 14 + headerSize;
    size_t offset = tableAt + palette.size() * 4;
    std::vector<uint8_t> bytes(offset, 0);
    bytes[0] = 'B', bytes[1] = 'M';
    putLe(bytes, 2, uint32_t(offset + rows.size()), 4);
    putLe(bytes, 10, uint32_t(offset), 4);
    putLe(bytes, 14, headerSize, 4);
    putLe(bytes, 18, uint32_t(width), 4);
    putLe(bytes, 22, uint32_t(height), 4);
    putLe(bytes, 26, 1, 2);
    putLe(bytes, 28, uint32_t(bitCount), 2);
    for (size_t i = 0; i < palette.size(); ++i)
        putLe(bytes, tableAt + i * 4, palette[i], 4); // 0x00RRGGBB
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    return bytes;
}

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

// A PNG of the colour type and bit depth; `rows` holds the packed samples of each row, top first.
inline bool png(const std::string& path, int width, int height, int colourType, int bitDepth,
                const std::vector<std::vector<uint8_t>>& rows, const std::vector<png_color>& palette = {},
                const std::vector<uint8_t>& transparency = {})
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!transparency.empty())
        png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    png_write_info(png, info);
    for (const auto& row : rows)
        png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

} // namespace testimages
