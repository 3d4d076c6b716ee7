// EngineState: the one record of engine globals. It lives for the whole process and is never copied;
// every command reads and writes it through the global `engine`. Each subsystem owns the fields it
// describes; the subsystem objects are created once by rtEngineInit and released once by rtFatalEnd.
#pragma once

#include "runtime/values/rt_string.h"

struct SDL_Window;
class OpenGLRainbows;
namespace rt {
class Rainbows3D;
}
struct NetState;
struct ArchiveResolver;
struct InputContext;
struct SoundSystem;
struct SoundSlot;
namespace rt {
struct MediaWindow;
}

struct EngineState {
    RtString commandLine; // the program's arguments, without the program's own name

    // Subsystem objects: non-null from start-up to the end routine once their subsystem exists.
    rt::Rainbows3D* scene3d = nullptr;  // 3D scene
    OpenGLRainbows* renderer = nullptr; // 2D renderer and GL context
    NetState* network = nullptr;        // network games
    int currentFont = 0;                // font slot used by text printing

    // Frame clocks, all in milliseconds of nowMs().
    double frameStart = 0;         // start of the current frame (set by rtShowFrame)
    double previousFrameStart = 0; // start of the frame before
    double startTime = 0;          // end of start-up; rtElapsedTime counts from here

    ArchiveResolver* dataResolver = nullptr;  // file names of images, sounds and data
    ArchiveResolver* mediaResolver = nullptr; // file names of music and movies
    rt::MediaWindow* mediaWindow = nullptr;   // the music that plays, or null

    SDL_Window* window = nullptr; // the one main window
    RtString windowTitle;         // the game's title, also the window caption
    bool paused = false;          // the window is inactive: rtShowFrame waits
    bool exclusiveMouse = false;  // relative mouse mode requested at the entry
    bool escapeEnds = true;       // Escape ends the program (rtSetEscapeEnds)
    int frameRate = 60;           // frames per second asked for at the entry
    bool fullScreen = true;       // start in full-screen mode
    bool debugMode = false;       // end lines are logged, focus loss does not pause
    int screenHeight = 240;       // pixels
    int screenWidth = 320;        // pixels

    // Where and why the program ended (see end.h).
    double endLine = 0;
    double endCode = 0;
    double sourceFile = 0;
    double sourceLine = 0;

    SoundSlot* soundSlots = nullptr;     // the 256 sound slots
    SoundSystem* soundSystem = nullptr;  // the mixer
    InputContext* inputSystem = nullptr; // keyboard, mouse and joysticks
};

extern EngineState engine;
