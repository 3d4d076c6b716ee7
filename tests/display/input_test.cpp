// Keyboard and mouse on a real X display: XTest key presses and pointer moves reach the game as the
// runtime's key codes, typed characters and mouse positions.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "support/host_window.h"

namespace {

const std::string inputHost = RT_BUILD_DIR "/tests/hosts/input_host";

class InputOnX : public HostWindowTest
{
  protected:
    void launch(const std::vector<std::string>& arguments = {}, bool windowManager = false)
    {
        ASSERT_NO_FATAL_FAILURE(openScreen(640, 480, windowManager));
        ASSERT_NO_FATAL_FAILURE(startHost(inputHost, arguments));
        // The host notes its first mouse position once it runs its frames.
        ASSERT_TRUE(waitForLine("pos ", 10000));
    }
    std::string notes() const { return x->readTempFile("input.txt"); }
    // Waits at most limitMs for a line of the notes that starts with `line`.
    bool waitForLine(const std::string& line, int limitMs) const
    {
        return waitUntil(
            [&] {
                std::string text = notes();
                for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
                    if (at == 0 || text[at - 1] == '\n') return true;
                return false;
            },
            limitMs);
    }
    // Moves the pointer through XTest to a point of the X screen.
    void movePointer(int screenX, int screenY)
    {
        Display* display = XOpenDisplay(x->displayName().c_str());
        ASSERT_NE(display, nullptr);
        XTestFakeMotionEvent(display, 0, screenX, screenY, CurrentTime);
        XFlush(display);
        XCloseDisplay(display);
    }
};

TEST_F(InputOnX, KeysArriveWithTheRuntimesCodes)
{
    launch();
    struct Key
    {
        const char* name;
        const char* line;
    } keys[] = {{"Escape", "key 1\n"}, {"Return", "key 28\n"}, {"space", "key 57\n"}, {"x", "key 45\n"},
                {"Up", "key 200\n"},   {"Down", "key 208\n"},  {"Left", "key 203\n"}, {"Right", "key 205\n"},
                {"Alt_L", "key 56\n"}, {"F4", "key 62\n"}};
    for (const Key& key : keys) {
        x->pressKey(key.name, 150);
        EXPECT_TRUE(waitForLine(key.line, 5000)) << key.name << "\n" << notes();
    }
    EXPECT_NE(notes().find("key 257\n"), std::string::npos) << "257 reads Escape too";
    // Left Alt and F4 together end the game with exit code 0.
    x->keyDown("Alt_L");
    x->pressKey("F4", 150);
    x->keyUp("Alt_L");
    EXPECT_EQ(x->waitForExit(pid, 10000), 0);
    pid = -1;
    EXPECT_EQ(x->readTempFile("ErrorLog.txt"), "OpenGL Software Emulation\r\n");
}

TEST_F(InputOnX, EscapeEndsTheGameWhileItIsSwitchedOn)
{
    launch({"--keep-escape"});
    x->pressKey("Escape", 150);
    EXPECT_EQ(x->waitForExit(pid, 10000), 0);
    pid = -1;
}

TEST_F(InputOnX, TypedCharactersComeOncePerPressAsShiftedOnTheKeyAndTheLowestKeyFirst)
{
    launch();
    x->pressKey("a", 300); // held for many frames: typed once
    ASSERT_TRUE(waitForLine("text 97", 5000)) << notes();
    x->keyDown("Shift_L");
    x->pressKey("a", 150);
    x->keyUp("Shift_L");
    ASSERT_TRUE(waitForLine("text 65", 5000)) << notes();
    x->keyDown("Shift_L"); // Shift and 1 type what is printed on the key
    x->pressKey("1", 150);
    x->keyUp("Shift_L");
    ASSERT_TRUE(waitForLine("text 33", 5000)) << notes();
    pause(100);
    x->keyDown("a"); // then S as well: A (code 30) still wins over S (code 31), so nothing new comes
    pause(100);
    x->keyDown("s");
    pause(200);
    x->keyUp("s"); // S first: A alone types nothing new either
    x->keyUp("a");
    pause(100);
    x->pressKey("BackSpace", 150);
    x->pressKey("Return", 150);
    ASSERT_TRUE(waitForLine("text 10", 5000)) << notes();

    std::istringstream lines(notes());
    std::string line, typed;
    while (std::getline(lines, line))
        if (line.rfind("text ", 0) == 0) typed += line.substr(5) + " ";
    EXPECT_EQ(typed, "97 65 33 97 8 10 ");
}

TEST_F(InputOnX, TheMousePositionIsInGamePixelsAndAFramesMotionIsReadAlike)
{
    launch();
    movePointer(left + 100, top + 50);
    ASSERT_TRUE(waitForLine("pos 100 50", 5000)) << notes();
    movePointer(left + 130, top + 40);
    ASSERT_TRUE(waitForLine("pos 130 40", 5000)) << notes();
    EXPECT_TRUE(waitForLine("motion 30 -10", 5000)) << notes();
    // Outside the window the position is held to the screen's edge.
    movePointer(left + 600, top - 20 < 0 ? 0 : top - 20);
    EXPECT_TRUE(waitForLine("pos 319 ", 5000)) << notes();
    EXPECT_EQ(notes().find("mismatch"), std::string::npos) << notes();
}

TEST_F(InputOnX, InFullScreenThePointerIsScaledToTheGameScreen)
{
    launch({"--fullscreen"}, true);
    // 640 × 480 shows the game at twice its size.
    movePointer(2 * 100 + 1, 2 * 60 + 1);
    EXPECT_TRUE(waitForLine("pos 100 60", 5000)) << notes();
}

TEST_F(InputOnX, TheCapturedMouseStaysInTheWindowAndReportsRelativeMotion)
{
    launch({"--exclusive-mouse"});
    int width, height;
    x->windowArea(window, left, top, width, height);
    Display* display = XOpenDisplay(x->displayName().c_str());
    ASSERT_NE(display, nullptr);
    XTestFakeRelativeMotionEvent(display, 12, -7, CurrentTime);
    XFlush(display);
    EXPECT_TRUE(waitForLine("motion 12 -7", 5000)) << notes();
    // The captured pointer cannot leave the game's window.
    XTestFakeMotionEvent(display, 0, 635, 475, CurrentTime);
    XSync(display, False);
    pause(200);
    Window root, child;
    int rootX = 0, rootY = 0, windowX, windowY;
    unsigned int mask;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY,
                  &mask);
    EXPECT_LT(rootX, left + width);
    EXPECT_LT(rootY, top + height);
    XCloseDisplay(display);
    EXPECT_EQ(notes().find("mismatch"), std::string::npos) << notes();
    EXPECT_EQ(x->readTempFile("ErrorLog.txt"), "OpenGL Software Emulation\r\n");
}

} // namespace
