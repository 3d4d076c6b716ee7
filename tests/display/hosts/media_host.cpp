// A small game for the display tests of movies. It plays each file given in turn with the chosen
// command and appends "result R after MS" (the command's result and time) for each to "media.txt" in its temp
// folder; then it shows frames of a blue screen with a white square at (10, 10) until it is ended.
//   media_host once|looped [--size=WxH] [--on-space] file...
// --on-space starts each movie only once Space is down.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static bool looped = false, onSpace = false;
static std::vector<std::string> files;

static void note(const std::string& line)
{
    FILE* file = fopen((tempFolderPath() + "media.txt").c_str(), "a");
    if (!file) return;
    fprintf(file, "%s\n", line.c_str());
    fclose(file);
}

static void drawScreen()
{
    rtDrawRect(0, 0, 2000, 2000, 0xFF0000);
    rtDrawRect(10, 10, 29, 29, 0xFFFFFF);
}

static void hostMain()
{
    for (const std::string& file : files) {
        while (onSpace && !rtKeyState(57)) {
            drawScreen();
            rtShowFrame();
        }
        double started = rtElapsedTime();
        double result = looped ? rtPlayMovieLooped(file.c_str()) : rtPlayMovieOnce(file.c_str());
        note("result " + std::to_string(int(result)) + " after " +
             std::to_string(int(rtElapsedTime() - started)));
    }
    for (;;) {
        drawScreen();
        rtShowFrame();
    }
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    looped = argc > 1 && strcmp(argv[1], "looped") == 0;
    for (int i = 2; i < argc; ++i) {
        if (sscanf(argv[i], "--size=%dx%d", &settings.screenWidth, &settings.screenHeight) == 2) continue;
        if (strcmp(argv[i], "--on-space") == 0)
            onSpace = true;
        else
            files.push_back(argv[i]);
    }
    rtRunGame(argc, argv, settings, hostMain);
}
