// OpenGLRainbows: the renderer. The only owner of the OpenGL context; it holds the sprite slot tables,
// the screen size and viewport, the windowed/full-screen state and the frame grid.
//
// The game always draws into an offscreen framebuffer of exactly its screen size. rtPresent copies it
// to the window: 1:1 when windowed; in full screen scaled by the largest whole factor that fits the
// display (nearest neighbour) and centred on black, or fitted keeping its aspect when the display is
// smaller than the game. Everything that reads the screen reads the offscreen framebuffer.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdint>
#include <string>

#include "runtime/core/frame_grid.h"
#include "runtime/gfx2d/background_picture.h"
#include "runtime/gfx2d/gl_state.h"
#include "runtime/platform/bare_x_fullscreen.h"

namespace rt {

constexpr int spriteSlotCount = 65536;
constexpr int firstFontSlot = 65520; // slots 65520..65535 hold fonts 0..15

// Where the game screen lands in a window of the given size: whole-number scaling when it fits, else
// the largest aspect-true fit; centred.
SDL_Rect screenPlaceInWindow(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

class OpenGLRainbows
{
  public:
    OpenGLRainbows();
    virtual ~OpenGLRainbows();
    // The renderer is only ever made with new, in zeroed memory straight from the system: its tables
    // for 65,536 sprite slots and 16 tiled pictures take 3.4 MB, and pages that stay zero (the slots
    // and pictures a game never uses) then take no memory at all. The constructor leaves the zeroes.
    static void* operator new(size_t bytes);
    static void operator delete(void* block, size_t bytes);

    // Attaches OpenGL to the window; 0 for width, height or depth takes the window's or desktop's.
    // Returns 1, or 0 when no usable context could be made.
    int createContext(SDL_Window* window, int width, int height, int colourDepth, int framesPerSecond);
    // Detects software rendering from the driver's renderer name: warning box and log line.
    void choosePixelFormat();
    // Viewport (x, y from the top left; width or height ≤ 0 = the whole screen), projection, 2D state.
    void setup2D(int x, int y, int width, int height);
    // Shows the frame and waits for the next grid point; returns the ms spent waiting + 1.
    double rtPresent();
    int goWindowed();
    int goFullscreen();
    // 0 for width, height or depth keeps the stored value; returns the result of the switch.
    int setScreenMode(int width, int height, int colourDepth, bool fullscreen);
    int hideWindow();
    // Texture binding for the next quads; a < 0 draws untextured.
    void bindSprite(int a, int b, bool mip, const GLuint* table = nullptr);
    // Empties a sprite slot, deleting its textures and its collision mask.
    void emptySpriteSlot(int slot);

    // Points, lines and rectangles leave their state (no alpha test, no texture, their colour) for the
    // next primitive. Every other drawing calls this first: alpha test on, and the colour back to the
    // intensity when a primitive drew last.
    void useTexturedState();
    // Samples the slot's plain texture (bound on unit 0) with nearest filtering when each texel lands
    // on exactly one pixel, which gives the same pixels faster; otherwise with the filter it was made
    // with. The texture's filter is switched only when it changes.
    void useSpriteFilter(int slot, bool texelOnPixel);
    // Code that calls OpenGL directly (the 3D scene between rtStart3D and rtEnd3D, or around a fillRect
    // of its own) calls prepareForDirectGl before: GL then holds the state the 2D drawing describes
    // (alpha test on, colour = intensity, the bound sprite's texture). And forgetGlState after, before
    // 2D drawing goes on: the renderer stops trusting its record of GL state and sets each state again
    // on its next use; the current colour stays as the direct calls left it. setup2D forgets too.
    // Sprite textures' filters belong to the renderer: direct callers leave them as they are.
    void prepareForDirectGl();
    void forgetGlState();

    // Sprite slots: plain [0] and mipmapped [1] texture names, 0 = none.
    GLuint spriteTextures[spriteSlotCount][2];
    int boundSprite = -1;
    int boundSecondSprite = -1;
    bool boundMip = false;
    int textureWidth[spriteSlotCount];        // power of two; -1 when empty
    int textureHeight[spriteSlotCount];       // power of two; -1 when empty
    int imageWidth[spriteSlotCount];          // pixels; 0 when empty
    int imageHeight[spriteSlotCount];         // pixels; 0 when empty
    float intensity = 0;                      // global colour and alpha multiplier, 0..1
    uint8_t* collisionMasks[spriteSlotCount]; // lazily read alpha planes, or null
    BackgroundPicture
        backgroundPictures[backgroundPictureCount]; // tiled pictures; 0 is the screen background
    bool spriteMadeNearest[spriteSlotCount];        // the plain texture was made with nearest filtering
    uint8_t spriteFilterNow[spriteSlotCount]; // its filter now: 0 unknown, filterLinear or filterNearest
    static constexpr uint8_t filterLinear = 1, filterNearest = 2;

    SDL_Window* window = nullptr;
    int screenWidth = 0;  // pixels of the game screen
    int screenHeight = 0; // pixels of the game screen
    int colourDepth = 0;  // bits per pixel
    bool fullscreen = false;
    int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0; // last setup2D
    bool contextReady = false; // textures are deleted only while true
    FrameGrid frameGrid;       // next frame deadline and frame interval, ms
    double lastWaitMs = 0;     // ms the last rtPresent spent waiting for its grid point
    bool softwareRendering = false;
    SDL_GLContext glContext = nullptr;
    rt::GlStateCache glState;        // what the renderer last set in GL
    bool primitiveStateLeft = false; // a primitive drew last: alpha test off, its colour current

  private:
    bool makeScreenBuffer();
    void freeScreenBuffer();
    void copyScreenToWindow();
    rt::BareFullscreen coverDisplayWithoutWindowManager(std::string& reason);

    GLuint screenFramebuffer = 0;  // the offscreen game screen, 0 when drawing straight to the window
    GLuint screenColour = 0;       // its colour renderbuffer
    GLuint screenDepthStencil = 0; // its depth and stencil renderbuffer
    int windowedX = SDL_WINDOWPOS_CENTERED, windowedY = SDL_WINDOWPOS_CENTERED; // last windowed place
    bool placedOnce = false;
};

// The renderer for a command, or null (after one line on standard error) before start-up created it
// or after the end routine released it.
OpenGLRainbows* startedRenderer(const char* command);

} // namespace rt
