// EngineState: the one record of engine globals. It lives for the whole process and is never copied;
// every command reads and writes it through the global `engine`. Each subsystem owns the fields it
// describes; the subsystem objects are created once by rtEngineInit and released once by rtFatalEnd.
#pragma once

#include <string>

struct SDL_Window;

namespace rt {

class OpenGLRainbows;
class Rainbows3D;
struct NetState;
struct ArchiveResolver;
struct InputContext;
struct SoundSystem;
struct SoundSlot;
struct MediaWindow;

struct EngineState {
    std::string commandLine; // the program's arguments, without the program's own name

    // Subsystem objects: non-null from start-up to the end routine once their subsystem exists.
    Rainbows3D* scene3d = nullptr;      // 3D scene
    OpenGLRainbows* renderer = nullptr; // 2D renderer and GL context
    NetState* network = nullptr;        // network games
    int currentFont = 0;                // font slot used by text printing

    // Frame clocks, all in milliseconds of nowMs().
    double frameStart = 0;         // start of the current frame (set by rtShowFrame)
    double previousFrameStart = 0; // start of the frame before
    double startTime = 0;          // end of start-up; rtElapsedTime counts from here

    ArchiveResolver* dataResolver = nullptr;  // file names of images, sounds and data
    ArchiveResolver* mediaResolver = nullptr; // file names of music and movies
    MediaWindow* mediaWindow = nullptr;       // the music that plays, or null

    SDL_Window* window = nullptr; // the one main window
    std::string windowTitle;      // the game's title, also the window caption
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

} // namespace rt
