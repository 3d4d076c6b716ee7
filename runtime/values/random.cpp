// ISAAC and the runtime's seeding and draw.
#include "runtime/values/random.h"

#include <algorithm>

#include "runtime/runtime.h"

using namespace rt;

namespace rt {

namespace {

// The golden ratio the eight mixing words start from.
constexpr uint32_t golden = 0x9e3779b9;

struct MixingWords
{
    uint32_t w[8] = {golden, golden, golden, golden, golden, golden, golden, golden};

    // Scrambles the eight words so that every bit of each depends on every bit of the others.
    void mix()
    {
        uint32_t &a = w[0], &b = w[1], &c = w[2], &d = w[3], &e = w[4], &f = w[5], &g = w[6], &h = w[7];
        // clang-format off
        a ^= b << 11; d += a; b += c;
        b ^= c >> 2;  e += b; c += d;
        c ^= d << 8;  f += c; d += e;
        d ^= e >> 16; g += d; e += f;
        e ^= f << 10; h += e; f += g;
        f ^= g >> 4;  a += f; g += h;
        g ^= h << 8;  b += g; h += a;
        h ^= a >> 9;  c += h; a += b;
        // clang-format on
    }

    // One initialisation pass: for each group of eight memory words, add the group of source words,
    // mix and store the mixing words into the group.
    void passOver(uint32_t* memory, const uint32_t* source)
    {
        for (int i = 0; i < 256; i += 8) {
            for (int k = 0; k < 8; ++k)
                w[k] += source[i + k];
            mix();
            std::copy_n(w, 8, memory + i);
        }
    }
};

} // namespace

void IsaacGenerator::generate()
{
    b += ++c;
    for (int i = 0; i < 256; ++i) {
        uint32_t x = memory[i];
        switch (i & 3) {
        case 0:
            a ^= a << 13;
            break;
        case 1:
            a ^= a >> 6;
            break;
        case 2:
            a ^= a << 2;
            break;
        case 3:
            a ^= a >> 16;
            break;
        }
        a += memory[(i + 128) & 255];
        uint32_t y = memory[(x >> 2) & 255] + a + b;
        memory[i] = y;
        b = memory[(y >> 10) & 255] + x;
        results[i] = b;
    }
}

void IsaacGenerator::initialise()
{
    a = b = c = 0;
    MixingWords words;
    for (int i = 0; i < 4; ++i)
        words.mix();
    words.passOver(memory, results);
    words.passOver(memory, memory);
    generate();
    remaining = 256;
}

void IsaacGenerator::seed(uint32_t s)
{
    a = b = c = 0;
    std::fill_n(results, 256, 0u);
    MixingWords words;
    // The seed enters the first mixing word once per group of memory.
    for (int i = 0; i < 256; i += 8) {
        words.w[0] += s;
        words.mix();
        std::copy_n(words.w, 8, memory + i);
    }
    for (int i = 0; i < 4; ++i)
        words.mix();
    words.passOver(memory, results);
    words.passOver(memory, memory);
    generate();
    remaining = 256;
}

IsaacGenerator& randomGenerator()
{
    // Seeded with 0 until start-up seeds it from the clock, so draws before that are well defined.
    static IsaacGenerator generator = [] {
        IsaacGenerator g;
        g.seed(0);
        return g;
    }();
    return generator;
}

} // namespace rt

void rtSeedRandom(uint32_t seed)
{
    randomGenerator().seed(seed);
}

double rtRandom(double n)
{
    IsaacGenerator& generator = randomGenerator();
    generator.generate();
    uint32_t draw = generator.results[0];
    // A negative or not-a-number limit has no range to draw from (-1 would make the modulus 0): it
    // gives 0. Limits from 2^32 - 1 up draw from the whole 32-bit range, where the modulus would wrap.
    if (!(n >= 0)) return 0;
    if (n >= 4294967295.0) return double(draw);
    return double(draw % (uint32_t(n) + 1));
}
