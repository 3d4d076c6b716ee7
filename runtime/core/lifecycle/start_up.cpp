// Engine start-up: the window, every subsystem object, the working folder and the first frame,
// in a fixed order.
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "runtime/audio/sound_lifecycle.h"
#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/end_routine.h"
#include "runtime/core/lifecycle/window_proc.h"
#include "runtime/core/window_events.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/renderer_lifecycle.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/input/input_lifecycle.h"
#include "runtime/net/net_state.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/paths.h"
#include "runtime/platform/window_sdl.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// Without a window or a GL context there is no game to run: say why and stop.
[[noreturn]] static void failStartUp(const char* what)
{
    fprintf(stderr, "%s: %s\n", what, SDL_GetError());
    SDL_Quit();
    exit(1);
}

// The program's folder: its path cut at the last '/' or '\' after the first character.
static std::string programFolder()
{
    std::string path = programPath();
    for (size_t i = path.size(); i-- > 1;) {
        if (path[i] == '/' || path[i] == '\\') return path.substr(0, i);
    }
    return path;
}

static void setAllFrameClocks()
{
    engine.frameStart = engine.previousFrameStart = engine.startTime = nowMs();
}

static void openMainWindow(const char* title)
{
    if (!startVideo()) failStartUp("Cannot start the display");
    // The window's client area has the screen size, centred on the desktop.
    int desktopWidth, desktopHeight, desktopBits;
    desktopMode(nullptr, desktopWidth, desktopHeight, desktopBits);
    int x = (desktopWidth - engine.screenWidth) / 2;
    int y = (desktopHeight - engine.screenHeight) / 2;
    engine.window = createMainWindow("Tembric", x, y, engine.screenWidth, engine.screenHeight, desktopBits);
    if (!engine.window) failStartUp("Cannot open the game window");
    SDL_ShowWindow(engine.window);
    setWindowText(engine.window, title);
    engine.windowTitle = title;
}

// The "Loading..." frame in the default font, centred.
static void showLoadingFrame()
{
    rtClearScreen();
    setAllFrameClocks();
    engine.renderer->rtPresent();
    engine.renderer->setup2D(0, 0, 0, 0);
    double screenWidth, screenHeight, cellWidth, cellHeight;
    rtScreenSize(screenWidth, screenHeight);
    rtLoadFont("", 0); // the built-in font, in case the font file is missing
    rt::loadDefaultFont("smalfont.bmp");
    rtFontSize(cellWidth, cellHeight);
    rtPrint("Loading...", (screenWidth - 10 * cellWidth) * 0.5, (screenHeight - cellHeight) * 0.5);
    rtShowFrame();
}

} // namespace rt

int rtEngineInit(const char* title)
{
    installEngineEndRoutine();
    installWindowProcedure(rtWindowProc);
    installDialogWindowSteps(hideWindowForDialog, enterStartScreenMode);
    openMainWindow(title);
    unlink(errorLogPath()); // only this run's lines go into the log

    createInputContext();
    createSoundSystem();
    netCreateRecord();
    if (!startRenderer()) failStartUp("Cannot create an OpenGL context for the game window");
    startScene3D();
    rtSeedRandom(toUint32Wrapping(nowMs()));
    enterStartScreenMode();
    startInput();
    startSoundSystem();
    engine.currentFont = 0;

    if (chdir(programFolder().c_str()) != 0) {
        // A program whose folder cannot be entered works from the current one.
    }
    createArchiveResolvers();
    rtSetArchiveFiles(programPath().c_str(), programPath().c_str()); // data may ride on the program file
    showLoadingFrame();

    engine.paused = false;
    setAllFrameClocks(); // the timers count from the end of start-up
    return 0;
}
