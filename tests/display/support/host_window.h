// A display test fixture that runs one host program in its own window under a fresh X server, and
// knows where that window's game screen lies on the X screen.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/x_session.h"

class HostWindowTest : public testing::Test
{
  protected:
    static constexpr int timeoutMs = 20000;

    // A fresh X server with a screen of width × height, with a window manager when asked; fails the
    // test when it does not come up.
    void openScreen(int width, int height, bool windowManager = false);
    // Starts the program, waits for its "Game" window, gives it the focus and notes its position.
    void startHost(const std::string& program, const std::vector<std::string>& arguments = {});
    // Asks the host to end and waits a little for it, unless the test already saw it exit.
    void TearDown() override;
    // Checks `condition` every 50 ms until it holds (true) or limitMs passes (false).
    bool waitUntil(const std::function<bool()>& condition, int limitMs = timeoutMs) const;

    std::unique_ptr<XSession> x;
    pid_t pid = -1; // the running host; set it to -1 once the test has waited for its exit
    unsigned long window = 0;
    int left = 0, top = 0; // the window's inner top-left corner on the X screen
};
