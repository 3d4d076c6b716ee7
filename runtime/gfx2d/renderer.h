// OpenGLRainbows: the renderer. The only owner of the OpenGL context; it holds the sprite table, the
// tiled background pictures, the presenter, the screen size and viewport and its record of GL state.
//
// The game draws into the presenter's offscreen framebuffer of exactly its screen size; present()
// shows it in the window (see presenter.h). Waiting for the next frame is not the renderer's job: the
// frame loop does it after presenting.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdint>

#include "runtime/gfx2d/background_picture.h"
#include "runtime/gfx2d/gl_state.h"
#include "runtime/gfx2d/presenter.h"
#include "runtime/gfx2d/sprite_table.h"

namespace rt {

class OpenGLRainbows
{
  public:
    OpenGLRainbows() = default;
    ~OpenGLRainbows();
    // The renderer is only ever made with new, in zeroed memory straight from the system: its 16 tiled
    // pictures take 1.3 MB, and pages that stay zero (the pictures a game never uses) then take no
    // memory at all. Construction leaves the zeroes.
    static void* operator new(size_t bytes);
    static void operator delete(void* block, size_t bytes);

    // Attaches OpenGL to the window; 0 for width, height or depth takes the window's or desktop's.
    // Returns 1, or 0 when no usable context could be made.
    int createContext(SDL_Window* window, int width, int height, int colourDepth);
    // Detects software rendering from the driver's renderer name: warning box and log line.
    void choosePixelFormat();
    // Viewport (x, y from the top left; width or height ≤ 0 = the whole screen), projection, 2D state.
    void setup2D(int x, int y, int width, int height);
    // Shows the drawn frame in the window and clears the screen for the next one.
    void present();
    int goWindowed();
    int goFullscreen();
    // 0 for width, height or depth keeps the stored value; returns the result of the switch.
    int setScreenMode(int width, int height, int colourDepth, bool fullscreen);
    int hideWindow();
    bool isFullscreen() const { return presenter.isFullscreen(); }
    // Texture binding for the next quads; a < 0 draws untextured. A slot outside the sprite table
    // binds no texture.
    void bindSprite(int a, int b, bool mip, const GLuint* table = nullptr);
    // Empties a sprite slot, deleting its textures (while the context lives) and its collision mask.
    void emptySpriteSlot(int slot);

    // Points, lines and rectangles leave their state (no alpha test, no texture, their colour) for the
    // next primitive. Every other drawing calls this first: alpha test on, the colour back to the
    // intensity when a primitive drew last, and the texture alone while that colour is white (see
    // GlStateCache::setTextureReplace). Drawing that colours its vertices itself asks for modulation
    // afterwards. `opaque`: every texel the drawing samples is fully opaque, so that with the texture
    // alone each fragment passes the alpha test, which then stays off and costs the driver nothing.
    void useTexturedState(bool opaque = false);
    // The current GL colour becomes (intensity, intensity, intensity, intensity).
    void setColourToIntensity();
    // Samples the sprite's plain texture (bound on unit 0) with nearest filtering when each texel lands
    // on exactly one pixel, which gives the same pixels faster; otherwise with the filter it was made
    // with. The texture's filter is switched only when it changes.
    void useSpriteFilter(SpriteSlot& sprite, bool texelOnPixel);
    // Puts the bound sprites' plain textures back to the filter they were made with, which drawing them
    // at their own size in 2D may have switched to nearest. The 3D scene calls it before drawing with
    // them: magnified on a mesh they must stay smooth.
    void useMadeFiltersForBoundSprites();
    // Code that calls OpenGL directly (the 3D scene between rtStart3D and rtEnd3D, or around a fillRect
    // of its own) calls prepareForDirectGl before: GL then holds the state the 2D drawing describes
    // (alpha test on, colour = intensity, the bound sprite's texture modulated by the colour). And
    // forgetGlState after, before 2D drawing goes on: the renderer stops trusting its record of GL
    // state and sets each state again on its next use; the current colour stays as the direct calls
    // left it. setup2D forgets too.
    // Sprite textures' filters belong to the renderer: direct callers leave them as they are.
    void prepareForDirectGl();
    void forgetGlState();

    SpriteTable sprites;
    int boundSprite = -1;
    int boundSecondSprite = -1;
    bool boundMip = false;
    float intensity = 0; // global colour and alpha multiplier, 0..1
    BackgroundPicture
        backgroundPictures[backgroundPictureCount]; // tiled pictures; 0 is the screen background

    int screenWidth = 0;                                                     // pixels of the game screen
    int screenHeight = 0;                                                    // pixels of the game screen
    int colourDepth = 0;                                                     // bits per pixel
    int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0; // last setup2D
    bool contextReady = false; // textures are deleted only while true
    bool softwareRendering = false;
    SDL_GLContext glContext = nullptr;
    GlStateCache glState;            // what the renderer last set in GL
    bool primitiveStateLeft = false; // a primitive drew last: alpha test off, its colour current
    bool colourWhite = false;        // the current GL colour is known to be (1, 1, 1, 1)

  private:
    // A primitive leaves its own colour current: textured drawing puts the intensity back first.
    void restoreColourAfterPrimitive();

    Presenter presenter;
};

// The renderer for a command, or null (after one line on standard error) before start-up created it
// or after the end routine released it.
OpenGLRainbows* startedRenderer(const char* command);

} // namespace rt
