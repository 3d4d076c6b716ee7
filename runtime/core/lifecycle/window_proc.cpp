// Window events: pause and resume on focus changes, an orderly end on close.
#include "runtime/core/lifecycle/window_proc.h"

#include <SDL.h>
#include <cstdio>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/window_events.h"
#include "runtime/platform/window_sdl.h"

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
