// Window events: pause and resume on focus changes, an orderly end on close; and the debugger mark,
// which steps the window aside for a debugger and resumes as after a pause.
#include "runtime/core/lifecycle/window_proc.h"

#include <SDL.h>
#include <cstdio>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/window_events.h"
#include "runtime/input/input.h"
#include "runtime/platform/paths.h"
#include "runtime/platform/window_sdl.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

static void setPaused(bool paused)
{
    if (engine.debugMode) return;
    char title[1024];
    snprintf(title, sizeof title, paused ? "%s <pause>" : "%s", engine.windowTitle.c_str());
    setWindowText(engine.window, title);
    engine.paused = paused;
}

void rtWindowProc(const SDL_Event& event)
{
    if (event.type == SDL_QUIT) rtFatalEnd();
    if (event.type != SDL_WINDOWEVENT) return;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        setPaused(true);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        setPaused(false);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        rtFatalEnd();
    default:
        break;
    }
}

void rtWaitWhilePaused()
{
    while (engine.paused) {
        rtPumpMessages();
        SDL_Delay(100);
    }
}

} // namespace rt

double rtDebugMark(double number)
{
    if (!debuggerAttached()) return 0;
    char text[32];
    snprintf(text, sizeof text, "BP%x", unsigned(toInt(number)));
    if (engine.window) SDL_HideWindow(engine.window);
    fprintf(stderr, "%s", text);
    if (engine.window) {
        SDL_ShowWindow(engine.window);
        SDL_RaiseWindow(engine.window);
    }
    engine.paused = false;
    // Keys may have gone up or down while the debugger held the program: they are read anew, and
    // mouse motion counts from here.
    if (engine.inputSystem) {
        engine.inputSystem->refreshKeyboard();
        engine.inputSystem->markNewFrame();
    }
    return 1;
}
