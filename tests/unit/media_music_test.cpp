// Music on the media player with no sound device: it plays in real time, repeats only through the
// per-frame duty, one music at a time, temp files from the archive live exactly as long as their
// music, and bad files give a clear result. Also the movie fit rectangle.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/end_routine.h"
#include "runtime/files/archive_packer.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/media/media.h"
#include "runtime/runtime.h"
#include "wav_file.h"

using namespace rt;

namespace {

namespace fs = std::filesystem;

std::string writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// A 1-second music: a WAV file of 22050 Hz 16-bit stereo.
std::vector<uint8_t> oneSecondTune()
{
    WavFields fields;
    fields.samples = constantStereo(22050, 3000, -3000);
    return wavFile(fields);
}

// A host file in the folder with the tune appended as the archive entry "packed.wav", made the
// media resolver's archive.
void useArchiveWithPackedTune(const std::string& folder)
{
    std::string host = writeFile(folder + "host.bin", {'h', 'o', 's', 't'});
    std::vector<uint8_t> tune = oneSecondTune();
    std::string error;
    ASSERT_TRUE(appendArchive(host, {{"packed.wav", {tune.begin(), tune.end()}}}, false, error)) << error;
    rtSetArchiveFiles("", host.c_str());
}

// Archive temp files (~sbx??name) of the entry in the folder.
int tempFilesOf(const std::string& folder, const std::string& entry)
{
    int count = 0;
    for (const auto& file : fs::directory_iterator(folder))
        count += file.path().filename().string().starts_with("~sbx") &&
                 file.path().filename().string().ends_with(entry);
    return count;
}

class Music : public testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rt-music-XXXXXX";
        folder = std::string(mkdtemp(pattern)) + "/";
        setenv("TMPDIR", folder.c_str(), 1);
        engine.mediaResolver = createArchiveResolver();
        tune = write("tune.wav", oneSecondTune());
    }
    void TearDown() override
    {
        rtStopMusic();
        releaseArchiveResolver(engine.mediaResolver);
        engine.mediaResolver = nullptr;
        unsetenv("TMPDIR");
        fs::remove_all(folder);
    }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        return writeFile(folder + name, bytes);
    }
    int tempFiles(const std::string& entry) const { return tempFilesOf(folder, entry); }
    std::string folder, tune;
};

TEST_F(Music, RepeatsAtItsEndOnlyWhileFramesAreShown)
{
    for (bool framesShown : {true, false}) {
        SCOPED_TRACE(framesShown ? "frames shown" : "no frames");
        ASSERT_EQ(rtPlayMusic(tune.c_str()), 0);
        rt::MediaWindow& music = *engine.mediaWindow;
        EXPECT_NEAR(music.length(), 1000, 50);
        bool wentBack = false;
        double last = 0;
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
        while (std::chrono::steady_clock::now() < until) {
            if (framesShown) rt::repeatMusicAtItsEnd();
            double position = music.position();
            wentBack |= position < last;
            last = position;
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
        if (framesShown) rt::repeatMusicAtItsEnd(); // one more frame: an end reached meanwhile is left
        double position = music.position();
        EXPECT_EQ(wentBack, framesShown) << "at " << position;
        if (framesShown)
            EXPECT_LT(position, music.length());
        else
            EXPECT_GE(position, music.length());
    }
}

TEST_F(Music, OneMusicAtATimeAndStopLeavesNoPlayer)
{
    ASSERT_EQ(rtPlayMusic(tune.c_str()), 0);
    ASSERT_EQ(rtPlayMusic(tune.c_str()), 0);
    EXPECT_EQ(rt::liveMediaWindowCount(), 1);
    rtStopMusic();
    EXPECT_EQ(rt::liveMediaWindowCount(), 0);
    EXPECT_EQ(engine.mediaWindow, nullptr);
}

TEST_F(Music, MissingAndBadFilesGiveThreeAndTheUnplayableOnesSayWhy)
{
    WavFields hugeHeader;
    hugeHeader.channels = 65535;
    hugeHeader.rate = 0xFFFFFFF0;
    hugeHeader.dataSizeField = 0xFFFFFFF0;
    struct Case
    {
        std::string path;
        bool logged;
    } cases[] = {
        {folder + "missing.ogg", false},
        {write("empty.ogg", {}), true},
        {write("text.ogg", {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o', '\n'}), true},
        {write("huge.wav", wavFile(hugeHeader)), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(rtPlayMusic(c.path.c_str()), 3);
        EXPECT_EQ(engine.mediaWindow, nullptr);
        std::ifstream log(folder + "ErrorLog.txt");
        std::string text((std::istreambuf_iterator<char>(log)), {});
        EXPECT_EQ(text.find(c.path) != std::string::npos, c.logged) << text;
    }
    EXPECT_EQ(rt::liveMediaWindowCount(), 0);
}

TEST_F(Music, AnArchiveTempFileLivesWhileItsMusicPlays)
{
    useArchiveWithPackedTune(folder);

    ASSERT_EQ(rtPlayMusic("packed.wav"), 0);
    EXPECT_EQ(tempFiles("packed.wav"), 1);
    // Another media lookup while it plays leaves its file alone.
    EXPECT_EQ(rtPlayMovieOnce("no-such-movie.mkv"), 3);
    EXPECT_EQ(tempFiles("packed.wav"), 1);
    ASSERT_EQ(rtPlayMusic(tune.c_str()), 0);
    EXPECT_EQ(tempFiles("packed.wav"), 0);

    ASSERT_EQ(rtPlayMusic("packed.wav"), 0);
    rtStopMusic();
    EXPECT_EQ(tempFiles("packed.wav"), 0);
}

TEST(MusicEnd, TheEndRoutineClosesTheMusicAndDeletesItsTempFile)
{
    // The player's threads do not survive a plain fork: the child is started afresh, runs this test
    // again up to the end routine and finds the folder in its environment.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (!getenv("RT_MUSIC_END_FOLDER")) {
        char pattern[] = "/tmp/rt-music-end-XXXXXX";
        setenv("RT_MUSIC_END_FOLDER", (std::string(mkdtemp(pattern)) + "/").c_str(), 1);
    }
    std::string folder = getenv("RT_MUSIC_END_FOLDER");
    setenv("TMPDIR", folder.c_str(), 1);
    engine.mediaResolver = createArchiveResolver();
    useArchiveWithPackedTune(folder);
    EXPECT_EXIT(
        {
            if (rtPlayMusic("packed.wav") != 0 || tempFilesOf(folder, "packed.wav") != 1) exit(1);
            installEngineEndRoutine(); // the child ends as a started engine would
            rtFatalEnd();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(tempFilesOf(folder, "packed.wav"), 0);
    releaseArchiveResolver(engine.mediaResolver);
    engine.mediaResolver = nullptr;
    unsetenv("TMPDIR");
    unsetenv("RT_MUSIC_END_FOLDER");
    fs::remove_all(folder);
}

TEST(MovieFit, ScalesBySmallerRatioAndCentres)
{
    struct Case
    {
        int w, h, clientW, clientH;
        rt::MediaRect expected;
    } cases[] = {
        {320, 240, 640, 360, {80, 0, 480, 360}}, // s = 1.5
        {160, 120, 640, 480, {0, 0, 640, 480}},
        {400, 100, 320, 240, {0, 80, 320, 80}},  // wider than the window: s = 0.8
        {100, 100, 333, 200, {66, 0, 200, 200}}, // odd margin: integer division
        {0, 120, 640, 480, {0, 0, 0, 0}},        // no picture
        {160, 120, 0, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        rt::MediaRect fit = rt::movieFitRectangle(c.w, c.h, c.clientW, c.clientH);
        EXPECT_EQ(std::tie(fit.x, fit.y, fit.width, fit.height),
                  std::tie(c.expected.x, c.expected.y, c.expected.width, c.expected.height))
            << c.w << "x" << c.h << " in " << c.clientW << "x" << c.clientH;
    }
}

} // namespace
