// The sound commands on SDL's dummy audio device (which plays in real time) and on its disk device
// (which writes what it plays to a file).
#include <gtest/gtest.h>

#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>

#include "runtime/audio/sound.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/runtime.h"
#include "wav_file.h"

using namespace rt;

namespace {

// Each test's files carry its name: tests run at the same time and may write files of the same name.
std::string testFilePath(const std::string& name)
{
    return testing::TempDir() + testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = testFilePath(name);
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
    auto gain = [](int copy) { return engine.soundSystem->mixer.gain(6 * maxSoundCopies + copy); };
    EXPECT_EQ(rtPlaySound(6, 0, 1.5), 6 * 256 + 0);
    EXPECT_FLOAT_EQ(gain(0).left, 1);
    EXPECT_FLOAT_EQ(gain(0).right, 1);
    EXPECT_EQ(rtPlaySound(6, 2, 1), 6 * 256 + 1); // full right: left at -100 dB
    EXPECT_NEAR(gain(1).left, 1e-5, 1e-9);
    EXPECT_FLOAT_EQ(gain(1).right, 1);
    EXPECT_EQ(rtPlaySound(6, -0.25, -1), 6 * 256 + 2); // silent, a quarter to the left
    EXPECT_NEAR(gain(2).left, 1e-5, 1e-9);
    EXPECT_NEAR(gain(2).right, 1e-5 * std::pow(10, -2500 / 2000.0), 1e-12);
    EXPECT_EQ(rtPlaySound(6, NAN, 0.5), 6 * 256 + 3); // -50 dB, centred
    EXPECT_NEAR(gain(3).left, std::pow(10, -2.5), 1e-7);
    EXPECT_NEAR(gain(3).right, std::pow(10, -2.5), 1e-7);
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

// The frames the disk device (which writes the mixed output, 16-bit stereo at 22050 Hz, to a file as it
// plays) wrote while `fire` played sounds, counted by their left and right samples, silence left out.
std::map<std::pair<int, int>, size_t> mixedOnDisk(const std::function<void()>& fire)
{
    std::string output = testFilePath("output.raw");
    std::remove(output.c_str());
    const char* oldDriver = getenv("SDL_AUDIODRIVER");
    std::string savedDriver = oldDriver ? oldDriver : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    engine.soundSystem = new SoundSystem;
    engine.soundSlots = new SoundSlot[soundSlotCount];
    EXPECT_TRUE(engine.soundSystem->setUp(nullptr)) << SDL_GetError();
    fire();
    Uint32 start = SDL_GetTicks();
    while ((rtSoundPlaying(0) || rtSoundPlaying(1)) && SDL_GetTicks() - start < 5000)
        SDL_Delay(10);
    SDL_Delay(200); // the device writes what it mixed
    delete[] engine.soundSlots;
    engine.soundSlots = nullptr;
    delete engine.soundSystem;
    engine.soundSystem = nullptr;
    if (oldDriver)
        setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    std::map<std::pair<int, int>, size_t> frames;
    std::ifstream in(output, std::ios::binary);
    for (int16_t frame[2]; in.read(reinterpret_cast<char*>(frame), sizeof frame);)
        ++frames[{frame[0], frame[1]}];
    frames.erase({0, 0});
    return frames;
}

TEST(SoundOnDisk, AFiredSoundReachesTheOutputAtItsVolumeAndPan)
{
    auto frames = mixedOnDisk([] {
        ASSERT_EQ(rtLoadSound(soundFile(0.3, 8000, -8000).c_str(), 0, 1), 1);
        // -10 dB, and the left side a further 25 dB down.
        EXPECT_EQ(rtPlaySound(0, 0.5, 0.9), 0);
    });
    // 0.3 s of the sound at 8000 × 10^(-1/2) right and 8000 × 10^(-3/2) left; nothing else but silence.
    size_t sounding = frames[{8, -2530}];
    EXPECT_EQ(sounding, size_t(22050 * 0.3));
    EXPECT_EQ(frames.size(), 1u);
}

TEST(SoundOnDisk, OverlappingCopiesAddUpAndClipAtFullScale)
{
    auto frames = mixedOnDisk([] {
        ASSERT_EQ(rtLoadSound(soundFile(0.3, 20000, -20000).c_str(), 0, 2), 1);
        EXPECT_EQ(rtPlaySound(0, 0, 1), 0);
        EXPECT_EQ(rtPlaySound(0, 0, 1), 1);
    });
    // Both copies start at once, or the second a device buffer (1024 frames) after the first.
    const size_t length = size_t(22050 * 0.3);
    size_t both = frames[{32767, -32768}], alone = frames[{20000, -20000}];
    EXPECT_GE(both, length - 1024);
    EXPECT_EQ(alone, 2 * (length - both));
    EXPECT_EQ(frames.size(), 2u);
}

} // namespace
