// Fuzzes the WAV reader and the conversion of what it accepts into the mixer's format.
#include <SDL.h>
#include <cstddef>
#include <cstdint>

#include "runtime/audio/wav_reader.h"

using namespace rt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WavSound sound;
    if (!readWav(data, size, sound)) return 0;
    // Everything accepted lies inside the input.
    if (sound.data < data || sound.data + sound.dataSize > data + size) __builtin_trap();
    if (makeMixerSamples(sound, AUDIO_S16SYS, 2, 22050).size() % 4 != 0) __builtin_trap();
    return 0;
}
