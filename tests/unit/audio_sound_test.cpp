// The sound commands on SDL's dummy audio device (which plays in real time) and on its disk device
// (which writes what it plays to a file).
#include <gtest/gtest.h>

#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "runtime/audio/sound.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/runtime.h"
#include "wav_file.h"

using namespace rt;

namespace {

std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// A sound of `seconds` at 22050 Hz, 16-bit stereo.
std::string soundFile(double seconds, int16_t left = 1000, int16_t right = -1000)
{
    WavFields fields;
    fields.samples = constantStereo(int(22050 * seconds), left, right);
    return writeFile("sound" + std::to_string(seconds) + ".wav", wavFile(fields));
}

class Sound : public testing::Test
{
  protected:
    void SetUp() override
    {
        engine.dataResolver = createArchiveResolver();
        engine.soundSystem = new SoundSystem;
        engine.soundSlots = new SoundSlot[soundSlotCount];
        ASSERT_TRUE(engine.soundSystem->setUp(nullptr)) << SDL_GetError();
    }
    void TearDown() override
    {
        releaseArchiveResolver(engine.dataResolver);
        engine.dataResolver = nullptr;
        delete[] engine.soundSlots;
        engine.soundSlots = nullptr;
        delete engine.soundSystem;
        engine.soundSystem = nullptr;
    }
};

TEST_F(Sound, CopiesTakeTurnsWhileBusyAndTheFourthFireRestartsTheFirst)
{
    ASSERT_EQ(rtLoadSound(soundFile(2).c_str(), 5, 3), 1);
    EXPECT_EQ(rtPlaySound(5, 0, 1), 5 * 256 + 0);
    EXPECT_EQ(rtPlaySound(5, 0, 1), 5 * 256 + 1);
    EXPECT_EQ(rtPlaySound(5, 0, 1), 5 * 256 + 2);
    for (int copy = 0; copy < 3; ++copy)
        EXPECT_EQ(rtSoundPlaying(5 * 256 + copy), 1);
    EXPECT_EQ(rtSoundPlaying(5 * 256 + 3), 0); // no such copy
    EXPECT_EQ(rtPlaySound(5, 0, 1), 5 * 256 + 0);
    EXPECT_EQ(rtSoundPlaying(5 * 256 + 0), 1);

    rtStopAllSounds();
    for (int copy = 0; copy < 3; ++copy)
        EXPECT_EQ(rtSoundPlaying(5 * 256 + copy), 0);
    // A finished copy is used again: the next copy only moves on when the current one is busy.
    EXPECT_EQ(rtPlaySound(5, 0, 1), 5 * 256 + 0);
}

TEST_F(Sound, ASingleCopyIsNotRestartedWhilePlayingButReplaysOnceDone)
{
    ASSERT_EQ(rtLoadSound(soundFile(0.2).c_str(), 0, 1), 1);
    EXPECT_EQ(rtPlaySound(0, 0, 1), 0);
    EXPECT_EQ(rtPlaySound(0, 0, 1), -1);
    EXPECT_EQ(rtSoundPlaying(0), 1);
    Uint32 start = SDL_GetTicks();
    while (rtSoundPlaying(0) && SDL_GetTicks() - start < 5000)
        SDL_Delay(10);
    EXPECT_EQ(rtSoundPlaying(0), 0);
    EXPECT_GE(SDL_GetTicks() - start, 100u); // it played on; it was not cut short
    EXPECT_EQ(rtPlaySound(0, 0, 1), 0);
}

TEST_F(Sound, CopiesAreHeldToOneToFour)
{
    std::string path = soundFile(2);
    ASSERT_EQ(rtLoadSound(path.c_str(), 1, 0), 1);
    EXPECT_EQ(rtPlaySound(1, 0, 1), 256);
    EXPECT_EQ(rtPlaySound(1, 0, 1), -1);

    ASSERT_EQ(rtLoadSound(path.c_str(), 2, 7), 1);
    for (int copy = 0; copy < 4; ++copy)
        EXPECT_EQ(rtPlaySound(2, 0, 1), 512 + copy);
    EXPECT_EQ(rtPlaySound(2, 0, 1), 512); // four copies, then the first again
}

TEST_F(Sound, SlotsFrom128UpAreSlot127AndNegativeSlotsHaveNoSound)
{
    ASSERT_EQ(rtLoadSound(soundFile(1).c_str(), 200, 1), 1);
    EXPECT_EQ(rtPlaySound(127, 0, 1), 127 * 256);
    rtStopAllSounds();
    EXPECT_EQ(rtPlaySound(200.7, 0, 1), 127 * 256);
    EXPECT_EQ(rtLoadSound(soundFile(1).c_str(), -1, 1), 0);
    EXPECT_EQ(rtPlaySound(-1, 0, 1), -1);
}

TEST_F(Sound, ChannelsThatNamePlayingCopiesOnly)
{
    EXPECT_EQ(rtSoundPlaying(-1), 0);
    EXPECT_EQ(rtSoundPlaying(0), 0);         // empty slot
    EXPECT_EQ(rtSoundPlaying(1e9), 0);       // a slot far past the table
    EXPECT_EQ(rtSoundPlaying(200 * 256), 0); // a slot the commands never fill
    EXPECT_EQ(rtPlaySound(3, 0, 1), -1);     // empty slot
}

TEST_F(Sound, AFailedLoadEmptiesTheSlotAndStopsItsOldSound)
{
    ASSERT_EQ(rtLoadSound(soundFile(2).c_str(), 4, 2), 1);
    EXPECT_EQ(rtPlaySound(4, 0, 1), 4 * 256);
    WavFields broken;
    broken.chunksBefore = {"LIST"};
    EXPECT_EQ(rtLoadSound(writeFile("broken.wav", wavFile(broken)).c_str(), 4, 2), 0);
    EXPECT_EQ(engine.soundSlots[4].copyCount, 0);
    EXPECT_EQ(rtSoundPlaying(4 * 256), 0);
    EXPECT_EQ(rtPlaySound(4, 0, 1), -1);
    EXPECT_EQ(rtLoadSound("no such file.wav", 4, 2), 0);
    // Windows-style separators name the same file.
    std::string path = soundFile(1);
    std::string windowsPath = path;
    windowsPath[windowsPath.rfind('/')] = '\\';
    EXPECT_EQ(rtLoadSound(windowsPath.c_str(), 4, 1), 1);
}

TEST_F(Sound, VolumeAndPanAreClampedAndBecomeSideGains)
{
    ASSERT_EQ(rtLoadSound(soundFile(2).c_str(), 6, 4), 1);
    const ChannelGain* gains = engine.soundSystem->gains + 6 * maxSoundCopies;
    EXPECT_EQ(rtPlaySound(6, 0, 1.5), 6 * 256 + 0);
    EXPECT_FLOAT_EQ(gains[0].left, 1);
    EXPECT_FLOAT_EQ(gains[0].right, 1);
    EXPECT_EQ(rtPlaySound(6, 2, 1), 6 * 256 + 1); // full right: left at -100 dB
    EXPECT_NEAR(gains[1].left, 1e-5, 1e-9);
    EXPECT_FLOAT_EQ(gains[1].right, 1);
    EXPECT_EQ(rtPlaySound(6, -0.25, -1), 6 * 256 + 2); // silent, a quarter to the left
    EXPECT_NEAR(gains[2].left, 1e-5, 1e-9);
    EXPECT_NEAR(gains[2].right, 1e-5 * std::pow(10, -2500 / 2000.0), 1e-12);
    EXPECT_EQ(rtPlaySound(6, NAN, 0.5), 6 * 256 + 3); // -50 dB, centred
    EXPECT_NEAR(gains[3].left, std::pow(10, -2.5), 1e-7);
    EXPECT_NEAR(gains[3].right, std::pow(10, -2.5), 1e-7);
}

TEST(SoundWithoutDevice, EveryLoadFailsAndNothingPlays)
{
    SoundSystem closed; // never set up: no audio device
    engine.soundSystem = &closed;
    engine.soundSlots = new SoundSlot[soundSlotCount];
    EXPECT_EQ(rtLoadSound(soundFile(0.1).c_str(), 0, 1), 0);
    EXPECT_EQ(rtPlaySound(0, 0, 1), -1);
    EXPECT_EQ(rtSoundPlaying(0), 0);
    rtStopAllSounds();
    delete[] engine.soundSlots;
    engine.soundSlots = nullptr;
    engine.soundSystem = nullptr;
}

// The disk device writes the mixed output (16-bit stereo at 22050 Hz) to a file as it plays.
TEST(SoundOnDisk, AFiredSoundReachesTheOutputAtItsVolumeAndPan)
{
    std::string output = testing::TempDir() + "sound-output.raw";
    std::remove(output.c_str());
    const char* oldDriver = getenv("SDL_AUDIODRIVER");
    std::string savedDriver = oldDriver ? oldDriver : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    {
        engine.soundSystem = new SoundSystem;
        engine.soundSlots = new SoundSlot[soundSlotCount];
        ASSERT_TRUE(engine.soundSystem->setUp(nullptr)) << SDL_GetError();
        ASSERT_EQ(rtLoadSound(soundFile(0.3, 8000, -8000).c_str(), 0, 1), 1);
        // -10 dB, and the left side a further 25 dB down.
        EXPECT_EQ(rtPlaySound(0, 0.5, 0.9), 0);
        Uint32 start = SDL_GetTicks();
        while (rtSoundPlaying(0) && SDL_GetTicks() - start < 5000)
            SDL_Delay(10);
        SDL_Delay(200); // the device writes what it mixed
        delete[] engine.soundSlots;
        engine.soundSlots = nullptr;
        delete engine.soundSystem;
        engine.soundSystem = nullptr;
    }
    if (oldDriver)
        setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    std::ifstream in(output, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 22050u * 4 * 3 / 10);
    auto* samples = reinterpret_cast<const int16_t*>(bytes.data());
    size_t frames = bytes.size() / 4, sounding = 0, other = 0;
    for (size_t i = 0; i < frames; ++i) {
        int16_t left = samples[2 * i], right = samples[2 * i + 1];
        if (left == 8 && right == -2530)
            ++sounding;
        else if (left != 0 || right != 0)
            ++other;
    }
    // 0.3 s of the sound at 8000 × 10^(-1/2) right and 8000 × 10^(-3/2) left; nothing else but silence.
    EXPECT_EQ(sounding, size_t(22050 * 0.3));
    EXPECT_EQ(other, 0u);
}

} // namespace
