// The sound mixer: whole sounds played once on numbered channels of one SDL audio device, in 16-bit
// stereo. Every device callback starts from silence and adds the playing channels in channel order,
// each scaled by its side gains, clipping at every addition. Playing, halting and asking take the
// device's lock, so the game thread and the device's thread never see a channel half-changed.
#pragma once

#include <SDL_audio.h>
#include <cstdint>
#include <vector>

namespace rt {

// Output level of each side of one mixer channel, as linear factors (1 = unchanged).
struct ChannelGain
{
    float left = 1;
    float right = 1;
};

class Mixer
{
  public:
    static constexpr SDL_AudioFormat format = AUDIO_S16SYS;
    static constexpr int outputChannels = 2;
    static constexpr int frameBytes = outputChannels * 2;

    Mixer() = default;
    ~Mixer() { close(); }
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Opens the default audio device at the rate, framesPerCallback frames at a time, in exactly the
    // mixer's format (SDL converts for the device if it must), with channelCount silent channels, and
    // starts it. False (and closed) when the device cannot be opened.
    bool open(int frequency, int framesPerCallback, int channelCount);
    // Stops the device and every channel.
    void close();
    bool isOpen() const { return device_ != 0; }
    int frequency() const { return frequency_; }

    // Plays `bytes` of samples (whole frames in the mixer's format) from their start on the channel at
    // the gain, in place of whatever it played. The samples must stay until the channel is halted or
    // has finished. Channels outside the mixer are ignored.
    void play(int channel, const uint8_t* samples, uint32_t bytes, ChannelGain gain);
    void halt(int channel);
    // True while samples remain to be mixed on the channel.
    bool isPlaying(int channel) const;
    // The gain the channel plays (or last played) at.
    ChannelGain gain(int channel) const;

  private:
    struct Channel
    {
        const uint8_t* next = nullptr; // the next sample to mix
        uint32_t remaining = 0;        // bytes left from next on; 0 when silent
        ChannelGain gain;
    };

    static void SDLCALL fillDeviceBuffer(void* mixer, Uint8* stream, int length);
    void mixInto(Uint8* stream, uint32_t length);
    bool isChannel(int channel) const { return channel >= 0 && channel < int(channels_.size()); }

    SDL_AudioDeviceID device_ = 0;
    int frequency_ = 0;
    std::vector<Channel> channels_;
    // One channel's samples scaled by its gain before they are added; sized once, when opened.
    std::vector<Sint16> scaled_;
};

} // namespace rt
