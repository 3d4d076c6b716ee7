// A small game for the display tests of the engine core. It draws a test pattern every frame: the
// screen in dark red, a 10 × 10 green square in the top-left corner and a 10 × 10 blue square in the
// bottom-right corner, so a test can tell where the game screen lands in the window and how it scales.
//   core_host [--windowed] [--debug] [--title=T] [--size=WxH] [--end-after=N] [--fps=N] [--report]
// --end-after=N calls the end command after N frames. --report writes the timers and screen modes it
// sees into report.txt in its temp folder, then ends.
#include <SDL_opengl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static int endAfterFrames = -1;
static bool report = false;

static void fillRect(int x0, int y0, int x1, int y1, unsigned char r, unsigned char g, unsigned char b)
{
    glColor3ub(r, g, b);
    glBegin(GL_QUADS);
    glVertex2i(x0, -y0);
    glVertex2i(x0, -y1);
    glVertex2i(x1, -y1);
    glVertex2i(x1, -y0);
    glEnd();
}

static void drawPattern()
{
    double width, height;
    rtScreenSize(width, height);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    fillRect(0, 0, int(width), int(height), 128, 0, 0);
    fillRect(0, 0, 10, 10, 0, 255, 0);
    fillRect(int(width) - 10, int(height) - 10, int(width), int(height), 0, 0, 255);
}

// Timers right after start-up, and the screen mode commands' results.
static void writeReport()
{
    FILE* out = fopen((tempFolderPath() + "report.txt").c_str(), "w");
    fprintf(out, "elapsed %.3f\n", rtElapsedTime());
    fprintf(out, "duration %.3f\n", rtFrameDuration());
    fprintf(out, "fullscreen at start %g\n", rtIsFullscreen());
    double result = rtSetScreenMode(0, 0, 0);
    fprintf(out, "windowed result %g now %g\n", result, rtIsFullscreen());
    result = rtSetScreenMode(0, 0, 1);
    fprintf(out, "fullscreen result %g now %g\n", result, rtIsFullscreen());
    double width, height;
    rtScreenSize(width, height);
    fprintf(out, "screen %gx%g\n", width, height);
    double start = rtElapsedTime();
    for (int i = 0; i < 30; ++i) rtShowFrame();
    fprintf(out, "30 frames %.1f\n", rtElapsedTime() - start);
    rtSetFrameRate(0);
    start = rtElapsedTime();
    for (int i = 0; i < 100; ++i) rtShowFrame();
    fprintf(out, "100 frames at rate 0 %.1f\n", rtElapsedTime() - start);
    fclose(out);
    rtEnd();
}

static void hostMain()
{
    if (report) writeReport();
    for (int frame = 0;; ++frame) {
        if (frame == endAfterFrames) rtEnd();
        drawPattern();
        rtShowFrame();
    }
}

int main(int argc, char** argv)
{
    GameSettings settings;
    std::string title = "Flipmatics";
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (strcmp(argument, "--windowed") == 0) settings.fullScreen = false;
        if (strcmp(argument, "--debug") == 0) settings.debugMode = true;
        if (strncmp(argument, "--title=", 8) == 0) title = argument + 8;
        if (strncmp(argument, "--end-after=", 12) == 0) endAfterFrames = atoi(argument + 12);
        if (strcmp(argument, "--report") == 0) report = true;
        if (strncmp(argument, "--fps=", 6) == 0) settings.frameRate = atoi(argument + 6);
        if (strncmp(argument, "--size=", 7) == 0) sscanf(argument + 7, "%dx%d", &settings.screenWidth, &settings.screenHeight);
    }
    settings.title = title.c_str();
    rtRunGame(argc, argv, settings, hostMain);
}
