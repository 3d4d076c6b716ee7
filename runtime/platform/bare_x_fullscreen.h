// Full screen on an X display without a window manager. SDL asks the window manager to make a window
// full screen; with none running nothing answers, the X window keeps its size, and SDL reports the
// display's size all the same. The window is then placed over the display here, directly.
#pragma once

#include <SDL.h>

#include <string>

namespace rt {

enum class BareFullscreen
{
    NotNeeded, // not an X display, or a window manager runs and answers SDL's request
    Covered,   // no window manager: the window now covers the area itself
    Failed,    // no window manager, and the window could not be made to cover the area
};

// True on an X display where no window manager runs: SDL's full-screen switch would wait 100 ms for
// an answer that never comes and change nothing, so the caller goes to coverAreaWithoutWindowManager.
bool onXWithoutWindowManager(SDL_Window* window);

// Call after SDL switched the window to desktop full screen, or instead of that where no window
// manager runs. `area` is the display's area in X screen coordinates; on Failed, `reason` says why.
BareFullscreen coverAreaWithoutWindowManager(SDL_Window* window, const SDL_Rect& area, std::string& reason);

} // namespace rt
