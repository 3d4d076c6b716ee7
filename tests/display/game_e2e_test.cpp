// Flipmatics end to end: the real game on an X display of exactly its size, driven by real key
// events and checked by what the screen shows.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/x_session.h"

namespace {

const std::string game = RT_BUILD_DIR "/game/flipmatics";
const std::string gameData = RT_BUILD_DIR "/game/";
constexpr int startTimeout = 30000;
constexpr uint32_t barDark = 0x800000, barMiddle = 0xC00000, barBright = 0xFF0000;

// A 24-bit BMP of the game's data as 0xRRGGBB pixels, top row first (empty when unreadable).
Screenshot readBmp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Screenshot image;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24) return image;
    auto word = [&](size_t at) {
        return int(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    int offset = word(10), width = word(18), height = word(22);
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    if (width <= 0 || height <= 0 || bytes.size() < size_t(offset) + stride * height) return image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &bytes[size_t(offset) + stride * (height - 1 - y) + size_t(x) * 3];
            image.pixels[size_t(y) * width + x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    return image;
}

// Mean difference per colour channel between the screen and the part (x0..x1 - 1, y0..y1 - 1) of a
// picture drawn with its top-left corner at (left, top); transparent pixels of the picture are left
// out. The best of a one-pixel shift either way is taken, as a card place may fall between pixels.
double regionDifference(const Screenshot& screen, const Screenshot& picture, double left, double top, int x0,
                        int y0, int x1, int y1)
{
    double best = 1e9;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            double sum = 0;
            int count = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    uint32_t want = picture.at(x, y);
                    if (want == 0xFF0080) continue;
                    uint32_t have = screen.at(int(left + 0.5) + x + dx, int(top + 0.5) + y + dy);
                    for (int shift = 0; shift <= 16; shift += 8)
                        sum += std::abs(int((want >> shift) & 0xFF) - int((have >> shift) & 0xFF));
                    count += 3;
                }
            if (count) best = std::min(best, sum / count);
        }
    return best;
}

// The same over the picture without a margin of `inset` pixels (where the cursor frame is drawn).
double pictureDifference(const Screenshot& screen, const Screenshot& picture, double left, double top,
                         int inset = 9)
{
    return regionDifference(screen, picture, left, top, inset, inset, picture.width - inset,
                            picture.height - inset);
}

// The menu's selection bar at offset `bar`: two dark rows, eighteen middle rows, two bright rows,
// across the whole width (the entry's text inside the bar left out).
bool menuBarAt(const Screenshot& s, int bar)
{
    for (int x = 0; x < 320; ++x) {
        if (s.at(x, 153 + bar) != barDark || s.at(x, 154 + bar) != barDark) return false;
        if (s.at(x, 173 + bar) != barBright || s.at(x, 174 + bar) != barBright) return false;
        if (x >= 100 && x < 240) continue;
        for (int y = 155 + bar; y <= 172 + bar; ++y)
            if (s.at(x, y) != barMiddle) return false;
    }
    return true;
}

const double levelOneX[] = {64.0 / 3, 128, 234 + 2.0 / 3};
const double levelOneY[] = {30, 150};

class GameEndToEnd : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        back = readBmp(gameData + "images/usd.bmp");
        ASSERT_EQ(back.width, 64) << "the game's data is built next to it";
        for (int k = 0; k < 40; ++k) {
            std::string name = (k < 10 ? "images/pic0" : "images/pic") + std::to_string(k) + ".bmp";
            faces.push_back(readBmp(gameData + name));
            ASSERT_EQ(faces.back().width, 64) << name;
        }
        for (int k = 0; k < 4; ++k)
            cursor.push_back(readBmp(gameData + "images/csr" + std::to_string(k) + ".bmp"));
    }

    bool sixBacksShown(const Screenshot& s) const
    {
        for (double y : levelOneY)
            for (double x : levelOneX)
                if (pictureDifference(s, back, x, y) > 12) return false;
        return true;
    }

    // The face shown at the place, or -1 when none of the forty is there.
    int faceAt(const Screenshot& s, double x, double y) const
    {
        for (int k = 0; k < 40; ++k)
            if (pictureDifference(s, faces[size_t(k)], x, y) < 12) return k;
        return -1;
    }

    // Whether one of the four cursor pictures is drawn at the place of card (row × 3 + column).
    bool cursorAt(const Screenshot& s, int card) const
    {
        for (const Screenshot& step : cursor)
            if (pictureDifference(s, step, levelOneX[card % 3], levelOneY[card / 3], 0) < 25) return true;
        return false;
    }

    // Presses the key until the condition shows on the screen: a press that falls into the frames
    // in which the game rests its keys is not seen, and is then repeated.
    static bool pressUntil(XSession& x, const char* key, const std::function<bool(const Screenshot&)>& shown)
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            x.pressKey(key, 120);
            if (x.waitForScreen(shown, 3000)) return true;
        }
        return false;
    }

    Screenshot back;
    std::vector<Screenshot> faces;
    std::vector<Screenshot> cursor;
};

TEST_F(GameEndToEnd, TitleMenuBarMovesDownByTwentyAndQuitGameEndsWithCodeZero)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    pid_t pid = x.start(game);
    bool menu = x.waitForScreen([](const Screenshot& s) { return menuBarAt(s, 0); }, startTimeout);
    if (!menu) x.grab().save(x.tempFolder() + "menu.ppm");
    ASSERT_TRUE(menu);

    x.pressKey("Down", 150);
    EXPECT_TRUE(
        x.waitForScreen([](const Screenshot& s) { return menuBarAt(s, 20) && !menuBarAt(s, 0); }, 10000));
    x.pressKey("Return", 150);
    EXPECT_EQ(x.waitForExit(pid, 15000), 0);
}

TEST_F(GameEndToEnd, StartGameShowsSixCardBacksAndSpaceTurnsTheCardUnderTheCursor)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    pid_t pid = x.start(game);
    ASSERT_TRUE(x.waitForScreen([](const Screenshot& s) { return menuBarAt(s, 0); }, startTimeout));
    x.pressKey("Return", 150);
    bool backs = x.waitForScreen([&](const Screenshot& s) { return sixBacksShown(s); }, 15000);
    if (!backs) x.grab().save(x.tempFolder() + "level.ppm");
    ASSERT_TRUE(backs);

    x.pressKey("space", 150);
    int face = -1;
    EXPECT_TRUE(x.waitForScreen(
        [&](const Screenshot& s) { return (face = faceAt(s, levelOneX[0], levelOneY[0])) >= 0; }, 10000));
    Screenshot after = x.grab();
    for (int k = 1; k < 6; ++k)
        EXPECT_LT(pictureDifference(after, back, levelOneX[k % 3], levelOneY[k / 3]), 12) << "card " << k;
    kill(pid, SIGTERM);
    x.waitForExit(pid, 5000);
}

TEST_F(GameEndToEnd, RunsAsOneFileWithItsDataAppended)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    // The program alone in an empty folder, its pictures, fonts and sounds appended to it.
    std::filesystem::path folder = x.tempFolder() + "one-file";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(game, folder / "flipmatics");
    std::string pack = RT_BUILD_DIR "/tools/sbx_pack -C " + gameData + " " +
                       (folder / "flipmatics").string() + " images sounds smalfont.bmp >/dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0);
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

    pid_t pid = x.start((folder / "flipmatics").string(), {}, folder.string());
    Screenshot background = readBmp(gameData + "images/background.bmp");
    bool menu = x.waitForScreen(
        [&](const Screenshot& s) {
            // The bar, the background picture beside it and the first decoration card.
            return menuBarAt(s, 0) && regionDifference(s, background, 0, 0, 2, 95, 40, 150) < 12 &&
                   regionDifference(s, faces[16], 80, 30, 8, 12, 36, 50) < 12;
        },
        startTimeout);
    if (!menu) x.grab().save(x.tempFolder() + "one-file.ppm");
    EXPECT_TRUE(menu);
    kill(pid, SIGTERM);
    x.waitForExit(pid, 5000);
}

// Plays level 1 as a player with a perfect memory would: it turns unknown cards, remembers every
// face it saw, and takes a pair as soon as it knows both places.
TEST_F(GameEndToEnd, FirstLevelIsWonByReadingTheScreen)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    pid_t pid = x.start(game);
    ASSERT_TRUE(x.waitForScreen([](const Screenshot& s) { return menuBarAt(s, 0); }, startTimeout));
    x.pressKey("Return", 150);
    ASSERT_TRUE(x.waitForScreen([&](const Screenshot& s) { return sixBacksShown(s); }, 15000));

    int at = 0;                    // the cursor's card: row × 3 + column
    std::vector<int> known(6, -1); // face seen at each place
    std::vector<bool> gone(6, false);
    auto moveTo = [&](int card) {
        while (at != card) {
            int next =
                at % 3 != card % 3 ? at + (at % 3 < card % 3 ? 1 : -1) : at + (at / 3 < card / 3 ? 3 : -3);
            const char* key = next == at + 1 ? "Right" : next == at - 1 ? "Left" : next > at ? "Down" : "Up";
            ASSERT_TRUE(pressUntil(x, key, [&](const Screenshot& s) { return cursorAt(s, next); })) << next;
            at = next;
        }
    };
    auto turn = [&](int card) {
        moveTo(card);
        int face = -1;
        EXPECT_TRUE(pressUntil(x, "space",
                               [&](const Screenshot& s) {
                                   return (face = faceAt(s, levelOneX[card % 3], levelOneY[card / 3])) >= 0;
                               }))
            << "card " << card;
        known[size_t(card)] = face;
        return face;
    };
    auto partnerOf = [&](int card) {
        for (int k = 0; k < 6; ++k)
            if (k != card && !gone[size_t(k)] && known[size_t(k)] >= 0 &&
                known[size_t(k)] == known[size_t(card)])
                return k;
        return -1;
    };
    auto firstUnknown = [&](int except) {
        for (int k = 0; k < 6; ++k)
            if (!gone[size_t(k)] && known[size_t(k)] < 0 && k != except) return k;
        return -1;
    };

    int pairsLeft = 3;
    for (int tries = 0; pairsLeft > 0 && tries < 6; ++tries) {
        int first = -1;
        for (int k = 0; k < 6 && first < 0; ++k)
            if (!gone[size_t(k)] && partnerOf(k) >= 0) first = k;
        if (first < 0) first = firstUnknown(-1);
        ASSERT_GE(first, 0);
        turn(first);
        int second = partnerOf(first);
        if (second < 0) second = firstUnknown(first);
        ASSERT_GE(second, 0);
        turn(second);
        bool match = known[size_t(first)] == known[size_t(second)];
        if (match) {
            gone[size_t(first)] = gone[size_t(second)] = true;
            --pairsLeft;
        }
        if (pairsLeft == 0) break;
        // Wait for the pair check: both places show the back again, or the board without them.
        EXPECT_TRUE(x.waitForScreen(
            [&](const Screenshot& s) {
                for (int card : {first, second})
                    if ((pictureDifference(s, back, levelOneX[card % 3], levelOneY[card / 3]) < 12) == match)
                        return false;
                return faceAt(s, levelOneX[first % 3], levelOneY[first / 3]) < 0;
            },
            10000));
    }
    EXPECT_EQ(pairsLeft, 0);

    // The won picture turns in, then stands at (60, 20).
    Screenshot won = readBmp(gameData + "images/picwin.bmp");
    ASSERT_EQ(won.width, 200);
    EXPECT_TRUE(x.waitForScreen(
        [&](const Screenshot& s) { return pictureDifference(s, won, 60, 20, 20) < 12; }, 15000));
    kill(pid, SIGTERM);
    x.waitForExit(pid, 5000);
}

} // namespace
