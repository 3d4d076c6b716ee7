// Builds WAV file images for the sound tests: a valid file by default, every field open to change.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct WavFields
{
    uint16_t channels = 2;
    uint32_t rate = 22050;
    uint16_t blockAlign = 4;
    uint16_t bits = 16;
    uint32_t formatSize = 16;              // 14 extra bytes follow when this is not 16
    std::vector<std::string> chunksBefore; // tags of 4-byte chunks placed before "data"
    std::vector<uint8_t> samples = std::vector<uint8_t>(400, 0);
    int64_t dataSizeField = -1; // -1: the samples' real size
};

inline void putU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

inline void putTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

inline std::vector<uint8_t> wavFile(const WavFields& f)
{
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    putU32(out, 0);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putU32(out, f.formatSize);
    putU16(out, 1);
    putU16(out, f.channels);
    putU32(out, f.rate);
    putU32(out, f.rate * f.blockAlign);
    putU16(out, f.blockAlign);
    putU16(out, f.bits);
    if (f.formatSize != 16)
        for (int i = 0; i < 14; ++i)
            out.push_back(0);
    for (const std::string& tag : f.chunksBefore) {
        putTag(out, tag.c_str());
        putU32(out, 4);
        putU32(out, 0x12345678);
    }
    putTag(out, "data");
    putU32(out, f.dataSizeField >= 0 ? uint32_t(f.dataSizeField) : uint32_t(f.samples.size()));
    for (uint8_t sample : f.samples)
        out.push_back(sample);
    return out;
}

// 16-bit stereo frames with the same left and right value throughout.
inline std::vector<uint8_t> constantStereo(int frames, int16_t left, int16_t right)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < frames; ++i) {
        putU16(out, uint16_t(left));
        putU16(out, uint16_t(right));
    }
    return out;
}
