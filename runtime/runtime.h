// The runtime's commands: everything a game calls. Numbers are doubles (integer arguments truncate
// toward zero), texts are RtString values. A command never throws: soft failures come back as
// results (0, -1, "", "NO_DATA", "NO_FILE"); hard failures end the program through the end routine.
#pragma once

#include "runtime/core/end.h"
#include "runtime/values/numbers.h"
#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// Core: entry, start-up, frames and timers
// ---------------------------------------------------------------------------------------------

// What a game fixes at its entry.
struct GameSettings {
    const char* title = "Flipmatics";
    int screenWidth = 320;   // pixels
    int screenHeight = 240;  // pixels
    int frameRate = 60;      // frames per second
    bool fullScreen = true;  // start in full-screen mode
    bool debugMode = false;  // log the end lines; keep running without focus
    bool exclusiveMouse = false;
};

// Stores the settings and the command line, starts the engine, runs gameMain and ends the program.
[[noreturn]] void rtRunGame(int argc, char** argv, const GameSettings& settings, void (*gameMain)());
// Engine start-up: window, subsystems, working folder (the program's own), "Loading..." frame.
// Ends the process with a message on standard error and exit code 1 when no window or GL context
// can be had. Returns 0.
int rtEngineInit(const char* title);

// Shows the frame drawn so far and waits for the next point of the frame grid, handling window
// events meanwhile; ends the program on Escape (see rtSetEscapeEnds) or Left Alt + F4.
void rtShowFrame();
// Frames per second from now on; 0 or below means at most 500 (a 2 ms interval).
void rtSetFrameRate(double framesPerSecond);
// Milliseconds since the previous rtShowFrame began; at least 1.
double rtFrameDuration();
// Milliseconds since the end of start-up.
double rtElapsedTime();
// Whether Escape ends the program (it does from the start); not-a-number counts as on.
void rtSetEscapeEnds(double ends);
// A copy of the program's arguments.
RtString rtCommandLine();

// ---------------------------------------------------------------------------------------------
// Values: text commands
// ---------------------------------------------------------------------------------------------

double rtTextLength(const RtString& text);
// Length of the number's text ("5" → 1, "0.5" → 3).
double rtNumberTextLength(double value);
// Byte value 0..255 of the first byte; 0 for the empty text.
double rtCharCode(const RtString& text);
// The code as a 16-bit value, low byte first, up to the first zero byte: 65 → "A", 0 and 256 → "".
RtString rtCharFromCode(double code);
// printf's "%<width>.<decimals>f": (3, 2, 3.14159) → "3.14"; width and decimals held to 511.
RtString rtFormatNumber(double width, double decimals, double value);
// 0-based position of find in text, -1 when absent; the empty text is found at 0.
double rtFindText(const RtString& text, const RtString& find);
// Copies with only ASCII letters changed.
RtString rtLowerText(const RtString& text);
RtString rtUpperText(const RtString& text);

// ---------------------------------------------------------------------------------------------
// 2D: screen, viewport and screen mode
// ---------------------------------------------------------------------------------------------

void rtScreenSize(double& width, double& height);
// Drawing origin and clip at (x, y) of the screen with the given size until the next frame;
// a width or height of 0 or below means the whole screen.
void rtSetViewport(double x, double y, double width, double height);
// Screen size (0 keeps it) and full-screen flag; 1 on success, 0 when full screen was refused.
double rtSetScreenMode(double width, double height, double fullscreen);
// 1 while full screen, else 0.
double rtIsFullscreen();

// ---------------------------------------------------------------------------------------------
// 2D: images and sprites
// ---------------------------------------------------------------------------------------------
// Sprite slots are 0..65519 (65520..65535 hold the fonts); a slot outside 0..65535 is ignored.
// Images are BMP (8, 24 or 32 bits) or PNG; pixels of colour 0x8000FF (red 255, blue 128) are
// transparent.

// Empties the slot, then loads the file into it; 1 on success, 0 when missing or undecodable.
double rtLoadSprite(const RtString& file, double slot);
// As rtLoadSprite, but the slot holds the picture's normal map (heights from its blue channel).
double rtLoadNormalMap(const RtString& file, double slot);
// Copies the screen rectangle into the slot; 0 (slot unchanged) for an empty or oversized rectangle.
double rtGrabSprite(double slot, double x, double y, double width, double height);
// Natural size, top-left corner at (x, y) rounded up to whole pixels.
void rtDrawSprite(double slot, double x, double y);
// The whole picture onto width × height pixels at (x, y); negative sizes draw nothing.
void rtStretchSprite(double slot, double x, double y, double width, double height);
// Scaled by (scaleX, scaleY) about the centre of where rtDrawSprite would put it; never mirrored.
void rtZoomSprite(double slot, double x, double y, double scaleX, double scaleY);
// Turned counter-clockwise by angle degrees about pixel (x + width div 2, y + height div 2).
void rtDrawSpriteRotated(double slot, double x, double y, double angle);
// As rtDrawSpriteRotated, also scaled by zoom about the same centre.
void rtDrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom);
// 1 when a visible pixel of sprite A at (xA, yA) lies on a fully opaque pixel of B at (xB, yB), else 0.
double rtSpriteCollision(double slotA, double xA, double yA, double slotB, double xB, double yB);
// The slot's picture size in pixels; 0 and 0 when empty.
void rtSpriteSize(double slot, double& width, double& height);

// ---------------------------------------------------------------------------------------------
// 2D: fonts and text
// ---------------------------------------------------------------------------------------------
// A font is an image of 16 × 16 character cells (taller than wide) or 16 × 8 cells; black is transparent.

// Text in the current font with its top-left corner at (x, y) rounded up; one cell per byte.
void rtPrint(const RtString& text, double x, double y);
// The number as text (the runtime's number-to-text rule), printed as rtPrint does.
void rtPrintNumber(double number, double x, double y);
// Selects font 0..15 (numbers outside are held to that range).
void rtSetFont(double font);
// Selects font 0..15 and loads the file into it; a missing or undecodable file (or an empty name)
// gives the built-in 8 × 8 font.
void rtLoadFont(const RtString& file, double font);
// Cell width and height of the current font; 0 and 0 when it is empty.
void rtFontSize(double& width, double& height);

// ---------------------------------------------------------------------------------------------
// 2D: primitives
// ---------------------------------------------------------------------------------------------
// Colours are red + green × 256 + blue × 65536; 0x8000FF draws with alpha 0 (invisible only with
// alpha blending). Coordinates are pixels from the viewport's top left.

// Removes background picture 0 and clears the screen to black.
void rtClearScreen();
// 0: opaque; a > 0: added at intensity min(a, 1); a < 0: alpha-blended at opacity min(-a, 1).
// Lasts until the next call or rtShowFrame.
void rtSetAlphaMode(double a);
void rtDrawPixel(double x, double y, double colour);
// Both end pixels are drawn.
void rtDrawLine(double x1, double y1, double x2, double y2, double colour);
// Filled, both corners included, in any corner order.
void rtDrawRect(double x1, double y1, double x2, double y2, double colour);
// Packed colour of a screen pixel (window coordinates); 0 outside the screen.
double rtReadPixel(double x, double y);
// Starts a polygon textured with the slot, or untextured for -1 (or any slot outside the table).
void rtBeginPolygon(double slot);
// Adds a corner at (x, y) with texture position (s, t) in pixels of the slot's picture (t from its top)
// and a colour that tints the texture.
void rtPolygonVertex(double x, double y, double s, double t, double colour);
// Draws the polygon as a triangle fan; corners must run counter-clockwise on the screen.
void rtEndPolygon();

// ---------------------------------------------------------------------------------------------
// 2D: background pictures and saving
// ---------------------------------------------------------------------------------------------
// The background picture is redrawn by rtShowFrame under every new frame.

// Loads the file as the background and draws it now; an empty, missing or undecodable file removes
// the background and clears the screen.
void rtLoadBackground(const RtString& file);
// Fades the file in over black for 1.5 seconds (showing frames), then makes it the background.
// 0 when the name cannot be resolved or the picture cannot be decoded.
double rtFadeInBackground(const RtString& file);
// The current screen becomes the background.
void rtGrabBackground();
// Writes the screen to the file, as PNG when the name ends in ".png" (any case), else as 24-bit BMP;
// the name is used as given. 1 on success, else 0.
double rtSaveScreen(const RtString& file);
// Writes the slot's picture as rtSaveScreen does; 0 for an empty slot.
double rtSaveSprite(double slot, const RtString& file);
