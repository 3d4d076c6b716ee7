// Movies on a real X display: the picture in its fitted rectangle, colours changing as it plays, the
// keys that end it, looping, bad files, the archive's temp file and closing the window meanwhile.
#include <cstring>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "runtime/files/archive_packer.h"
#include "support/host_window.h"

using namespace rt;

namespace {

const std::string host = RT_BUILD_DIR "/tests/hosts/media_host";
const std::string movie = RT_SOURCE_DIR "/tests/media/colours.mkv"; // 2 s, 160 × 120: red, green, blue, white

// Which of the movie's colours a pixel shows (0 red .. 3 white), -1 for black, anything else -2.
int movieColour(uint32_t pixel)
{
    static const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    auto near = [](uint32_t a, uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 12) return false;
        return true;
    };
    for (int i = 0; i < 4; ++i)
        if (near(pixel, colours[i])) return i;
    return near(pixel, 0) ? -1 : -2;
}

std::vector<unsigned char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class Movies : public HostWindowTest
{
  protected:
    void SetUp() override { openScreen(800, 600); }
    // Starts the host in a 640 × 360 window (the movie fits 480 × 360 at x 80, y 0).
    void start(std::vector<std::string> arguments, const std::string& program = host)
    {
        arguments.insert(arguments.begin() + 1, "--size=640x360");
        startHost(program, arguments);
    }
    // The colour filling the fitted rectangle, black bars beside it; -1 while that is not shown.
    int fittedPicture(const Screenshot& s) const
    {
        int colour = movieColour(s.at(left + 320, top + 180));
        for (auto [px, py] : {std::pair{80, 0}, {559, 0}, {80, 359}, {559, 359}})
            if (movieColour(s.at(left + px, top + py)) != colour) return -1;
        bool bars = movieColour(s.at(left + 79, top + 180)) == -1 &&
                    movieColour(s.at(left + 560, top + 180)) == -1 && movieColour(s.at(left, top)) == -1 &&
                    movieColour(s.at(left + 639, top + 359)) == -1;
        return colour >= 0 && bars ? colour : -1;
    }
    bool waitForPicture()
    {
        return x->waitForScreen([&](const Screenshot& s) { return fittedPicture(s) >= 0; }, timeoutMs);
    }
    bool gameScreenShown()
    {
        return x->waitForScreen(
            [&](const Screenshot& s) {
                return s.at(left + 300, top + 200) == 0x0000FF && s.at(left + 15, top + 15) == 0xFFFFFF;
            },
            timeoutMs);
    }
    // The host's result lines so far.
    std::vector<std::pair<int, int>> results() const
    {
        std::vector<std::pair<int, int>> found;
        std::istringstream lines(x->readTempFile("media.txt"));
        int result, ms;
        std::string word, after;
        while (lines >> word >> result >> after >> ms)
            found.push_back({result, ms});
        return found;
    }
    bool waitForResults(size_t count)
    {
        return waitUntil([&] { return results().size() >= count; });
    }
};

TEST_F(Movies, OnceFillsTheFittedRectangleAndAKeyEndsIt)
{
    start({"once", movie});
    ASSERT_TRUE(waitForPicture());
    x->pressKey("x");
    ASSERT_TRUE(waitForResults(1));
    EXPECT_EQ(results()[0].first, 0);
    EXPECT_LT(results()[0].second, 2000) << "the key did not end the 2-second movie";
    // The game draws again, with its own GL state.
    EXPECT_TRUE(gameScreenShown());
}

TEST_F(Movies, LoopedKeepsPlayingThroughItsEndAndAHeldStartKeyEndsNothing)
{
    start({"looped", "--on-space", movie});
    x->keyDown("space");
    ASSERT_TRUE(waitForPicture());
    // Twice the movie's length with the starting key still held: the colours run round, the movie
    // wraps from white back to red and never stops.
    std::vector<int> seen;
    x->waitForScreen(
        [&](const Screenshot& s) {
            int colour = fittedPicture(s);
            if (colour >= 0 && (seen.empty() || seen.back() != colour)) seen.push_back(colour);
            return false;
        },
        4500);
    int wraps = 0;
    for (size_t i = 1; i < seen.size(); ++i)
        wraps += seen[i] < seen[i - 1];
    EXPECT_GE(seen.size(), 4u);
    EXPECT_GE(wraps, 1);
    x->keyUp("space");
    pause(300);
    EXPECT_TRUE(results().empty()) << "releasing the starting key ended the movie";
    EXPECT_TRUE(waitForPicture());
    x->pressKey("x");
    ASSERT_TRUE(waitForResults(1));
    EXPECT_EQ(results()[0].first, 0);
    EXPECT_TRUE(gameScreenShown());
}

TEST_F(Movies, MissingAndBadFilesGiveClearResults)
{
    std::string folder = x->tempFolder();
    std::vector<unsigned char> good = fileBytes(movie);
    std::vector<unsigned char> garbled = good;
    for (size_t i = 200; i < garbled.size(); i += 7)
        garbled[i] ^= 0x5A;
    const unsigned char bogusHeader[] = {'R', 'I', 'F', 'F', 0xF0, 0xFF, 0xFF, 0x7F, 'A', 'V', 'I', ' ',
                                         'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0x7F, 'h', 'd', 'r', 'l'};
    std::vector<unsigned char> bogus(4096, 0xFF);
    std::memcpy(bogus.data(), bogusHeader, sizeof bogusHeader);
    writeBytes(folder + "empty.mkv", {});
    writeBytes(folder + "text.ogg", {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'});
    writeBytes(folder + "garbled.mkv", garbled);
    writeBytes(folder + "half.mkv", std::vector<unsigned char>(good.begin(), good.begin() + good.size() / 2));
    writeBytes(folder + "bogus.avi", bogus);
    start({"once", folder + "missing.mkv", folder + "empty.mkv", folder + "text.ogg", folder + "garbled.mkv",
           folder + "half.mkv", folder + "bogus.avi"});
    ASSERT_TRUE(waitForResults(6));
    std::vector<std::pair<int, int>> found = results();
    EXPECT_EQ(found[0].first, 3);
    EXPECT_EQ(found[1].first, 3);
    EXPECT_EQ(found[2].first, 3);
    for (auto [result, ms] : found)
        EXPECT_TRUE(result == 0 || result == 3) << result;
    EXPECT_TRUE(gameScreenShown());
}

TEST_F(Movies, AMovieFromTheArchiveKeepsItsTempFileUntilAWindowCloseEndsTheProgram)
{
    std::string program = x->tempFolder() + "media_host";
    std::filesystem::copy_file(host, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    std::string error;
    ASSERT_TRUE(appendArchive(program, {{"clip.mkv", fileBytes(movie)}}, true, error)) << error;
    start({"looped", "clip.mkv"}, program);
    ASSERT_TRUE(waitForPicture());
    auto tempFiles = [&] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(x->tempFolder()))
            count += entry.path().filename().string().ends_with("clip.mkv"); // ~sbx??clip.mkv
        return count;
    };
    EXPECT_EQ(tempFiles(), 1);
    x->requestClose(window);
    EXPECT_EQ(x->waitForExit(pid, timeoutMs), 0);
    pid = -1;
    EXPECT_EQ(tempFiles(), 0);
}

} // namespace
