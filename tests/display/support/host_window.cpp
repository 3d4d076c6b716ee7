// Running a display-test host in its own window.
#include "support/host_window.h"

#include <signal.h>

void HostWindowTest::openScreen(int width, int height, bool windowManager)
{
    x = std::make_unique<XSession>(width, height, windowManager);
    ASSERT_TRUE(x->ready());
}

void HostWindowTest::startHost(const std::string& program, const std::vector<std::string>& arguments)
{
    pid = x->start(program, arguments);
    window = x->waitForWindow("Game", timeoutMs);
    ASSERT_NE(window, 0u);
    x->focus(window);
    int width, height;
    x->windowArea(window, left, top, width, height);
}

void HostWindowTest::TearDown()
{
    if (pid > 0 && x) {
        kill(pid, SIGTERM);
        x->waitForExit(pid, 5000);
    }
}

bool HostWindowTest::waitUntil(const std::function<bool()>& condition, int limitMs) const
{
    for (int waited = 0; waited < limitMs; waited += 50) {
        if (condition()) return true;
        pause(50);
    }
    return false;
}
