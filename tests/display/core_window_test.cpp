// The engine core on a real X display: full screen and windowed presentation, the window's title and
// size, the error log, pausing on focus loss and every way of ending the program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "support/x_session.h"

namespace {

const std::string coreHost = RT_BUILD_DIR "/tests/hosts/core_host";
const std::string game = RT_BUILD_DIR "/game/flipmatics";
constexpr uint32_t green = 0x00FF00, blue = 0x0000FF, darkRed = 0x800000, black = 0x000000;
constexpr int startTimeout = 20000;

// The host's pattern scaled by `factor` with its top-left corner at (left, top).
bool patternAt(const Screenshot& shot, int left, int top, int factor)
{
    int right = left + 320 * factor, bottom = top + 240 * factor;
    int square = 10 * factor;
    return shot.at(left, top) == green && shot.at(left + square - 1, top + square - 1) == green &&
           shot.at(left + square, top + square) == darkRed && shot.at(right - 1, bottom - 1) == blue &&
           shot.at(right - square, bottom - square) == blue && shot.at(right - square - 1, bottom - square - 1) == darkRed;
}

TEST(CoreWindow, FullScreenScalesByTwoOnA640x480Display)
{
    XSession x(640, 480, true);
    ASSERT_TRUE(x.ready());
    pid_t host = x.start(coreHost);
    ASSERT_NE(x.waitForWindow("Flipmatics", startTimeout), 0u);
    EXPECT_TRUE(x.waitForScreen([](const Screenshot& s) { return patternAt(s, 0, 0, 2); }, startTimeout));
    kill(host, SIGTERM);
    x.waitForExit(host, 5000);
}

// A window manager carries out the switch to full screen; on a bare X server the runtime lays the
// window over the display itself. The picture is the same either way.
TEST(CoreWindow, FullScreenScalesByThreeAndCentresOnBlackOnA1024x768DisplayWithOrWithoutWindowManager)
{
    for (bool windowManager : {true, false}) {
        SCOPED_TRACE(windowManager ? "with a window manager" : "without a window manager");
        XSession x(1024, 768, windowManager);
        ASSERT_TRUE(x.ready());
        pid_t host = x.start(coreHost);
        ASSERT_NE(x.waitForWindow("Flipmatics", startTimeout), 0u);
        // 3 × (320 × 240) = 960 × 720, centred: 32 pixels of black left and right, 24 above and below.
        bool shown = x.waitForScreen(
            [](const Screenshot& s) {
                return patternAt(s, 32, 24, 3) && s.at(31, 23) == black && s.at(992, 744) == black &&
                       s.at(0, 400) == black && s.at(1023, 400) == black;
            },
            startTimeout);
        EXPECT_TRUE(shown);
        if (!shown) x.grab().save(x.tempFolder() + "fullscreen-1024.ppm");
        EXPECT_EQ(x.readTempFile("ErrorLog.txt"), "OpenGL Software Emulation\r\n");
        kill(host, SIGTERM);
        x.waitForExit(host, 5000);
    }
}

TEST(CoreWindow, WindowedModeShowsTheTitleOverA320x240ClientArea)
{
    XSession x(640, 480, true);
    ASSERT_TRUE(x.ready());
    pid_t host = x.start(coreHost, {"--windowed"});
    unsigned long window = x.waitForWindow("Flipmatics", startTimeout);
    ASSERT_NE(window, 0u);
    int left, top, width, height;
    x.windowArea(window, left, top, width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_TRUE(x.waitForScreen([&](const Screenshot& s) { return patternAt(s, left, top, 1); }, startTimeout));
    x.requestClose(window);
    EXPECT_EQ(x.waitForExit(host, 10000), 0);
}

TEST(CoreWindow, SoftwareOpenGlIsLoggedAndEachRunStartsAFreshLog)
{
    XSession x(640, 480);
    ASSERT_TRUE(x.ready());
    EXPECT_EQ(x.waitForExit(x.start(coreHost, {"--windowed", "--end-after=3"}), startTimeout), 0);
    EXPECT_EQ(x.readTempFile("ErrorLog.txt"), "OpenGL Software Emulation\r\n");

    std::ofstream(x.tempFolder() + "ErrorLog.txt", std::ios::app) << "left by the first run\r\n";
    EXPECT_EQ(x.waitForExit(x.start(coreHost, {"--windowed", "--end-after=3"}), startTimeout), 0);
    EXPECT_EQ(x.readTempFile("ErrorLog.txt"), "OpenGL Software Emulation\r\n");
}

TEST(CoreWindow, EndInDebugModeLogsTheEndLines)
{
    XSession x(640, 480);
    ASSERT_TRUE(x.ready());
    EXPECT_EQ(x.waitForExit(x.start(coreHost, {"--windowed", "--debug", "--end-after=3"}), startTimeout), 0);
    EXPECT_EQ(x.readTempFile("ErrorLog.txt"), "OpenGL Software Emulation\r\n-End On Line\r\n0\r\n-1\r\n0\r\n0\r\n");
}

TEST(CoreWindow, FocusLossPausesWithTheTitleMarkedUnlessInDebugMode)
{
    XSession x(640, 480);
    ASSERT_TRUE(x.ready());
    pid_t host = x.start(coreHost, {"--windowed"});
    unsigned long window = x.waitForWindow("Flipmatics", startTimeout);
    ASSERT_NE(window, 0u);
    x.focus(window);
    pause(300);
    x.unfocus();
    EXPECT_TRUE(x.waitForTitle(window, "Flipmatics <pause>", 5000));
    x.focus(window);
    EXPECT_TRUE(x.waitForTitle(window, "Flipmatics", 5000));
    x.requestClose(window);
    EXPECT_EQ(x.waitForExit(host, 10000), 0);

    pid_t debugHost = x.start(coreHost, {"--windowed", "--debug"});
    window = x.waitForWindow("Flipmatics", startTimeout);
    ASSERT_NE(window, 0u);
    x.focus(window);
    pause(300);
    x.unfocus();
    EXPECT_FALSE(x.waitForTitle(window, "Flipmatics <pause>", 1000));
    x.requestClose(window);
    EXPECT_EQ(x.waitForExit(debugHost, 10000), 0);
}

// The game itself ends with exit code 0 on Escape, on Left Alt + F4 and when its window is closed.
class GameEnds : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.ready());
        pid = x.start(game);
        window = x.waitForWindow("Flipmatics", startTimeout);
        ASSERT_NE(window, 0u);
        x.focus(window);
        pause(500);
    }
    XSession x{640, 480, true};
    pid_t pid = -1;
    unsigned long window = 0;
};

// The keys are held until the game ends: the game reads key states once per frame, and a slow start-up
// on a busy machine could let a short press pass between two frames.
TEST_F(GameEnds, OnEscape)
{
    x.keyDown("Escape");
    EXPECT_EQ(x.waitForExit(pid, 10000), 0);
    x.keyUp("Escape");
}

TEST_F(GameEnds, OnLeftAltF4)
{
    x.keyDown("Alt_L");
    x.keyDown("F4");
    EXPECT_EQ(x.waitForExit(pid, 10000), 0);
    x.keyUp("F4");
    x.keyUp("Alt_L");
}

TEST_F(GameEnds, OnWindowClose)
{
    x.requestClose(window);
    EXPECT_EQ(x.waitForExit(pid, 10000), 0);
}

} // namespace

namespace {

double reported(const std::string& report, const std::string& key)
{
    size_t at = report.find(key + " ");
    return at == std::string::npos ? -1e9 : std::stod(report.substr(at + key.size() + 1));
}

TEST(CoreTimers, StartUpTimeIsNotCountedAndModesSwitch)
{
    XSession x(640, 480, true);
    ASSERT_TRUE(x.ready());
    EXPECT_EQ(x.waitForExit(x.start(coreHost, {"--report"}), 30000), 0);
    std::string report = x.readTempFile("report.txt");
    EXPECT_GE(reported(report, "elapsed"), 0);
    EXPECT_LT(reported(report, "elapsed"), 200);
    EXPECT_GE(reported(report, "duration"), 1); // right after start-up, not a fraction of a millisecond
    EXPECT_EQ(reported(report, "fullscreen at start"), 1);
    EXPECT_NE(report.find("windowed result 1 now 0"), std::string::npos) << report;
    EXPECT_NE(report.find("fullscreen result 1 now 1"), std::string::npos) << report;
    EXPECT_NE(report.find("screen 320x240"), std::string::npos) << report;
    // 30 frames on the 60 Hz grid take about half a second; at rate 0 the 2 ms interval holds.
    EXPECT_NEAR(reported(report, "30 frames"), 500, 60);
    EXPECT_GE(reported(report, "100 frames at rate 0"), 190);
}

TEST(CoreStartUp, WithoutADisplayTheGameSaysWhyAndFails)
{
    pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", ":9876", 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "x11", 1);
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execl(game.c_str(), game.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

} // namespace
