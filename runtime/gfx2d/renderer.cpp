// The renderer's context, projection, 2D drawing state and its hand-offs to the presenter.
#include "runtime/gfx2d/renderer.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

#include "runtime/core/end.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/gl_functions.h"
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

OpenGLRainbows::~OpenGLRainbows()
{
    sprites.emptyAll(contextReady ? &glState : nullptr);
    for (int picture = 0; picture < backgroundPictureCount; ++picture)
        freeBackgroundPicture(*this, picture);
    presenter.freeScreenBuffer();
    SDL_Window* window = presenter.window();
    if (window) SDL_SetWindowFullscreen(window, 0);
    if (glContext) {
        // Nothing may still be drawing when the context goes: the software driver, torn down while
        // its threads still draw, can wait for them for ever.
        if (contextReady) glFinish();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(glContext);
    }
}

void OpenGLRainbows::emptySpriteSlot(int slot)
{
    sprites.empty(slot, contextReady ? &glState : nullptr);
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

int OpenGLRainbows::createContext(SDL_Window* window, int width, int height, int depth)
{
    int windowWidth, windowHeight, desktopWidth, desktopHeight, desktopBits;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    desktopMode(window, desktopWidth, desktopHeight, desktopBits);
    screenWidth = width ? width : std::abs(windowWidth);
    screenHeight = height ? height : std::abs(windowHeight);
    colourDepth = depth ? depth : desktopBits;
    presenter.attach(window);

    keepFreedDriverMemory();
    glContext = SDL_GL_CreateContext(window);
    if (!glContext) return 0;
    SDL_GL_MakeCurrent(window, glContext);
    SDL_GL_SetSwapInterval(0); // the frame limiter paces frames, not the display
    choosePixelFormat();

    loadGlFunctions();
    presenter.makeScreenBuffer(screenWidth, screenHeight);
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
    colourWhite = true;
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

void OpenGLRainbows::present()
{
    presenter.present(screenWidth, screenHeight);
}

int OpenGLRainbows::goWindowed()
{
    presenter.goWindowed(screenWidth, screenHeight);
    setup2D(0, 0, 0, 0);
    return 1;
}

int OpenGLRainbows::goFullscreen()
{
    bool switched = presenter.goFullscreen(screenWidth, screenHeight);
    setup2D(0, 0, 0, 0);
    return switched ? 1 : 0;
}

int OpenGLRainbows::setScreenMode(int width, int height, int depth, bool toFullscreen)
{
    bool resized = (width > 0 && width != screenWidth) || (height > 0 && height != screenHeight);
    if (width > 0) screenWidth = width;
    if (height > 0) screenHeight = height;
    if (depth > 0) colourDepth = depth;
    if (resized && presenter.hasScreenBuffer()) {
        presenter.freeScreenBuffer();
        presenter.makeScreenBuffer(screenWidth, screenHeight);
    }
    return toFullscreen ? goFullscreen() : goWindowed();
}

int OpenGLRainbows::hideWindow()
{
    presenter.hideWindow();
    return 1;
}

void OpenGLRainbows::bindSprite(int a, int b, bool mip, const GLuint* table)
{
    boundSprite = a;
    boundSecondSprite = b;
    boundMip = mip;
    auto textureOf = [&](int slot) -> GLuint {
        if (table) return table[slot];
        const SpriteSlot* sprite = sprites.slot(slot);
        return sprite ? sprite->textures[mip ? 1 : 0] : 0;
    };
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

void OpenGLRainbows::useTexturedState(bool opaque)
{
    restoreColourAfterPrimitive();
    glState.setTextureReplace(colourWhite);
    glState.setAlphaTest(!(opaque && colourWhite));
}

void OpenGLRainbows::setColourToIntensity()
{
    glColor4f(intensity, intensity, intensity, intensity);
    colourWhite = intensity == 1;
}

void OpenGLRainbows::restoreColourAfterPrimitive()
{
    if (!primitiveStateLeft) return;
    setColourToIntensity();
    primitiveStateLeft = false;
}

void OpenGLRainbows::useSpriteFilter(SpriteSlot& sprite, bool texelOnPixel)
{
    bool nearest = texelOnPixel || sprite.madeNearest;
    uint8_t wanted = nearest ? filterNearest : filterLinear;
    if (sprite.filterNow == wanted) return;
    GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    sprite.filterNow = wanted;
}

void OpenGLRainbows::useMadeFiltersForBoundSprites()
{
    if (boundMip) return; // mipmapped textures keep the filter they were made with
    bool rebound = false;
    for (int slot : {boundSprite, boundSecondSprite}) {
        SpriteSlot* sprite = sprites.slot(slot);
        if (!sprite || !sprite->textures[0]) continue;
        if (sprite->filterNow == (sprite->madeNearest ? filterNearest : filterLinear)) continue;
        glState.bindTexture(0, sprite->textures[0]);
        useSpriteFilter(*sprite, false);
        rebound = true;
    }
    if (rebound) bindSprite(boundSprite, boundSecondSprite, boundMip);
}

void OpenGLRainbows::prepareForDirectGl()
{
    if (primitiveStateLeft) bindSprite(boundSprite, boundSecondSprite, boundMip);
    restoreColourAfterPrimitive();
    glState.setAlphaTest(true);       // an opaque sprite may have left it off
    glState.setTextureReplace(false); // lit and coloured vertices modulate their textures
    forgetGlState();
}

void OpenGLRainbows::forgetGlState()
{
    glState.forget();
    primitiveStateLeft = false; // the colour is whatever the direct calls left
    colourWhite = false;
}

} // namespace rt
