// Commands of the engine core: entry, start-up, frames and timers.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// Core: entry, start-up, frames and timers
// ---------------------------------------------------------------------------------------------

// What a game fixes at its entry.
struct GameSettings
{
    const char* title = "Game";
    int screenWidth = 320;  // pixels
    int screenHeight = 240; // pixels
    int frameRate = 60;     // frames per second
    bool fullScreen = true; // start in full-screen mode
    bool debugMode = false; // log the end lines; keep running without focus
    bool exclusiveMouse = false;
};

// Stores the settings and the command line, starts the engine, runs gameMain and ends the program.
[[noreturn]] void rtRunGame(int argc, char** argv, const GameSettings& settings, void (*gameMain)());
// Engine start-up: window, subsystems, working folder (the program's own), "Loading..." frame.
// Ends the process with a message on standard error and exit code 1 when no window or GL context
// can be had. Returns 0.
int rtEngineInit(const char* title);

// Shows the frame drawn so far and waits for the next point of the frame grid, handling window
// events meanwhile; ends the program on Escape (see rtSetEscapeEnds) or Left Alt + F4.
void rtShowFrame();
// Frames per second from now on; 0 or below means at most 500 (a 2 ms interval).
void rtSetFrameRate(double framesPerSecond);
// Milliseconds since the previous rtShowFrame began; at least 1.
double rtFrameDuration();
// Milliseconds since the end of start-up.
double rtElapsedTime();
// Whether Escape ends the program (it does from the start); not-a-number counts as on.
void rtSetEscapeEnds(double ends);
// A copy of the program's arguments.
RtString rtCommandLine();
// The main window's system handle (its X11 window id), 0 when there is none.
double rtWindowHandle();
