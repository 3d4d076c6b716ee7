// Sound effects: the mixer and the sound slot table. A slot holds one sound, loaded whole from a WAV
// file, in up to four copies that share its samples, so that a sound can overlap itself; each copy
// plays on a mixer channel of its own. The game fires sounds with a pan and a volume.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/audio/mixer.h"

struct SDL_Window;

namespace rt {

constexpr int soundSlotCount = 256;   // records in the table
constexpr int usableSoundSlots = 128; // slots the commands reach: 0..127
constexpr int maxSoundCopies = 4;
constexpr int mixerChannelCount = usableSoundSlots * maxSoundCopies;

struct SoundSystem
{
    SoundSystem() = default;
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;
    // Halts every channel and closes the mixer.
    ~SoundSystem();

    // Opens the default audio device through the mixer at 22050 Hz, 16-bit stereo, with one channel
    // per slot copy. False (and no mixer) when there is no audio device: every load then fails.
    bool setUp(SDL_Window* window);

    bool audioStarted = false; // SDL's audio subsystem, kept until the end even when no device opened
    Mixer mixer;               // sounds are converted to its format when loaded
};

struct SoundSlot
{
    SoundSlot() = default;
    SoundSlot(const SoundSlot&) = delete;
    SoundSlot& operator=(const SoundSlot&) = delete;
    // Stops the copies and frees the samples.
    ~SoundSlot();

    // Stops every copy and frees the samples; the slot is then empty.
    void empty();
    // Stops every copy; playing starts again from the beginning.
    void stop();
    // The mixer channel of a copy.
    int mixerChannel(int copy) const { return firstChannel + copy; }

    int copyCount = 0;                  // copies that hold the sound, 1..4; 0 when empty
    int nextCopy = 0;                   // the copy the next play tries first
    SoundSystem* soundSystem = nullptr; // set by loading, cleared when no sound could be made
    std::vector<uint8_t> samples;       // in the mixer's format, shared by all copies; empty: no sound
    int firstChannel = 0;               // mixer channel of copy 0 (slot × 4)
};

// Linear gain of an attenuation in hundredths of a decibel (0 = full level, -10000 = silence).
float gainOfHundredthsDb(int hundredthsDb);
// The side gains of a volume percentage (0..100) and a pan (-10000 full left .. 10000 full right):
// the volume lowers both sides by 100 - v dB, the pan lowers the far side by |pan| / 100 dB.
ChannelGain channelGain(int volumePercent, int pan);

} // namespace rt
