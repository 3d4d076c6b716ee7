// Every example starts under X, draws its frames and ends with code 0 on Escape; the chat example
// carries a typed line from the host's window to the guest.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "support/x_session.h"

namespace {

const std::string examples = RT_BUILD_DIR "/examples/";
constexpr int timeoutMs = 60000;

bool drewSomething(const Screenshot& shot)
{
    return std::any_of(shot.pixels.begin(), shot.pixels.end(), [](uint32_t pixel) { return pixel != 0; });
}

// Presses Escape until the program ends (a press before its first frame goes unseen) and expects
// exit code 0.
void endWithEscape(XSession& x, unsigned long window, pid_t pid)
{
    x.focus(window);
    int status = 0;
    bool ended = false;
    for (int press = 0; press < 100 && !ended; ++press) {
        x.pressKey("Escape", 150);
        pause(100);
        ended = waitpid(pid, &status, WNOHANG) == pid;
    }
    if (!ended) x.waitForExit(pid, 0); // ends it by force
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0) << x.readTempFile("ErrorLog.txt");
}

} // namespace

TEST(Examples, EachDrawsItsFramesAndEndsOnEscape)
{
    const struct
    {
        const char* program;
        const char* title;
    } cases[] = {{"hello_sprite", "Hello sprite"},
                 {"shapes_and_blending", "Shapes and blending"},
                 {"text_and_fonts", "Text and fonts"},
                 {"mouse_and_joysticks", "Mouse and joysticks"},
                 {"high_scores", "High scores"},
                 {"path_finding", "Path finding"},
                 {"scene3d", "3D scene"},
                 {"shadows3d", "3D lights and shadows"}};
    for (const auto& example : cases) {
        SCOPED_TRACE(example.program);
        XSession x(320, 240);
        ASSERT_TRUE(x.ready());
        pid_t pid = x.start(examples + example.program);
        unsigned long window = x.waitForWindow(example.title, timeoutMs);
        ASSERT_NE(window, 0u);
        EXPECT_TRUE(x.waitForScreen(drewSomething, timeoutMs));
        endWithEscape(x, window, pid);
    }
}

TEST(Examples, NetChatCarriesALineFromHostToGuest)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    const std::string port = std::to_string(30000 + getpid() % 20000);
    const std::string guestOutput = x.tempFolder() + "guest.txt";
    pid_t host = x.start("/bin/sh", {"-c", "exec '" + examples + "net_chat' host " + port + " >'" +
                                               x.tempFolder() + "host.txt'"});
    unsigned long hostWindow = x.waitForWindow("Net chat host", timeoutMs);
    ASSERT_NE(hostWindow, 0u);
    pid_t guest = x.start("/bin/sh", {"-c", "exec '" + examples + "net_chat' join 127.0.0.1 " + port + " >'" +
                                                guestOutput + "'"});
    unsigned long guestWindow = x.waitForWindow("Net chat guest", timeoutMs);
    ASSERT_NE(guestWindow, 0u);
    auto guestSaw = [&](const char* text) {
        for (int waited = 0; waited < timeoutMs; waited += 50, pause(50))
            if (x.readTempFile("guest.txt").find(text) != std::string::npos) return true;
        return false;
    };
    ASSERT_TRUE(guestSaw("Joined the game")) << x.readTempFile("guest.txt");

    x.focus(hostWindow);
    pause(500); // the focus arrives before the first key
    for (const char* key : {"h", "i", "Return"})
        x.pressKey(key);
    EXPECT_TRUE(guestSaw("host: hi")) << x.readTempFile("guest.txt") << "host:\n"
                                      << x.readTempFile("host.txt");
    endWithEscape(x, guestWindow, guest);
    endWithEscape(x, hostWindow, host);
}
