// Sprite quads and collision masks.
#include "runtime/gfx2d/sprite_drawing.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/textures.h"

using namespace rt;

namespace rt {

// The image's part of the slot's texture: s from 0 to sMax, t from 0 (bottom) to tMax (top).
static void imageTextureExtent(const OpenGLRainbows& renderer, int slot, float& sMax, float& tMax)
{
    sMax = float(renderer.imageWidth[slot]) / float(renderer.textureWidth[slot]);
    tMax = float(renderer.imageHeight[slot]) / float(renderer.textureHeight[slot]);
}

// The 2D drawing state with the slot's plain texture bound, sampled nearest when each texel lands on
// exactly one pixel.
static void useSprite(OpenGLRainbows& renderer, int slot, bool texelOnPixel)
{
    renderer.useTexturedState();
    renderer.bindSprite(slot, -1, false);
    renderer.useSpriteFilter(slot, texelOnPixel);
}

// One quad, corners bottom-left, bottom-right, top-right, top-left (counter-clockwise on the screen).
// `mode` is GL_TRIANGLE_FAN or GL_QUADS: the driver joins quads that follow each other without a state
// change into one batch, but not fans. An axis-aligned quad covers the same pixels either way; a turned
// one is split along another diagonal, which can move a filtered edge pixel, so it stays a fan.
static void emitQuad(GLenum mode, float sMax, float tMax, float left, float bottom, float right, float top)
{
    glBegin(mode);
    glTexCoord2f(0, 0);
    glVertex2f(left, bottom);
    glTexCoord2f(sMax, 0);
    glVertex2f(right, bottom);
    glTexCoord2f(sMax, tMax);
    glVertex2f(right, top);
    glTexCoord2f(0, tMax);
    glVertex2f(left, top);
    glEnd();
}

// An empty slot has no area to draw.
static bool drawable(const OpenGLRainbows& renderer, int slot)
{
    return isSpriteSlot(slot) && renderer.imageWidth[slot] > 0 && renderer.imageHeight[slot] > 0;
}

void drawSprite(OpenGLRainbows& renderer, int slot, float x, float y)
{
    if (!drawable(renderer, slot)) return;
    drawSpriteStretched(renderer, slot, x, y, float(renderer.imageWidth[slot]),
                        float(renderer.imageHeight[slot]));
}

void drawSpriteStretched(OpenGLRainbows& renderer, int slot, float x, float y, float width, float height)
{
    if (!drawable(renderer, slot)) return;
    float left = std::ceil(x), top = std::ceil(y), w = std::ceil(width), h = std::ceil(height);
    // The corners are whole pixels: at the image's own size every texel covers one pixel.
    useSprite(renderer, slot,
              w == float(renderer.imageWidth[slot]) && h == float(renderer.imageHeight[slot]));
    float sMax, tMax;
    imageTextureExtent(renderer, slot, sMax, tMax);
    emitQuad(GL_QUADS, sMax, tMax, left, -top - h, left + w, -top);
}

void drawSpriteRotated(OpenGLRainbows& renderer, int slot, float x, float y, float angle, float zoom)
{
    if (!drawable(renderer, slot)) return;
    useSprite(renderer, slot, false);
    float sMax, tMax;
    imageTextureExtent(renderer, slot, sMax, tMax);
    int width = renderer.imageWidth[slot], height = renderer.imageHeight[slot];
    float halfWidth = zoom * float(width) * 0.5f, halfHeight = zoom * float(height) * 0.5f;
    renderer.glState.setMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(x + float(width >> 1), -y - float(height >> 1), 0);
    glRotatef(angle, 0, 0, 1);
    emitQuad(GL_TRIANGLE_FAN, sMax, tMax, -halfWidth, -halfHeight, halfWidth, halfHeight);
    glPopMatrix();
}

void drawSpriteInScene(OpenGLRainbows& renderer, int slot, int x, int y, int z, float scale)
{
    if (!drawable(renderer, slot)) return;
    int boundA = renderer.boundSprite, boundB = renderer.boundSecondSprite;
    bool boundMip = renderer.boundMip;
    useSprite(renderer, slot, false);
    float sMax, tMax;
    imageTextureExtent(renderer, slot, sMax, tMax);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float right[3] = {m[0], m[4], m[8]}, up[3] = {m[1], m[5], m[9]};
    float base[3] = {float(x), float(y), float(z)};
    float d = scale * float(renderer.imageWidth[slot] >> 2),
          e = scale * float(renderer.imageHeight[slot] >> 1);
    auto corner = [&](float alongRight, float alongUp) {
        glVertex3f(base[0] + alongRight * right[0] + alongUp * up[0],
                   base[1] + alongRight * right[1] + alongUp * up[1],
                   base[2] + alongRight * right[2] + alongUp * up[2]);
    };
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(0, 0);
    corner(-d, 0);
    glTexCoord2f(sMax, 0);
    corner(d, 0);
    glTexCoord2f(sMax, tMax);
    corner(d, e);
    glTexCoord2f(0, tMax);
    corner(-d, e);
    glEnd();
    renderer.bindSprite(boundA, boundB, boundMip);
}

// The slot's alpha plane, read from its texture the first time it is needed.
static const uint8_t* collisionMask(OpenGLRainbows& renderer, int slot)
{
    if (renderer.collisionMasks[slot]) return renderer.collisionMasks[slot];
    size_t size = size_t(renderer.textureWidth[slot]) * size_t(renderer.textureHeight[slot]);
    uint8_t* mask = new (std::nothrow) uint8_t[size];
    if (!mask) return nullptr;
    renderer.glState.bindTexture(0, renderer.spriteTextures[slot][0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask);
    renderer.collisionMasks[slot] = mask;
    if (renderer.boundSprite >= 0)
        renderer.bindSprite(renderer.boundSprite, renderer.boundSecondSprite, renderer.boundMip);
    return mask;
}

bool spriteCollision(OpenGLRainbows& renderer, int slotA, int slotB, int xA, int yA, int xB, int yB)
{
    if (!drawable(renderer, slotA) || !drawable(renderer, slotB)) return false;
    int widthA = renderer.imageWidth[slotA], heightA = renderer.imageHeight[slotA];
    int widthB = renderer.imageWidth[slotB], heightB = renderer.imageHeight[slotB];
    // Corners in 64 bits: positions from game code may lie anywhere in the int range.
    int64_t x0 = std::max<int64_t>(xA, xB),
            x1 = std::min<int64_t>(int64_t(xA) + widthA, int64_t(xB) + widthB);
    int64_t y0 = std::max<int64_t>(yA, yB),
            y1 = std::min<int64_t>(int64_t(yA) + heightA, int64_t(yB) + heightB);
    if (x1 <= x0 || y1 <= y0) return false;
    const uint8_t* maskA = collisionMask(renderer, slotA);
    const uint8_t* maskB = collisionMask(renderer, slotB);
    if (!maskA || !maskB) return false;
    int pitchA = renderer.textureWidth[slotA], pitchB = renderer.textureWidth[slotB];
    auto collides = [&](int64_t sx, int64_t sy) {
        size_t a = size_t(heightA - 1 - (sy - yA)) * pitchA + size_t(sx - xA);
        size_t b = size_t(heightB - 1 - (sy - yB)) * pitchB + size_t(sx - xB);
        return maskA[a] != 0 && maskB[b] == 255;
    };
    // Even rows of the overlap first, then odd ones: large overlaps are found early.
    for (int64_t firstRow = y0; firstRow <= y0 + 1; ++firstRow)
        for (int64_t sx = x0; sx < x1; ++sx)
            for (int64_t sy = firstRow; sy < y1; sy += 2)
                if (collides(sx, sy)) return true;
    return false;
}

} // namespace rt
