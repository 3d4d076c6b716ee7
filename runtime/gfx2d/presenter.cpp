// The offscreen game screen, its placement in the window and the window's screen modes.
#include "runtime/gfx2d/presenter.h"

#include <algorithm>
#include <cstdio>

#include "runtime/core/end.h"
#include "runtime/gfx2d/gl_functions.h"

using namespace rt;

namespace rt {

void Presenter::attach(SDL_Window* gameWindow)
{
    shownIn = gameWindow;
    fullscreen = false;
    SDL_GetWindowPosition(shownIn, &windowedX, &windowedY);
}

bool Presenter::makeScreenBuffer(int screenWidth, int screenHeight)
{
    if (!framebuffersAvailable()) return false;
    glGenFramebuffersFn(1, &screenFramebuffer);
    glBindFramebufferFn(GL_FRAMEBUFFER, screenFramebuffer);
    glGenRenderbuffersFn(1, &screenColour);
    glBindRenderbufferFn(GL_RENDERBUFFER, screenColour);
    glRenderbufferStorageFn(GL_RENDERBUFFER, GL_RGBA8, screenWidth, screenHeight);
    glFramebufferRenderbufferFn(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, screenColour);
    glGenRenderbuffersFn(1, &screenDepthStencil);
    glBindRenderbufferFn(GL_RENDERBUFFER, screenDepthStencil);
    glRenderbufferStorageFn(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, screenWidth, screenHeight);
    glFramebufferRenderbufferFn(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, screenDepthStencil);
    glFramebufferRenderbufferFn(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, screenDepthStencil);
    if (glCheckFramebufferStatusFn(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        freeScreenBuffer(); // draw straight into the window instead
        return false;
    }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void Presenter::freeScreenBuffer()
{
    // Names exist only where a context made them: without any there is nothing to ask GL.
    if (!screenFramebuffer && !screenColour && !screenDepthStencil) return;
    glBindFramebufferFn(GL_FRAMEBUFFER, 0);
    if (screenFramebuffer) glDeleteFramebuffersFn(1, &screenFramebuffer);
    if (screenColour) glDeleteRenderbuffersFn(1, &screenColour);
    if (screenDepthStencil) glDeleteRenderbuffersFn(1, &screenDepthStencil);
    screenFramebuffer = screenColour = screenDepthStencil = 0;
}

SDL_Rect screenPlaceInWindow(int screenWidth, int screenHeight, int windowWidth, int windowHeight)
{
    if (screenWidth <= 0 || screenHeight <= 0 || windowWidth <= 0 || windowHeight <= 0)
        return {0, 0, std::max(screenWidth, 1), std::max(screenHeight, 1)};
    int factor = std::min(windowWidth / screenWidth, windowHeight / screenHeight);
    int width = screenWidth * factor, height = screenHeight * factor;
    if (factor < 1) {
        double scale = std::min(double(windowWidth) / screenWidth, double(windowHeight) / screenHeight);
        width = std::max(1, int(screenWidth * scale));
        height = std::max(1, int(screenHeight * scale));
    }
    return {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
}

void Presenter::copyScreenToWindow(int screenWidth, int screenHeight)
{
    if (!screenFramebuffer) {
        SDL_GL_SwapWindow(shownIn);
        return;
    }
    int windowWidth, windowHeight;
    SDL_GL_GetDrawableSize(shownIn, &windowWidth, &windowHeight);
    SDL_Rect place = screenPlaceInWindow(screenWidth, screenHeight, windowWidth, windowHeight);
    glBindFramebufferFn(GL_DRAW_FRAMEBUFFER, 0);
    bool scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor) glDisable(GL_SCISSOR_TEST);
    if (place.w != windowWidth || place.h != windowHeight) {
        GLfloat clearColour[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    }
    // GL's window origin is the bottom left: the placement's top offset becomes the bottom offset.
    int bottom = windowHeight - place.y - place.h;
    glBlitFramebufferFn(0, 0, screenWidth, screenHeight, place.x, bottom, place.x + place.w, bottom + place.h,
                        GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissor) glEnable(GL_SCISSOR_TEST);
    SDL_GL_SwapWindow(shownIn);
    glBindFramebufferFn(GL_FRAMEBUFFER, screenFramebuffer);
}

void Presenter::present(int screenWidth, int screenHeight)
{
    glFlush();
    copyScreenToWindow(screenWidth, screenHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A software GL clears only when flushed, and a flush waits for its worker threads: flushed here,
    // the clear is done before the frame wait instead of delaying the frame after it.
    glFlush();
}

void Presenter::goWindowed(int screenWidth, int screenHeight)
{
    SDL_SetWindowFullscreen(shownIn, 0);
    SDL_SetWindowSize(shownIn, screenWidth, screenHeight);
    SDL_SetWindowPosition(shownIn, windowedX, windowedY);
    SDL_ShowWindow(shownIn);
    SDL_RaiseWindow(shownIn);
    fullscreen = false;
}

bool Presenter::goFullscreen(int screenWidth, int screenHeight)
{
    if (!fullscreen && (SDL_GetWindowFlags(shownIn) & SDL_WINDOW_SHOWN))
        SDL_GetWindowPosition(shownIn, &windowedX, &windowedY);
    SDL_ShowWindow(shownIn);
    bool bare = onXWithoutWindowManager(shownIn);
    if (!bare && SDL_SetWindowFullscreen(shownIn, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        rtLogError("No Fullscreen Mode available");
        goWindowed(screenWidth, screenHeight);
        return false;
    }
    std::string reason;
    if (coverDisplayWithoutWindowManager(reason) == BareFullscreen::Failed) {
        // The log holds the one line every refused switch writes; the reason is for whoever runs it.
        fprintf(stderr, "No Fullscreen Mode available: %s\n", reason.c_str());
        rtLogError("No Fullscreen Mode available");
        goWindowed(screenWidth, screenHeight);
        return false;
    }
    if (bare) SDL_PumpEvents(); // SDL learns the window's new size before the next frame is placed
    SDL_RaiseWindow(shownIn);
    fullscreen = true;
    return true;
}

// Without a window manager SDL's switch leaves the X window as it was, so the window is laid over
// the display here; otherwise the picture would be placed for a display-sized window it does not have.
BareFullscreen Presenter::coverDisplayWithoutWindowManager(std::string& reason)
{
    SDL_Rect display;
    int index = SDL_GetWindowDisplayIndex(shownIn);
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &display) != 0) return BareFullscreen::NotNeeded;
    return coverAreaWithoutWindowManager(shownIn, display, reason);
}

void Presenter::hideWindow()
{
    SDL_SetWindowFullscreen(shownIn, 0);
    SDL_HideWindow(shownIn);
    fullscreen = false;
}

} // namespace rt
