// The renderer's context, screen buffer, projection, screen modes and frame presentation.
#include "runtime/gfx2d/renderer.h"

#include <malloc.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <sys/mman.h>

#include "runtime/core/end.h"
#include "runtime/core/window_events.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/gl_functions.h"
#include "runtime/platform/bare_x_fullscreen.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/message_box.h"
#include "runtime/platform/window_sdl.h"

using namespace rt;

namespace rt {

static const char softwareWarningCaption[] = "!!OpenGL Software Emulation!!";
static const char softwareWarningText[] =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\nper HARDWARE unterstützt!";

void* OpenGLRainbows::operator new(size_t bytes)
{
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    return block;
}

void OpenGLRainbows::operator delete(void* block, size_t bytes)
{
    munmap(block, bytes);
}

OpenGLRainbows::OpenGLRainbows()
{
    // Every other table starts as the zeroes it was allocated as (no texture, no image, no mask).
    std::fill(std::begin(textureWidth), std::end(textureWidth), -1);
    std::fill(std::begin(textureHeight), std::end(textureHeight), -1);
    frameGrid.deadline = nowMs();
}

OpenGLRainbows::~OpenGLRainbows()
{
    for (int slot = 0; slot < spriteSlotCount; ++slot)
        emptySpriteSlot(slot);
    for (int picture = 0; picture < backgroundPictureCount; ++picture)
        freeBackgroundPicture(*this, picture);
    freeScreenBuffer();
    if (window) SDL_SetWindowFullscreen(window, 0);
    if (glContext) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(glContext);
    }
}

void OpenGLRainbows::emptySpriteSlot(int slot)
{
    if (contextReady) {
        for (GLuint& texture : spriteTextures[slot])
            if (texture) {
                glDeleteTextures(1, &texture);
                glState.textureDeleted(texture);
            }
    }
    spriteMadeNearest[slot] = false;
    spriteFilterNow[slot] = 0;
    spriteTextures[slot][0] = spriteTextures[slot][1] = 0;
    textureWidth[slot] = textureHeight[slot] = -1;
    imageWidth[slot] = imageHeight[slot] = 0;
    delete[] collisionMasks[slot];
    collisionMasks[slot] = nullptr;
}

// A software GL driver allocates and frees state for every batch of vertices it draws. When such a
// free leaves more than the C library's trim threshold (128 KB) free at the top of the heap, the
// memory goes back to the system and the next batch faults it in again: thousands of page faults
// per frame, and frame times that depend on the heap's history. Keeping up to 64 MB of freed memory
// makes the steady-state frame reuse the same pages.
static void keepFreedDriverMemory()
{
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

int OpenGLRainbows::createContext(SDL_Window* gameWindow, int width, int height, int depth,
                                  int framesPerSecond)
{
    window = gameWindow;
    frameGrid.interval = frameIntervalFor(framesPerSecond);
    int windowWidth, windowHeight, desktopWidth, desktopHeight, desktopBits;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    desktopMode(window, desktopWidth, desktopHeight, desktopBits);
    fullscreen = false;
    screenWidth = width ? width : std::abs(windowWidth);
    screenHeight = height ? height : std::abs(windowHeight);
    colourDepth = depth ? depth : desktopBits;
    SDL_GetWindowPosition(window, &windowedX, &windowedY);

    keepFreedDriverMemory();
    glContext = SDL_GL_CreateContext(window);
    if (!glContext) return 0;
    SDL_GL_MakeCurrent(window, glContext);
    SDL_GL_SetSwapInterval(0); // the frame limiter paces frames, not the display
    choosePixelFormat();

    frameGrid.deadline = nowMs();
    loadGlFunctions();
    makeScreenBuffer();
    setup2D(0, 0, 0, 0);
    contextReady = true;
    return 1;
}

void OpenGLRainbows::choosePixelFormat()
{
    const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    softwareRendering =
        name && (strstr(name, "llvmpipe") || strstr(name, "softpipe") || strstr(name, "Software Rasterizer"));
    if (softwareRendering) {
        showMessageBox(softwareWarningCaption, softwareWarningText, MessageBoxIcon::Warning);
        rtLogError("OpenGL Software Emulation");
    } else {
        rtLogError("OpenGL Hardware Support");
    }
}

bool OpenGLRainbows::makeScreenBuffer()
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

void OpenGLRainbows::freeScreenBuffer()
{
    if (!glContext || !framebuffersAvailable()) return;
    glBindFramebufferFn(GL_FRAMEBUFFER, 0);
    if (screenFramebuffer) glDeleteFramebuffersFn(1, &screenFramebuffer);
    if (screenColour) glDeleteRenderbuffersFn(1, &screenColour);
    if (screenDepthStencil) glDeleteRenderbuffersFn(1, &screenDepthStencil);
    screenFramebuffer = screenColour = screenDepthStencil = 0;
}

void OpenGLRainbows::setup2D(int x, int y, int width, int height)
{
    glFlush();
    if (width <= 0 || height <= 0) {
        width = screenWidth;
        height = screenHeight;
    }
    viewportX = x;
    viewportY = y;
    viewportWidth = width;
    viewportHeight = height;
    glViewport(x, screenHeight - height - y, width, height);
    // Whatever was called since, the described 2D state holds from here on.
    glState.forget();
    glState.setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, -height, 0, -1, 1);
    glState.setMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glState.setTexturing(0, true);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glState.setAlphaTest(true);
    glAlphaFunc(GL_GREATER, 0.15f);
    glColor4f(1, 1, 1, 1);
    primitiveStateLeft = false;
    glClearColor(0, 0, 0, 1);
    glShadeModel(GL_FLAT);
    for (GLenum capability :
         {GL_DITHER, GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
          GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING})
        glDisable(capability);
    glState.setColourMaterial(false);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
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

void OpenGLRainbows::copyScreenToWindow()
{
    if (!screenFramebuffer) {
        SDL_GL_SwapWindow(window);
        return;
    }
    int windowWidth, windowHeight;
    SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
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
    SDL_GL_SwapWindow(window);
    glBindFramebufferFn(GL_FRAMEBUFFER, screenFramebuffer);
}

double OpenGLRainbows::rtPresent()
{
    glFlush();
    copyScreenToWindow();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    double waited = waitForFrame(frameGrid, nowMs, rtDispatchOneMessage, sleepMs);
    lastWaitMs = waited - 1;
    return waited;
}

int OpenGLRainbows::goWindowed()
{
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, screenWidth, screenHeight);
    SDL_SetWindowPosition(window, windowedX, windowedY);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    setup2D(0, 0, 0, 0);
    fullscreen = false;
    return 1;
}

int OpenGLRainbows::goFullscreen()
{
    if (!fullscreen && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN))
        SDL_GetWindowPosition(window, &windowedX, &windowedY);
    SDL_ShowWindow(window);
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        rtLogError("No Fullscreen Mode available");
        goWindowed();
        return 0;
    }
    std::string reason;
    if (coverDisplayWithoutWindowManager(reason) == rt::BareFullscreen::Failed) {
        rtLogError(("No Fullscreen Mode available: " + reason).c_str());
        goWindowed();
        return 0;
    }
    SDL_RaiseWindow(window);
    setup2D(0, 0, 0, 0);
    fullscreen = true;
    return 1;
}

// Without a window manager SDL's switch leaves the X window as it was, so the window is laid over
// the display here; otherwise the picture would be placed for a display-sized window it does not have.
rt::BareFullscreen OpenGLRainbows::coverDisplayWithoutWindowManager(std::string& reason)
{
    SDL_Rect display;
    int index = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &display) != 0) return rt::BareFullscreen::NotNeeded;
    return rt::coverAreaWithoutWindowManager(window, display, reason);
}

int OpenGLRainbows::setScreenMode(int width, int height, int depth, bool toFullscreen)
{
    bool resized = (width > 0 && width != screenWidth) || (height > 0 && height != screenHeight);
    if (width > 0) screenWidth = width;
    if (height > 0) screenHeight = height;
    if (depth > 0) colourDepth = depth;
    if (resized && screenFramebuffer) {
        freeScreenBuffer();
        makeScreenBuffer();
    }
    return toFullscreen ? goFullscreen() : goWindowed();
}

int OpenGLRainbows::hideWindow()
{
    SDL_SetWindowFullscreen(window, 0);
    SDL_HideWindow(window);
    fullscreen = false;
    return 1;
}

void OpenGLRainbows::bindSprite(int a, int b, bool mip, const GLuint* table)
{
    boundSprite = a;
    boundSecondSprite = b;
    boundMip = mip;
    auto textureOf = [&](int slot) { return table ? table[slot] : spriteTextures[slot][mip ? 1 : 0]; };
    if (!multitextureAvailable()) {
        if (a < 0) {
            glState.setTexturing(0, false);
            glState.setColourMaterial(true);
        } else {
            glState.bindTexture(0, textureOf(a));
            glState.setTexturing(0, true);
        }
        return;
    }
    // Unit 1 is on only while two sprites are bound; only the 3D scene binds two.
    if (a >= 0 && b >= 0) {
        glState.bindTexture(1, textureOf(a));
        glState.setTexturing(1, true);
    } else {
        glState.setTexturing(1, false);
    }
    if (a < 0) {
        glState.setTexturing(0, false);
    } else {
        glState.bindTexture(0, textureOf(b >= 0 ? b : a));
        glState.setTexturing(0, true);
    }
}

void OpenGLRainbows::useTexturedState()
{
    glState.setAlphaTest(true);
    if (!primitiveStateLeft) return;
    glColor4f(intensity, intensity, intensity, intensity);
    primitiveStateLeft = false;
}

void OpenGLRainbows::useSpriteFilter(int slot, bool texelOnPixel)
{
    bool nearest = texelOnPixel || spriteMadeNearest[slot];
    uint8_t wanted = nearest ? filterNearest : filterLinear;
    if (spriteFilterNow[slot] == wanted) return;
    GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    spriteFilterNow[slot] = wanted;
}

void OpenGLRainbows::prepareForDirectGl()
{
    if (primitiveStateLeft) {
        bindSprite(boundSprite, boundSecondSprite, boundMip);
        useTexturedState();
    }
    forgetGlState();
}

void OpenGLRainbows::forgetGlState()
{
    glState.forget();
    primitiveStateLeft = false; // the colour is whatever the direct calls left
}

} // namespace rt
