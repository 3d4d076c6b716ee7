// SDL2 window creation and desktop queries.
#include "runtime/platform/window_sdl.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <cstdio>

#include "runtime/platform/x11_window.h"

using namespace rt;

namespace rt {

bool startVideo()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        fprintf(stderr, "Cannot start the display: %s\n", SDL_GetError());
        return false;
    }
    SDL_DisableScreenSaver();
    return true;
}

SDL_Window* createMainWindow(const char* text, int x, int y, int width, int height, int colourBits)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    if (colourBits >= 24) {
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    }
    SDL_Window* window = SDL_CreateWindow(text, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) fprintf(stderr, "Cannot open the game window: %s\n", SDL_GetError());
    return window;
}

void desktopMode(SDL_Window* window, int& width, int& height, int& bitsPerPixel)
{
    int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) {
        width = height = 0;
        bitsPerPixel = 32;
        return;
    }
    width = mode.w;
    height = mode.h;
    bitsPerPixel = SDL_BITSPERPIXEL(mode.format);
}

void setWindowText(SDL_Window* window, const char* text)
{
    if (window) SDL_SetWindowTitle(window, text);
}

void destroyMainWindow(SDL_Window* window)
{
    if (window) SDL_DestroyWindow(window);
}

#if defined(SDL_VIDEO_DRIVER_X11)
X11Window x11WindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
    return {info.info.x11.display, info.info.x11.window};
}
#endif

unsigned long nativeWindowHandle(SDL_Window* window)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    return x11WindowOf(window).window;
#else
    (void)window;
    return 0;
#endif
}

} // namespace rt
