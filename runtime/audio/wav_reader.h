// The sound effect file reader: a WAV file image in memory becomes a described block of PCM samples,
// and that block becomes samples in the mixer's own format. Nothing here needs an audio device, so
// tests and the fuzzer call these functions directly. The bytes come from outside and are untrusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

// Largest sound, in bytes of the file's samples; largest sound after conversion to the mixer's format
// (64 MB hold 12 minutes of 22050 Hz 16-bit stereo) and largest buffer the conversion may work in.
constexpr uint32_t maxWavDataSize = 0x0FFFFFFF;
constexpr size_t maxMixerSoundSize = size_t(64) << 20;
constexpr size_t maxConversionBuffer = size_t(256) << 20;

// A sound as the file describes it. `data` points into the file image it was read from.
struct WavSound
{
    int channels = 0;         // 1 or 2 (files that claim more are taken as stereo)
    int samplesPerSecond = 0; // 100 .. 200000
    int blockAlign = 0;       // bytes per sample frame in the file: channels × bitsPerSample / 8, or
                              // more for a file of more channels, whose first two are kept
    int bitsPerSample = 0;    // 8 (unsigned) or 16 (signed, little-endian)
    const uint8_t* data = nullptr;
    uint32_t dataSize = 0; // bytes; at least one whole frame
};

// Reads a file image laid out as: RIFF header (12 bytes, not checked), "fmt " tag and size, the 16
// bytes of the format (tag ignored, channels, rate, average rate ignored, block align, bits), 14 more
// bytes when the format size is not 16, then one optional "fact" chunk (skipped) and the "data" chunk.
// Any other chunk where "data" belongs, a short file, a data chunk that runs past the end, zero
// channels, a rate outside 100..200000 Hz, bits other than 8 or 16, or a block align that does not
// match channels and bits: false.
bool readWav(const uint8_t* bytes, size_t size, WavSound& sound);

// The samples converted to the mixer's format (SDL audio format, channels, rate); a trailing partial
// frame is dropped. Empty when the conversion fails or the result would be larger than
// maxMixerSoundSize; std::bad_alloc when the memory runs out.
std::vector<uint8_t> makeMixerSamples(const WavSound& sound, uint16_t format, int channels,
                                      int samplesPerSecond);

} // namespace rt
