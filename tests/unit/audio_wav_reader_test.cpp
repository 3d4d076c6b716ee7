// The WAV reader's acceptance rules and the conversion into the mixer's format.
#include <gtest/gtest.h>

#include <SDL.h>

#include "runtime/audio/wav_reader.h"
#include "wav_file.h"

using namespace rt;

namespace {

bool reads(const WavFields& fields, WavSound* sound = nullptr)
{
    std::vector<uint8_t> file = wavFile(fields);
    WavSound result;
    bool ok = readWav(file.data(), file.size(), result);
    if (sound) *sound = result;
    return ok;
}

TEST(WavReader, ReadsThePlainFormatAndFindsTheSamples)
{
    WavFields fields;
    fields.samples = constantStereo(100, 1000, -1000);
    std::vector<uint8_t> file = wavFile(fields);
    WavSound sound;
    ASSERT_TRUE(readWav(file.data(), file.size(), sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samplesPerSecond, 22050);
    EXPECT_EQ(sound.blockAlign, 4);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.dataSize, 400u);
    EXPECT_EQ(sound.data, file.data() + 44);
}

TEST(WavReader, MonoEightBitAndMoreThanTwoChannelsTakenAsStereo)
{
    WavFields mono;
    mono.channels = 1, mono.bits = 8, mono.blockAlign = 1, mono.rate = 11025;
    WavSound sound;
    ASSERT_TRUE(reads(mono, &sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.bitsPerSample, 8);
    EXPECT_EQ(sound.samplesPerSecond, 11025);

    WavFields six;
    six.channels = 6; // block align 4 as for stereo
    ASSERT_TRUE(reads(six, &sound));
    EXPECT_EQ(sound.channels, 2);
    six.blockAlign = 12; // a real frame of six channels, of which the first two are played
    ASSERT_TRUE(reads(six, &sound));
    EXPECT_EQ(sound.channels, 2);
    six.blockAlign = 8; // neither stereo's frame nor six channels'
    EXPECT_FALSE(reads(six));
}

TEST(WavReader, SkipsOneFactChunkAndFourteenBytesOfALongerFormat)
{
    WavFields fields;
    fields.chunksBefore = {"fact"};
    WavSound sound;
    ASSERT_TRUE(reads(fields, &sound));
    EXPECT_EQ(sound.dataSize, 400u);

    fields.formatSize = 18;
    EXPECT_TRUE(reads(fields));
    fields.formatSize = 40; // still exactly 14 bytes skipped, whatever the size says
    EXPECT_TRUE(reads(fields));
}

TEST(WavReader, AnyOtherChunkWhereTheSamplesBelongFails)
{
    WavFields fields;
    fields.chunksBefore = {"LIST"};
    EXPECT_FALSE(reads(fields));
    fields.chunksBefore = {"fact", "fact"};
    EXPECT_FALSE(reads(fields));
    fields.chunksBefore = {"fact", "LIST"};
    EXPECT_FALSE(reads(fields));
}

TEST(WavReader, RejectsFormatsNoSoundBufferTakes)
{
    WavFields fields;
    fields.channels = 0; // mono, whose frames are 2 bytes, not 4
    EXPECT_FALSE(reads(fields));
    fields.blockAlign = 2;
    WavSound sound;
    ASSERT_TRUE(reads(fields, &sound));
    EXPECT_EQ(sound.channels, 1);
    fields = {};
    fields.blockAlign = 0;
    EXPECT_FALSE(reads(fields));
    fields = {};
    fields.bits = 24, fields.blockAlign = 6;
    EXPECT_FALSE(reads(fields));
    fields = {};
    fields.rate = 99;
    EXPECT_FALSE(reads(fields));
    fields.rate = 100;
    EXPECT_TRUE(reads(fields));
    fields.rate = 200001;
    EXPECT_FALSE(reads(fields));
    fields.rate = 0xFFFFFFFF;
    EXPECT_FALSE(reads(fields));
    fields = {};
    fields.samples.resize(3); // less than one frame
    EXPECT_FALSE(reads(fields));
}

TEST(WavReader, SizesPastTheEndFail)
{
    WavFields fields;
    fields.dataSizeField = 401; // one byte more than the file holds
    EXPECT_FALSE(reads(fields));
    fields.dataSizeField = 0xFFFFFFFF;
    EXPECT_FALSE(reads(fields));

    // A fact chunk whose size reaches past the end.
    WavFields withFact;
    withFact.chunksBefore = {"fact"};
    std::vector<uint8_t> file = wavFile(withFact);
    file[40] = file[41] = file[42] = file[43] = 0xFF;
    WavSound sound;
    EXPECT_FALSE(readWav(file.data(), file.size(), sound));

    // Every cut of a valid file short of its end fails.
    withFact.formatSize = 18;
    file = wavFile(withFact);
    for (size_t size = 0; size < file.size(); ++size)
        EXPECT_FALSE(readWav(file.data(), size, sound)) << "cut at " << size;
    EXPECT_TRUE(readWav(file.data(), file.size(), sound));
}

TEST(MixerSamples, ConvertsToSixteenBitStereoAtTheMixerRate)
{
    // 8-bit mono at 22050 Hz: byte 128 is silence, 192 half of full level.
    WavFields fields;
    fields.channels = 1, fields.blockAlign = 1, fields.bits = 8;
    fields.samples.assign(2205, 192);
    std::vector<uint8_t> file = wavFile(fields);
    WavSound sound;
    ASSERT_TRUE(readWav(file.data(), file.size(), sound));
    std::vector<uint8_t> converted = makeMixerSamples(sound, AUDIO_S16SYS, 2, 22050);
    ASSERT_EQ(converted.size(), 2205u * 4);
    auto* samples = reinterpret_cast<const Sint16*>(converted.data());
    EXPECT_EQ(samples[1000], 64 * 256);
    EXPECT_EQ(samples[1001], 64 * 256);

    // Twice the rate gives half the frames; a trailing partial frame is dropped.
    WavFields fast;
    fast.rate = 44100;
    fast.samples = constantStereo(4410, 100, -100);
    fast.samples.push_back(7);
    fast.samples.push_back(7);
    file = wavFile(fast);
    ASSERT_TRUE(readWav(file.data(), file.size(), sound));
    converted = makeMixerSamples(sound, AUDIO_S16SYS, 2, 22050);
    EXPECT_NEAR(converted.size() / 4.0, 2205, 8);
    EXPECT_EQ(converted.size() % 4, 0u);
}

TEST(MixerSamples, KeepTheFirstTwoChannelsOfWiderFrames)
{
    // Two frames of six 16-bit channels at the mixer's rate: front left and right are 1 and 2.
    const int16_t six[12] = {1, 2, 30, 40, 50, 60, 1, 2, 30, 40, 50, 60};
    WavSound sound{2, 22050, 12, 16, reinterpret_cast<const uint8_t*>(six), sizeof six};
    std::vector<uint8_t> converted = makeMixerSamples(sound, AUDIO_S16LSB, 2, 22050);
    ASSERT_EQ(converted.size(), 2u * 4);
    auto* samples = reinterpret_cast<const Sint16*>(converted.data());
    EXPECT_EQ(std::vector<Sint16>(samples, samples + 4), (std::vector<Sint16>{1, 2, 1, 2}));
}

TEST(MixerSamples, RefusesResultsBeyondTheLimit)
{
    // 1 MB of 8-bit mono at 100 Hz would become 220 times the frames, each four times the size.
    std::vector<uint8_t> samples(1 << 20, 128);
    WavSound sound{.channels = 1,
                   .samplesPerSecond = 100,
                   .blockAlign = 1,
                   .bitsPerSample = 8,
                   .data = samples.data(),
                   .dataSize = uint32_t(samples.size())};
    EXPECT_TRUE(makeMixerSamples(sound, AUDIO_S16SYS, 2, 22050).empty());
}

} // namespace
