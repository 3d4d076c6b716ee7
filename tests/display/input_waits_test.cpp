// The input waits and text entry on a real X display: XTest keys edit the line, the cursor blinks over
// the screen as it was, the typed number is stored, and the key and mouse waits return.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <string>

#include "support/host_window.h"

namespace {

const std::string host = RT_BUILD_DIR "/tests/hosts/input_waits_host";
constexpr uint32_t blue = 0x000080, white = 0xFFFFFF;

class InputWaitsOnX : public HostWindowTest
{
  protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(openScreen(640, 480));
        startHost(host);
    }
    // Whether the 8 × 8 text cell at game pixel (cellX, cellY) holds any white glyph pixel.
    bool cellHasGlyph(const Screenshot& s, int cellX, int cellY) const
    {
        for (int dy = 0; dy < 8; ++dy)
            for (int dx = 0; dx < 8; ++dx)
                if (s.at(left + cellX + dx, top + cellY + dy) == white) return true;
        return false;
    }
    bool waitForLine(const std::string& line) const
    {
        return waitUntil([&] { return x->readTempFile("waits.txt").find(line + "\n") != std::string::npos; });
    }
    void type(std::initializer_list<const char*> keys)
    {
        for (const char* key : keys) {
            x->pressKey(key, 120);
            pause(60); // a frame with no key down between two presses
        }
    }
};

TEST_F(InputWaitsOnX, EditsTextAndNumbersThenWaitsForAKeyAndAClick)
{
    // The editor shows the screen as it was ("Name:" on blue) and blinks its cursor after the text.
    auto screenKept = [&](const Screenshot& s) {
        return s.at(left + 300, top + 200) == blue && cellHasGlyph(s, 10, 10) && cellHasGlyph(s, 42, 10);
    };
    bool cursorOn = x->waitForScreen(
        [&](const Screenshot& s) { return screenKept(s) && cellHasGlyph(s, 58, 10); }, timeoutMs);
    bool cursorOff = x->waitForScreen(
        [&](const Screenshot& s) { return screenKept(s) && !cellHasGlyph(s, 58, 10); }, timeoutMs);
    EXPECT_TRUE(cursorOn && cursorOff);
    if (!cursorOn || !cursorOff) x->grab().save(x->tempFolder() + "editor.ppm");

    // "ab", Backspace, "c": the shown line follows the edits, Return stores them.
    type({"a", "b", "BackSpace", "c"});
    EXPECT_TRUE(x->waitForScreen(
        [&](const Screenshot& s) {
            return cellHasGlyph(s, 58, 10) && cellHasGlyph(s, 66, 10) && !cellHasGlyph(s, 74, 10);
        },
        timeoutMs));
    type({"Return"});
    ASSERT_TRUE(waitForLine("text \"ac\"")) << x->readTempFile("waits.txt");

    type({"1", "2", "period", "5", "x", "Return"});
    ASSERT_TRUE(waitForLine("number 12.5")) << x->readTempFile("waits.txt");
    type({"Return"});
    ASSERT_TRUE(waitForLine("number 0")) << "an empty entry stores 0\n" << x->readTempFile("waits.txt");

    type({"k"});
    ASSERT_TRUE(waitForLine("key 107")) << x->readTempFile("waits.txt");

    Display* display = XOpenDisplay(x->displayName().c_str());
    ASSERT_NE(display, nullptr);
    XTestFakeMotionEvent(display, 0, left + 160, top + 120, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XFlush(display);
    pause(150);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    XCloseDisplay(display);
    EXPECT_TRUE(waitForLine("mouse 1")) << x->readTempFile("waits.txt");
    EXPECT_EQ(x->waitForExit(pid, timeoutMs), 0);
    pid = -1;
}

} // namespace
