// The main window and its OpenGL context over SDL2.
#pragma once

struct SDL_Window;

namespace rt {

// Starts SDL's video and event subsystems and turns the screen saver off. False with a message on
// standard error when there is no display to open.
bool startVideo();

// A window with an OpenGL compatibility context's pixel format (double buffer, 16-bit depth, 8-bit
// stencil, colour bits per pixel as asked or the desktop's for 0), client area width × height at
// (x, y), hidden until shown. Null (with SDL's reason on standard error) on failure.
SDL_Window* createMainWindow(const char* text, int x, int y, int width, int height, int colourBits);

// The desktop's size and bits per pixel of the display that holds the window (or the first one).
void desktopMode(SDL_Window* window, int& width, int& height, int& bitsPerPixel);

void setWindowText(SDL_Window* window, const char* text);
void destroyMainWindow(SDL_Window* window);

// The system's own handle of the window (the X11 window id), or 0.
unsigned long nativeWindowHandle(SDL_Window* window);

} // namespace rt
