// What the 3D benchmarks share: the window they run in, how they time GL work and the line that says
// what the figures were measured on.
#pragma once

#include <SDL_opengl.h>

#include <cstdio>
#include <cstring>

#include "runtime/platform/clock.h"
#include "runtime/runtime.h"

// A window of `--size=WxH` from the command line (320 × 240 without it) and no frame grid to wait for,
// so frames go as fast as they are drawn.
inline GameSettings benchWindow(int argc, char** argv, const char* title)
{
    GameSettings settings;
    settings.title = title;
    settings.fullScreen = false;
    settings.frameRate = 0;
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--size=", 7) == 0)
            sscanf(argv[i] + 7, "%dx%d", &settings.screenWidth, &settings.screenHeight);
    return settings;
}

// Milliseconds per round over `rounds` rounds of draw(1) .. draw(rounds), after a round draw(0) that
// warms up; every round is finished (glFinish) before the next starts, so each is timed in full.
template <class Draw> double finishedMsPerRound(int rounds, Draw draw)
{
    draw(0);
    glFinish();
    double start = rt::nowMs();
    for (int round = 1; round <= rounds; ++round) {
        draw(round);
        glFinish();
    }
    return (rt::nowMs() - start) / rounds;
}

// "W x H, N triangles, <GL renderer>": the first line of the figures.
inline void printSetup(double triangles)
{
    double width, height;
    rtScreenSize(width, height);
    printf("%.0f x %.0f, %.0f triangles, %s\n", width, height, triangles,
           reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}
