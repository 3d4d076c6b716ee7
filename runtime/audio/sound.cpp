// The mixer, the sound slots and the sound commands.
#include "runtime/audio/sound.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "runtime/audio/wav_reader.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// ---- Mixer

bool SoundSystem::setUp(SDL_Window*)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // Without a device the subsystem stays up all the same: quitting it waits up to 100 ms for the
    // audio driver's device watcher to notice, which would hold up start-up. It goes at the end.
    audioStarted = true;
    return mixer.open(22050, 1024, mixerChannelCount);
}

SoundSystem::~SoundSystem()
{
    mixer.close();
    if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

float gainOfHundredthsDb(int hundredthsDb)
{
    return float(std::pow(10.0, hundredthsDb / 2000.0));
}

ChannelGain channelGain(int volumePercent, int pan)
{
    float level = gainOfHundredthsDb(100 * volumePercent - 10000);
    ChannelGain gain{level, level};
    if (pan > 0) gain.left *= gainOfHundredthsDb(-pan);
    if (pan < 0) gain.right *= gainOfHundredthsDb(pan);
    return gain;
}

// ---- Slots

SoundSlot::~SoundSlot()
{
    empty();
}

void SoundSlot::stop()
{
    if (samples.empty() || !soundSystem) return;
    for (int copy = 0; copy < copyCount; ++copy)
        soundSystem->mixer.halt(mixerChannel(copy));
}

void SoundSlot::empty()
{
    stop();
    std::vector<uint8_t>().swap(samples); // the memory goes too, not only the contents
    copyCount = 0;
}

// Slot numbers of the commands: truncated, 128 and above are slot 127; -1 for negative numbers.
static int soundSlotIndex(double slot)
{
    int index = toInt(slot);
    if (index < 0) return -1;
    return std::min(index, usableSoundSlots - 1);
}

// A file's bytes, or false when it cannot be read or is too large to be a sound.
static bool readWholeFile(const char* path, std::vector<uint8_t>& bytes)
{
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    bool ok = fseek(file, 0, SEEK_END) == 0;
    long size = ok ? ftell(file) : -1;
    // The samples, their headers and whatever chunks follow: a little over the largest sound.
    ok = size >= 0 && uint64_t(size) <= uint64_t(maxWavDataSize) + (1 << 20) && fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        ok = fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    fclose(file);
    return ok;
}

} // namespace rt

double rtLoadSound(const RtString& name, double slot, double copies)
{
    // The lookup's result is not needed: a name found nowhere fails to open below.
    char path[resolvedPathCapacity];
    snprintf(path, sizeof path, "%s", name.c_str());
    if (engine.dataResolver) rtResolveDataFile(engine.dataResolver, path, path);
    int index = soundSlotIndex(slot);
    if (index < 0 || !engine.soundSlots) return 0;
    SoundSlot& target = engine.soundSlots[index];
    target.empty();
    target.nextCopy = 0;
    target.soundSystem = engine.soundSystem;
    target.firstChannel = index * maxSoundCopies;
    int copyCount = std::clamp(toInt(copies), 1, maxSoundCopies);
    SoundSystem* system = engine.soundSystem;
    if (!system || !system->mixer.isOpen()) return 0;

    try {
        std::vector<uint8_t> file;
        WavSound wav;
        if (!readWholeFile(path, file)) {
            rt::logLoadFailure("sound", name.c_str(), rt::LoadFailure::NotFound);
            return 0;
        }
        if (!readWav(file.data(), file.size(), wav)) {
            rt::logLoadFailure("sound", name.c_str(), rt::LoadFailure::Undecodable);
            return 0;
        }
        target.samples =
            makeMixerSamples(wav, Mixer::format, Mixer::outputChannels, system->mixer.frequency());
    } catch (const std::bad_alloc&) {
        target.samples.clear(); // a sound too large for the memory left is a sound that cannot be made
    }
    if (target.samples.empty()) {
        target.soundSystem = nullptr;
        return 0;
    }
    target.copyCount = copyCount;
    return 1;
}

double rtPlaySound(double slot, double pan, double volume)
{
    int index = soundSlotIndex(slot);
    // NaN stays NaN through the clamps and becomes 0 in toInt.
    int panValue = toInt(std::clamp(pan, -1.0, 1.0) * 10000);
    int volumePercent = toInt(std::clamp(volume * 100, 0.0, 100.0));
    if (index < 0 || !engine.soundSlots) return -1;
    SoundSlot& target = engine.soundSlots[index];
    SoundSystem* system = target.soundSystem;
    if (!system || target.copyCount == 0 || !system->mixer.isOpen() || target.samples.empty()) return -1;
    Mixer& mixer = system->mixer;

    // A busy copy hands over to the next one in turn, which is restarted if it plays too; a sound
    // with a single copy is left to finish.
    if (mixer.isPlaying(target.mixerChannel(target.nextCopy))) {
        if (target.copyCount == 1) return -1;
        target.nextCopy = (target.nextCopy + 1) % target.copyCount;
    }
    mixer.play(target.mixerChannel(target.nextCopy), target.samples.data(), uint32_t(target.samples.size()),
               channelGain(volumePercent, panValue));
    return index * 256 + target.nextCopy;
}

double rtSoundPlaying(double channel)
{
    int value = toInt(channel);
    if (value < 0 || !engine.soundSlots) return 0;
    int index = value >> 8, copy = value & 255;
    if (index >= usableSoundSlots) return 0;
    const SoundSlot& target = engine.soundSlots[index];
    if (copy >= target.copyCount || target.samples.empty() || !target.soundSystem) return 0;
    return target.soundSystem->mixer.isPlaying(target.mixerChannel(copy)) ? 1 : 0;
}

void rtStopAllSounds()
{
    if (!engine.soundSlots) return;
    for (int index = 0; index < usableSoundSlots; ++index)
        engine.soundSlots[index].stop();
}
