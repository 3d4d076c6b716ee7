// 2D drawing commands: the screen, sprites, fonts and text, primitives and background pictures.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/rt_string.h"

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
// Copies the screen rectangle into the slot as a sprite of its size; parts beyond the screen are
// transparent. 1, or 0 (slot unchanged) for a width or height below 1 or above the largest texture.
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
// Writes the screen to the file, as PNG when the name ends in ".png" (any case; pixels of the sprite
// colour key become transparent), else as 24-bit BMP; the name is used as given. 1 on success, else 0.
double rtSaveScreen(const RtString& file);
// Writes the slot's picture as rtSaveScreen does; 0 for an empty slot.
double rtSaveSprite(double slot, const RtString& file);
