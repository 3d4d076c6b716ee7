// Finding out whether a window manager runs on the X display, and placing the window over the display
// when none does.
#include "runtime/platform/bare_x_fullscreen.h"

#include "runtime/platform/x11_window.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

namespace rt {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

constexpr int settleTimeoutMs = 500; // how long a slow X server gets to carry out the placement

// Requests about windows that may be gone (the check window of a window manager that has ended) must
// not end the program, as Xlib's default error handler would.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// The window that `property` of `window` names, or None.
Window windowProperty(Display* display, Window window, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    Window named = None;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &left,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1)
        named = Window(*reinterpret_cast<unsigned long*>(data)); // 32-bit items come as longs
    if (data) XFree(data);
    return named;
}

// A window manager that answers full-screen requests names a check window of its own on the root
// window, and that window names itself; a name left behind by one that has ended fails the second test.
bool windowManagerRuns(Display* display, Window root)
{
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Window own = windowProperty(display, root, check);
    return own != None && windowProperty(display, own, check) == own;
}

// Whether the window's inside lies exactly on `area`; its size goes to width and height.
bool coversArea(Display* display, Window window, const SDL_Rect& area, int& width, int& height)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child);
    width = attributes.width, height = attributes.height;
    return x == area.x && y == area.y && width == area.w && height == area.h;
}

BareFullscreen placeOverArea(Display* display, Window window, const SDL_Rect& area, std::string& reason)
{
    if (windowManagerRuns(display, DefaultRootWindow(display))) return BareFullscreen::NotNeeded;
    XMoveResizeWindow(display, window, area.x, area.y, unsigned(area.w), unsigned(area.h));
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime); // nobody else gives it the keyboard
    int width = 0, height = 0;
    for (Uint32 start = SDL_GetTicks();;) {
        XSync(display, False);
        if (coversArea(display, window, area, width, height)) return BareFullscreen::Covered;
        if (SDL_GetTicks() - start > settleTimeoutMs) break;
        SDL_Delay(10);
    }
    reason = "no window manager, and the window stayed " + std::to_string(width) + " x " +
             std::to_string(height) + " instead of covering the display";
    return BareFullscreen::Failed;
}

} // namespace
#endif

bool onXWithoutWindowManager(SDL_Window* window)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    Display* display = x11WindowOf(window).display;
    return display && !windowManagerRuns(display, DefaultRootWindow(display));
#else
    (void)window;
    return false;
#endif
}

BareFullscreen coverAreaWithoutWindowManager(SDL_Window* window, const SDL_Rect& area, std::string& reason)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    X11Window x11 = x11WindowOf(window);
    Display* display = x11.display;
    if (!display) return BareFullscreen::NotNeeded;
    XSync(display, False); // errors of SDL's own earlier requests go to SDL's handler, not to ours
    XErrorHandler previousHandler = XSetErrorHandler(ignoreXError);
    BareFullscreen result = placeOverArea(display, x11.window, area, reason);
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    return result;
#else
    (void)window, (void)area, (void)reason;
    return BareFullscreen::NotNeeded;
#endif
}

} // namespace rt
