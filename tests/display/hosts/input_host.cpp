// A small game for the input display tests. Every frame it reads the keys the tests press, the typed
// characters and the mouse, and appends what changed to "input.txt" in its temp folder:
//   key C        key code C read as down (rtKeyState) for the first time
//   text N       rtKeyText gave the character with code N
//   pos X Y      rtMouseState's position changed
//   motion DX DY rtMouseAxis gave a frame's motion (read twice; "mismatch" when the reads differ)
//   input_host [--keep-escape] [--exclusive-mouse] [--fullscreen]
// Escape does not end this game unless --keep-escape is given; Left Alt + F4 always ends it.
#include <SDL_opengl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static void note(const char* format, double a, double b = 0)
{
    std::string path = tempFolderPath() + "input.txt";
    FILE* file = fopen(path.c_str(), "a");
    if (!file) return;
    fprintf(file, format, a, b);
    fputc('\n', file);
    fclose(file);
}

static bool keepEscape = false;

static void hostMain()
{
    if (!keepEscape) rtSetEscapeEnds(0);
    const int watched[] = {1, 14, 28, 30, 31, 42, 45, 56, 57, 62, 200, 203, 205, 208};
    bool seen[256] = {};
    double lastX = -1, lastY = -1;
    for (;;) {
        for (int code : watched)
            if (!seen[code] && rtKeyState(code)) {
                seen[code] = true;
                note("key %g", code);
            }
        // 257 reads key 1 as well.
        if (!seen[255] && rtKeyState(257)) {
            seen[255] = true;
            note("key %g", 257);
        }
        RtString typed = rtKeyText();
        if (typed.length()) note("text %g", typed.charAt(0));
        double x, y, b1, b2;
        rtMouseState(x, y, b1, b2);
        if (x != lastX || y != lastY) note("pos %g %g", x, y);
        lastX = x, lastY = y;
        double dx = rtMouseAxis(0), dy = rtMouseAxis(1);
        if (rtMouseAxis(0) != dx || rtMouseAxis(1) != dy) note("mismatch %g %g", dx, dy);
        if (dx || dy) note("motion %g %g", dx, dy);
        rtShowFrame();
    }
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--keep-escape") == 0) keepEscape = true;
        if (strcmp(argv[i], "--exclusive-mouse") == 0) settings.exclusiveMouse = true;
        if (strcmp(argv[i], "--fullscreen") == 0) settings.fullScreen = true;
    }
    rtRunGame(argc, argv, settings, hostMain);
}
