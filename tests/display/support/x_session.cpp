// Xvfb sessions for display tests, driven over Xlib and XTest.
#include "support/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

void pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

static double millisecondsNow()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool Screenshot::save(const std::string& ppmPath) const
{
    std::ofstream out(ppmPath, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    for (uint32_t pixel : pixels) {
        char rgb[3] = {char(pixel >> 16), char(pixel >> 8), char(pixel)};
        out.write(rgb, 3);
    }
    return bool(out);
}

static pid_t spawn(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment,
                   const std::string& workingFolder = "", int keepFd = -1)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) environment.push_back(*entry);
    for (const std::string& entry : extraEnvironment) {
        std::string key = entry.substr(0, entry.find('=') + 1);
        std::erase_if(environment, [&](const std::string& e) { return e.rfind(key, 0) == 0; });
        environment.push_back(entry);
    }
    pid_t pid = fork();
    if (pid != 0) return pid;
    // Child: gone with the test process, quiet, in its folder, with its environment.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    if (!getenv("RT_TEST_VERBOSE")) dup2(devNull, STDOUT_FILENO);
    if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(126);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd) close(fd);
    std::vector<char*> argv, envp;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

// Windows come and go while a test looks at them (a window manager's frames, a program that ends):
// an X error about a vanished window is expected and must not end the test program.
static int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

XSession::XSession(int width, int height, bool windowManager)
{
    XSetErrorHandler(ignoreXError);
    char folder[] = "/tmp/rt-display-XXXXXX";
    if (mkdtemp(folder)) temp = std::string(folder) + "/";

    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    serverPid = spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen, "-nolisten", "tcp",
                       "-noreset"},
                      {}, "", pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (number.empty()) return;
    display = ":" + number;
    connection = XOpenDisplay(display.c_str());
    if (connection && windowManager) {
        windowManagerPid = spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + display});
        // openbox announces itself on the root window once it manages it.
        Atom check = XInternAtom(connection, "_NET_SUPPORTING_WM_CHECK", False);
        for (double end = millisecondsNow() + 10000; millisecondsNow() < end; pause(50)) {
            Atom type;
            int format;
            unsigned long count, after;
            unsigned char* data = nullptr;
            XGetWindowProperty(connection, DefaultRootWindow(connection), check, 0, 1, False, XA_WINDOW, &type,
                               &format, &count, &after, &data);
            if (data) XFree(data);
            if (count) break;
        }
    }
}

XSession::~XSession()
{
    if (connection) XCloseDisplay(connection);
    for (pid_t pid : {windowManagerPid, serverPid}) {
        if (pid <= 0) continue;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    if (!temp.empty() && !getenv("RT_TEST_KEEP")) std::filesystem::remove_all(temp);
}

std::string XSession::readTempFile(const std::string& name) const
{
    std::ifstream in(temp + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

pid_t XSession::start(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder)
{
    std::vector<std::string> command{program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return spawn(command, {"DISPLAY=" + display, "TMPDIR=" + temp, "RT_UNATTENDED=1", "SDL_AUDIODRIVER=dummy"},
                 workingFolder);
}

int XSession::waitForExit(pid_t pid, int timeoutMs)
{
    int status = 0;
    for (double end = millisecondsNow() + timeoutMs; millisecondsNow() < end; pause(20)) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

std::string XSession::windowTitle(unsigned long window)
{
    Atom utf8 = XInternAtom(connection, "UTF8_STRING", False);
    Atom netName = XInternAtom(connection, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(connection, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(connection, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The windows that carry a title, searched below the root so that a window manager's frames do not hide
// the client windows inside them.
static void collectWindows(Display* connection, Window parent, std::vector<Window>& found, int depth)
{
    Window root, parentOut, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(connection, parent, &root, &parentOut, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) {
        found.push_back(children[i]);
        if (depth < 3) collectWindows(connection, children[i], found, depth + 1);
    }
    if (children) XFree(children);
}

unsigned long XSession::waitForWindow(const std::string& title, int timeoutMs)
{
    for (double end = millisecondsNow() + timeoutMs; millisecondsNow() < end; pause(50)) {
        std::vector<Window> windows;
        collectWindows(connection, DefaultRootWindow(connection), windows, 0);
        for (Window window : windows) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(connection, window, &attributes) && attributes.map_state == IsViewable &&
                windowTitle(window) == title)
                return window;
        }
    }
    return 0;
}

bool XSession::waitForTitle(unsigned long window, const std::string& title, int timeoutMs)
{
    for (double end = millisecondsNow() + timeoutMs; millisecondsNow() < end; pause(50))
        if (windowTitle(window) == title) return true;
    return false;
}

void XSession::windowArea(unsigned long window, int& x, int& y, int& width, int& height)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(connection, window, &attributes);
    Window child;
    x = y = 0;
    XTranslateCoordinates(connection, window, DefaultRootWindow(connection), 0, 0, &x, &y, &child);
    width = attributes.width;
    height = attributes.height;
}

Screenshot XSession::grab()
{
    Screenshot shot;
    Window root = DefaultRootWindow(connection);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(connection, root, &attributes)) return shot;
    XImage* image = XGetImage(connection, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.pixels.resize(size_t(shot.width) * shot.height);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) shot.pixels[size_t(y) * shot.width + x] = XGetPixel(image, x, y) & 0xFFFFFF;
    XDestroyImage(image);
    return shot;
}

bool XSession::waitForScreen(const std::function<bool(const Screenshot&)>& condition, int timeoutMs)
{
    for (double end = millisecondsNow() + timeoutMs; millisecondsNow() < end; pause(50))
    {
        Screenshot shot = grab();
        if (shot.width > 0 && condition(shot)) return true;
    }
    return false;
}

static void sendKey(Display* connection, const char* keyName, bool down)
{
    KeyCode code = XKeysymToKeycode(connection, XStringToKeysym(keyName));
    XTestFakeKeyEvent(connection, code, down ? True : False, CurrentTime);
    XFlush(connection);
}

void XSession::keyDown(const char* keyName) { sendKey(connection, keyName, true); }
void XSession::keyUp(const char* keyName) { sendKey(connection, keyName, false); }

void XSession::pressKey(const char* keyName, int holdMs)
{
    keyDown(keyName);
    pause(holdMs);
    keyUp(keyName);
}

void XSession::focus(unsigned long window)
{
    XSetInputFocus(connection, window, RevertToPointerRoot, CurrentTime);
    XFlush(connection);
}

void XSession::unfocus()
{
    XSetInputFocus(connection, None, RevertToNone, CurrentTime);
    XFlush(connection);
}

void XSession::requestClose(unsigned long window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, window, False, NoEventMask, &event);
    XFlush(connection);
}
