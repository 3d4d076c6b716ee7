// The mixer's device callback and the channel commands.
#include "runtime/audio/mixer.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace rt {

bool Mixer::open(int frequency, int framesPerCallback, int channelCount)
{
    close();
    if (framesPerCallback <= 0 || framesPerCallback > 32768) return false;
    SDL_AudioSpec wanted{}, obtained{};
    wanted.freq = frequency;
    wanted.format = format;
    wanted.channels = outputChannels;
    wanted.samples = Uint16(framesPerCallback);
    wanted.callback = fillDeviceBuffer;
    wanted.userdata = this;
    // The channels exist before the device can call back.
    channels_.assign(size_t(std::max(channelCount, 0)), Channel{});
    scaled_.assign(size_t(framesPerCallback) * outputChannels, 0);
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        channels_.clear();
        scaled_.clear();
        return false;
    }
    frequency_ = obtained.freq;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void Mixer::close()
{
    if (device_ != 0) SDL_CloseAudioDevice(device_); // waits for a callback under way
    device_ = 0;
    frequency_ = 0;
    channels_.clear();
    scaled_.clear();
}

void Mixer::play(int channel, const uint8_t* samples, uint32_t bytes, ChannelGain gain)
{
    if (!isOpen() || !isChannel(channel)) return;
    SDL_LockAudioDevice(device_);
    channels_[size_t(channel)] = Channel{samples, samples ? bytes - bytes % frameBytes : 0, gain};
    SDL_UnlockAudioDevice(device_);
}

void Mixer::halt(int channel)
{
    if (!isOpen() || !isChannel(channel)) return;
    SDL_LockAudioDevice(device_);
    channels_[size_t(channel)].remaining = 0;
    SDL_UnlockAudioDevice(device_);
}

bool Mixer::isPlaying(int channel) const
{
    if (!isOpen() || !isChannel(channel)) return false;
    SDL_LockAudioDevice(device_);
    bool playing = channels_[size_t(channel)].remaining > 0;
    SDL_UnlockAudioDevice(device_);
    return playing;
}

ChannelGain Mixer::gain(int channel) const
{
    if (!isChannel(channel)) return {};
    return channels_[size_t(channel)].gain;
}

void SDLCALL Mixer::fillDeviceBuffer(void* mixer, Uint8* stream, int length)
{
    static_cast<Mixer*>(mixer)->mixInto(stream, uint32_t(std::max(length, 0)));
}

// Runs on the device's thread with its lock held.
void Mixer::mixInto(Uint8* stream, uint32_t length)
{
    memset(stream, 0, length); // silence in signed 16-bit samples
    const uint32_t scaledBytes = uint32_t(scaled_.size() * sizeof(Sint16));
    for (Channel& channel : channels_) {
        const bool unchanged = channel.gain.left == 1 && channel.gain.right == 1;
        // A callback longer than asked for is mixed in pieces the scaling buffer holds.
        for (uint32_t at = 0; channel.remaining > 0 && at < length;) {
            uint32_t piece = std::min({channel.remaining, length - at, unchanged ? length : scaledBytes});
            piece -= piece % frameBytes;
            if (piece == 0) break; // a device buffer ending in part of a frame: the rest goes next time
            const Uint8* source = channel.next;
            if (!unchanged) {
                memcpy(scaled_.data(), channel.next, piece);
                for (uint32_t i = 0; i < piece / sizeof(Sint16); i += 2) {
                    scaled_[i] = Sint16(std::lround(scaled_[i] * channel.gain.left));
                    scaled_[i + 1] = Sint16(std::lround(scaled_[i + 1] * channel.gain.right));
                }
                source = reinterpret_cast<const Uint8*>(scaled_.data());
            }
            SDL_MixAudioFormat(stream + at, source, format, piece, SDL_MIX_MAXVOLUME);
            channel.next += piece;
            channel.remaining -= piece;
            at += piece;
        }
    }
}

} // namespace rt
