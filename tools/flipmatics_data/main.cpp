// Makes Flipmatics' data: the background, the two font images, forty card faces, the card back, the
// cursor steps, the three end pictures and the four sounds. Everything is drawn and synthesised here
// from code with no randomness and no input files, so every run writes the same bytes.
//
// Usage: make_flipmatics_data <folder>
// Writes <folder>/smalfont.bmp, <folder>/images/*.bmp and <folder>/sounds/*.wav.
//
// The drawing and the synthesis live in the files next to this one; this file writes the BMP files
// and decides which file goes where.
#include "cards.h"
#include "fonts.h"
#include "pictures.h"
#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace flipdata {
namespace {

struct Key
{
    uint8_t r, g, b;
};
const Key spriteKey{255, 0, 128}; // sprites: red 255, green 0, blue 128 is transparent
const Key fontKey{0, 0, 0};       // fonts: black is transparent

// Pixels that are less than half covered become the colour key; the others keep their own colour at
// full strength, so edges against the key stay clean.
void writeBmp(const Picture& pic, const std::filesystem::path& path, Key key = spriteKey)
{
    int stride = (pic.width * 3 + 3) & ~3;
    uint32_t dataSize = uint32_t(stride) * pic.height;
    std::vector<uint8_t> file(54 + dataSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        file[at] = uint8_t(v);
        file[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(pic.width));
    put32(22, uint32_t(pic.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    auto byte = [](double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
    for (int y = 0; y < pic.height; ++y) {
        uint8_t* row = &file[54 + size_t(pic.height - 1 - y) * stride]; // rows stored bottom-up
        for (int x = 0; x < pic.width; ++x) {
            size_t i = size_t(y) * pic.width + x;
            uint8_t r = key.r, g = key.g, b = key.b;
            if (pic.cover[i] >= 0.5) {
                const Colour& c = pic.colour[i];
                r = byte(c.r / pic.cover[i]);
                g = byte(c.g / pic.cover[i]);
                b = byte(c.b / pic.cover[i]);
                if (r == key.r && g == key.g && b == key.b) b = b < 255 ? b + 1 : b - 1; // stay visible
            }
            row[x * 3] = b;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = r;
        }
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

std::string twoDigits(int n)
{
    char text[16];
    snprintf(text, sizeof text, "%02d", n);
    return text;
}

} // namespace
} // namespace flipdata

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    using namespace flipdata;
    namespace fs = std::filesystem;
    fs::path root = argv[1], images = root / "images", sounds = root / "sounds";
    fs::create_directories(images);
    fs::create_directories(sounds);

    writeBmp(smallFont(), root / "smalfont.bmp", fontKey);
    writeBmp(gameFont(), images / "myfont.bmp", fontKey);
    writeBmp(background(), images / "background.bmp");
    std::vector<Symbol> symbols = cardSymbols();
    if (symbols.size() != 40) {
        std::fprintf(stderr, "expected 40 card pictures, have %zu\n", symbols.size());
        return 1;
    }
    for (size_t k = 0; k < symbols.size(); ++k)
        writeBmp(cardFace(symbols[k]), images / ("pic" + twoDigits(int(k)) + ".bmp"));
    writeBmp(cardBack(), images / "usd.bmp");
    for (int k = 0; k < 4; ++k)
        writeBmp(cursorStep(k), images / ("csr" + std::to_string(k) + ".bmp"));
    writeBmp(pictureWin(), images / "picwin.bmp");
    writeBmp(pictureLose(), images / "piclose.bmp");
    writeBmp(pictureEnd(), images / "picend.bmp");

    writeWav(clickSound(), sounds / "click.wav");
    writeWav(failSound(), sounds / "fail.wav");
    writeWav(okSound(), sounds / "ok.wav");
    writeWav(winSound(), sounds / "win.wav");
    return 0;
}
