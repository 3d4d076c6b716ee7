// The X display and window behind an SDL window, for the few things SDL does not offer. Xlib's
// header defines short macro names (None, Bool, Status), so only the platform files that talk to X
// include this one.
#pragma once

#include <SDL.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>

namespace rt {

struct X11Window
{
    Display* display = nullptr; // null when the window is not on an X display
    Window window = 0;
};

X11Window x11WindowOf(SDL_Window* window);

} // namespace rt
#endif
