// Drawing sprite slots as screen-aligned, stretched or rotated quads, and pixel-exact collision tests.
// Slots outside the table draw nothing and collide with nothing.
#pragma once

namespace rt {

class OpenGLRainbows;

// Natural size with the top-left corner at (ceil(x), ceil(y)).
void drawSprite(OpenGLRainbows& renderer, int slot, float x, float y);
// The whole image onto the rectangle at (ceil(x), ceil(y)) of ceil(width) × ceil(height); a negative
// width or height makes the quad face away, so nothing is drawn.
void drawSpriteStretched(OpenGLRainbows& renderer, int slot, float x, float y, float width, float height);
// Turned by `angle` degrees counter-clockwise about pixel (x + width div 2, y + height div 2) and
// scaled by `zoom` about it.
void drawSpriteRotated(OpenGLRainbows& renderer, int slot, float x, float y, float angle, float zoom);
// A camera-facing quad standing on (x, y, z) in the current model-view space, scale × width / 2 wide
// and scale × height / 2 tall. The renderer's texture binding is restored afterwards.
void drawSpriteInScene(OpenGLRainbows& renderer, int slot, int x, int y, int z, float scale);
// True when a pixel of A (any alpha but 0) lies on a fully opaque pixel of B with A's top-left corner
// at (xA, yA) and B's at (xB, yB). Alpha masks are read from the textures once and kept.
bool spriteCollision(OpenGLRainbows& renderer, int slotA, int slotB, int xA, int yA, int xB, int yB);

} // namespace rt
