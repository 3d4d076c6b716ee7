// What is drawn without a sprite: points, lines, filled rectangles, textured or plain polygons, the
// blend setting shared by all 2D drawing, and reading a pixel back.
#pragma once

#include <cstdint>

namespace rt {

class OpenGLRainbows;

// The sprite colour key as a drawing colour: drawn with alpha 0, so invisible only when alpha blending.
constexpr int transparentColour = 0x8000FF;

// 0: blending off, intensity 1. a > 0: additive, intensity min(a, 1). a < 0: alpha blending,
// intensity min(-a, 1). The current colour becomes the intensity in all four channels.
void setAlphaMode(OpenGLRainbows& renderer, float a);

// Packed colours red + green × 256 + blue × 65536 (low 24 bits used), scaled by the intensity.
void drawPoint(OpenGLRainbows& renderer, float x, float y, int colour);
// Both end pixels belong to the line.
void drawLine(OpenGLRainbows& renderer, float x1, float y1, float x2, float y2, int colour);
// Corners included: fillRect(0, 0, 0, 0) fills one pixel.
void fillRect(OpenGLRainbows& renderer, float left, float top, float right, float bottom, int colour);
// The packed colour of a screen pixel (window coordinates); 0 outside the screen.
int readPixel(OpenGLRainbows& renderer, int x, int y);

// The polygon being collected: a triangle fan, optionally textured with a sprite slot.
void beginPolygon(OpenGLRainbows& renderer, int slot);
void addPolygonVertex(OpenGLRainbows& renderer, float x, float y, float s, float t, int colour);
void drawPolygon(OpenGLRainbows& renderer);

} // namespace rt
