// The presenter: the game always draws into an offscreen framebuffer of exactly its screen size, and
// the presenter shows it in the window: 1:1 when windowed; in full screen scaled by the largest whole
// factor that fits the display (nearest neighbour) and centred on black, or fitted keeping its aspect
// when the display is smaller than the game. Everything that reads the screen reads the offscreen
// framebuffer. It also switches the window between windowed, full screen and hidden.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>
#include <string>

#include "runtime/platform/bare_x_fullscreen.h"

namespace rt {

// Where the game screen lands in a window of the given size: whole-number scaling when it fits, else
// the largest aspect-true fit; centred.
SDL_Rect screenPlaceInWindow(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

class Presenter
{
  public:
    // The window to show the screen in; its place now is where windowed mode puts it back.
    void attach(SDL_Window* gameWindow);
    SDL_Window* window() const { return shownIn; }
    bool isFullscreen() const { return fullscreen; }

    // Makes the offscreen framebuffer of the screen size (cleared to black) and binds it for drawing.
    // False, with drawing going straight to the window, when the driver has no framebuffers or cannot
    // make a complete one. Needs the GL context current.
    bool makeScreenBuffer(int screenWidth, int screenHeight);
    // Deletes the offscreen framebuffer, if any; drawing goes to the window until one is made again.
    void freeScreenBuffer();
    bool hasScreenBuffer() const { return screenFramebuffer != 0; }

    // Shows the drawn frame in the window (copy and swap) and clears the screen for the next one.
    void present(int screenWidth, int screenHeight);

    // The window at the screen size at its last windowed place, shown and raised.
    void goWindowed(int screenWidth, int screenHeight);
    // The window over the whole display. False, and windowed instead, when the display refuses.
    bool goFullscreen(int screenWidth, int screenHeight);
    // Out of full screen and hidden.
    void hideWindow();

  private:
    void copyScreenToWindow(int screenWidth, int screenHeight);
    BareFullscreen coverDisplayWithoutWindowManager(std::string& reason);

    SDL_Window* shownIn = nullptr;
    bool fullscreen = false;
    GLuint screenFramebuffer = 0;  // the offscreen game screen, 0 when drawing straight to the window
    GLuint screenColour = 0;       // its colour renderbuffer
    GLuint screenDepthStencil = 0; // its depth and stencil renderbuffer
    int windowedX = SDL_WINDOWPOS_CENTERED, windowedY = SDL_WINDOWPOS_CENTERED; // last windowed place
};

} // namespace rt
