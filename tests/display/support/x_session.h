// An X server of the test's own (Xvfb at a chosen size, optionally with a window manager) and the
// means to drive programs on it: start them with a temp folder of their own, find their windows, read
// the screen, press keys, move the focus, close windows. Every wait has a time limit.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, rows top first

    // The pixel at (x, y); 0xFFFFFFFF (no colour) outside the screen.
    uint32_t at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height ? pixels[size_t(y) * width + x] : 0xFFFFFFFF;
    }
    bool save(const std::string& ppmPath) const;
};

class XSession {
public:
    XSession(int width, int height, bool windowManager = false);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return connection != nullptr; }
    const std::string& displayName() const { return display; }
    // A fresh folder that started programs get as TMPDIR (their ErrorLog.txt lands here).
    const std::string& tempFolder() const { return temp; }
    std::string readTempFile(const std::string& name) const;

    // Starts a program on this display with RT_UNATTENDED=1 and TMPDIR = tempFolder().
    pid_t start(const std::string& program, const std::vector<std::string>& arguments = {},
                const std::string& workingFolder = "");
    // The program's exit code; -1 when it is still running after timeoutMs (it is then killed),
    // -2 when it died from a signal.
    int waitForExit(pid_t pid, int timeoutMs);

    // A top-level window whose title is exactly `title` (0 when none appears within timeoutMs).
    unsigned long waitForWindow(const std::string& title, int timeoutMs);
    std::string windowTitle(unsigned long window);
    bool waitForTitle(unsigned long window, const std::string& title, int timeoutMs);
    // The window's inner area in screen coordinates.
    void windowArea(unsigned long window, int& x, int& y, int& width, int& height);

    Screenshot grab();
    // Grabs the screen until `condition` holds (true) or timeoutMs passes (false).
    bool waitForScreen(const std::function<bool(const Screenshot&)>& condition, int timeoutMs);

    // Keys by X key name ("Escape", "Return", "space", "x", "Up", "Alt_L", "F4"), through XTest.
    void keyDown(const char* keyName);
    void keyUp(const char* keyName);
    // Down, held for holdMs (more than a frame, so a once-per-frame poll sees it), up.
    void pressKey(const char* keyName, int holdMs = 100);

    void focus(unsigned long window);
    void unfocus();
    // Asks the window to close, as a window manager's close button does.
    void requestClose(unsigned long window);

private:
    std::string display;
    std::string temp;
    pid_t serverPid = -1;
    pid_t windowManagerPid = -1;
    struct _XDisplay* connection = nullptr;
};

// Sleeps the given milliseconds.
void pause(int milliseconds);
