// The WAV reader and the conversion of its samples into the mixer's format.
#include "runtime/audio/wav_reader.h"

#include <SDL.h>
#include <cstring>
#include <vector>

using namespace rt;

namespace rt {

static uint16_t readU16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

static uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A chunk header (4-byte tag, 4-byte size) at `at`; false when the file ends first.
static bool readChunkHeader(const uint8_t* bytes, size_t size, uint64_t at, char tag[4], uint32_t& chunkSize)
{
    if (at > size || size - at < 8) return false;
    memcpy(tag, bytes + at, 4);
    chunkSize = readU32(bytes + at + 4);
    return true;
}

bool readWav(const uint8_t* bytes, size_t size, WavSound& sound)
{
    constexpr size_t headSize = 36;
    if (!bytes || size < headSize) return false;

    uint32_t formatSize = readU32(bytes + 16);
    int claimedChannels = readU16(bytes + 22);
    uint32_t rate = readU32(bytes + 24);
    int blockAlign = readU16(bytes + 32);
    int bits = readU16(bytes + 34);

    // Longer format chunks carry 14 bytes we skip, whatever their size says.
    uint64_t at = headSize + (formatSize != 16 ? 14 : 0);
    char tag[4];
    uint32_t chunkSize;
    if (!readChunkHeader(bytes, size, at, tag, chunkSize)) return false;
    if (memcmp(tag, "fact", 4) == 0) {
        at += 8 + uint64_t(chunkSize);
        if (!readChunkHeader(bytes, size, at, tag, chunkSize)) return false;
    }
    if (memcmp(tag, "data", 4) != 0) return false;
    at += 8;
    if (chunkSize > size - at) return false; // the samples run past the end of the file

    int channels = claimedChannels < 2 ? 1 : 2; // a count of 0 reads as mono, as its frame size shows
    if (rate < 100 || rate > 200000) return false;
    if (bits != 8 && bits != 16) return false;
    // A file of more than two channels plays as stereo from the first two of every frame.
    bool widerFrames = claimedChannels > 2 && blockAlign == claimedChannels * bits / 8;
    if (blockAlign != channels * bits / 8 && !widerFrames) return false;
    if (chunkSize < uint32_t(blockAlign) || chunkSize > maxWavDataSize) return false;

    sound.channels = channels;
    sound.samplesPerSecond = int(rate);
    sound.blockAlign = blockAlign;
    sound.bitsPerSample = bits;
    sound.data = bytes + at;
    sound.dataSize = chunkSize;
    return true;
}

std::vector<uint8_t> makeMixerSamples(const WavSound& sound, uint16_t format, int channels,
                                      int samplesPerSecond)
{
    if (!sound.data || sound.blockAlign <= 0 || channels <= 0 || samplesPerSecond <= 0) return {};
    uint64_t frames = sound.dataSize / uint32_t(sound.blockAlign);
    uint64_t outFrameBytes = uint64_t(SDL_AUDIO_BITSIZE(format) / 8) * uint64_t(channels);
    // Resampling may add a few frames at the end; the limit keeps a margin for them.
    uint64_t expected =
        (frames * uint64_t(samplesPerSecond) / uint64_t(sound.samplesPerSecond) + 64) * outFrameBytes;
    if (frames == 0 || outFrameBytes == 0 || expected > maxMixerSoundSize) return {};

    SDL_AudioFormat sourceFormat = sound.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, sourceFormat, Uint8(sound.channels), sound.samplesPerSecond, format,
                          Uint8(channels), samplesPerSecond) < 0)
        return {};
    // The conversion works in place in a buffer len_mult times the input.
    const uint32_t frameBytes = uint32_t(sound.channels * sound.bitsPerSample / 8);
    if (frameBytes == 0 || frameBytes > uint32_t(sound.blockAlign)) return {};
    uint64_t inputBytes = frames * frameBytes;
    uint64_t workBytes = inputBytes * uint64_t(cvt.len_mult);
    if (workBytes > maxConversionBuffer) return {};
    std::vector<Uint8> converted(workBytes);
    if (frameBytes == uint32_t(sound.blockAlign)) {
        memcpy(converted.data(), sound.data, inputBytes);
    } else { // the channels kept of each wider frame
        for (uint64_t frame = 0; frame < frames; ++frame)
            memcpy(converted.data() + frame * frameBytes, sound.data + frame * uint32_t(sound.blockAlign),
                   frameBytes);
    }
    cvt.buf = converted.data();
    cvt.len = int(inputBytes);
    if (SDL_ConvertAudio(&cvt) != 0 || cvt.len_cvt <= 0) return {};
    converted.resize(size_t(cvt.len_cvt));

    // Only whole output frames go to the mixer.
    size_t length = converted.size() - converted.size() % outFrameBytes;
    if (length == 0 || length > maxMixerSoundSize) return {};
    converted.resize(length);
    converted.shrink_to_fit(); // the conversion needed room for len_mult times the input
    return converted;
}

} // namespace rt
