// Sprite quads and collision masks.
#include "runtime/gfx2d/sprite_drawing.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "runtime/gfx2d/renderer.h"

using namespace rt;

namespace rt {

// The image's part of the slot's texture: s from 0 to sMax, t from 0 (bottom) to tMax (top).
static void imageTextureExtent(const SpriteSlot& sprite, float& sMax, float& tMax)
{
    sMax = float(sprite.imageWidth) / float(sprite.textureWidth);
    tMax = float(sprite.imageHeight) / float(sprite.textureHeight);
}

// The 2D drawing state with the slot's plain texture bound, sampled nearest when each texel lands on
// exactly one pixel. `opaque`: the quad samples only fully opaque texels.
static void useSprite(OpenGLRainbows& renderer, int slot, SpriteSlot& sprite, bool texelOnPixel,
                      bool opaque = false)
{
    renderer.useTexturedState(opaque);
    renderer.bindSprite(slot, -1, false);
    renderer.useSpriteFilter(sprite, texelOnPixel);
}

// Texture coordinates of a quad's left, bottom, right and top edges.
struct TextureArea
{
    float sLeft, tBottom, sRight, tTop;
};

// One quad, corners bottom-left, bottom-right, top-right, top-left (counter-clockwise on the screen).
// `mode` is GL_TRIANGLE_FAN or GL_QUADS: the driver joins quads that follow each other without a state
// change into one batch, but not fans. An axis-aligned quad covers the same pixels either way; a turned
// one is split along another diagonal, which can move a filtered edge pixel, so it stays a fan.
static void emitQuad(GLenum mode, TextureArea area, float left, float bottom, float right, float top)
{
    glBegin(mode);
    glTexCoord2f(area.sLeft, area.tBottom);
    glVertex2f(left, bottom);
    glTexCoord2f(area.sRight, area.tBottom);
    glVertex2f(right, bottom);
    glTexCoord2f(area.sRight, area.tTop);
    glVertex2f(right, top);
    glTexCoord2f(area.sLeft, area.tTop);
    glVertex2f(left, top);
    glEnd();
}

// The slot when it has a picture to draw; an empty slot, or a number outside the table, has no area.
static SpriteSlot* drawable(OpenGLRainbows& renderer, int slot)
{
    SpriteSlot* sprite = renderer.sprites.slot(slot);
    return sprite && sprite->hasImage() ? sprite : nullptr;
}

// A sprite at its own size with its top left at whole pixel (left, top), drawn as the part of it that
// has anything to show. Each texel still lands on the pixel it would with the whole quad.
static void drawShownArea(OpenGLRainbows& renderer, int slot, SpriteSlot& sprite, float left, float top)
{
    if (sprite.shownRight <= sprite.shownLeft || sprite.shownBottom <= sprite.shownTop) return;
    // Each pixel samples the one texel under it, all of them inside the shown area.
    useSprite(renderer, slot, sprite, true, sprite.shownOpaque);
    float textureWidth = float(sprite.textureWidth), textureHeight = float(sprite.textureHeight);
    float imageHeight = float(sprite.imageHeight);
    float sLeft = float(sprite.shownLeft) / textureWidth, sRight = float(sprite.shownRight) / textureWidth;
    // The picture lies in the texture upside down: its top row is the highest t.
    float tBottom = (imageHeight - float(sprite.shownBottom)) / textureHeight;
    float tTop = (imageHeight - float(sprite.shownTop)) / textureHeight;
    float screenLeft = left + float(sprite.shownLeft), screenRight = left + float(sprite.shownRight);
    float screenTop = top + float(sprite.shownTop), screenBottom = top + float(sprite.shownBottom);
    emitQuad(GL_QUADS, {sLeft, tBottom, sRight, tTop}, screenLeft, -screenBottom, screenRight, -screenTop);
}

void drawSprite(OpenGLRainbows& renderer, int slot, float x, float y)
{
    const SpriteSlot* sprite = drawable(renderer, slot);
    if (!sprite) return;
    drawSpriteStretched(renderer, slot, x, y, float(sprite->imageWidth), float(sprite->imageHeight));
}

void drawSpriteStretched(OpenGLRainbows& renderer, int slot, float x, float y, float width, float height)
{
    SpriteSlot* sprite = drawable(renderer, slot);
    if (!sprite) return;
    float left = std::ceil(x), top = std::ceil(y), w = std::ceil(width), h = std::ceil(height);
    // The corners are whole pixels: at the image's own size every texel covers one pixel.
    bool texelOnPixel = w == float(sprite->imageWidth) && h == float(sprite->imageHeight);
    if (texelOnPixel && sprite->shownKnown) {
        drawShownArea(renderer, slot, *sprite, left, top);
        return;
    }
    useSprite(renderer, slot, *sprite, texelOnPixel);
    float sMax, tMax;
    imageTextureExtent(*sprite, sMax, tMax);
    emitQuad(GL_QUADS, {0, 0, sMax, tMax}, left, -top - h, left + w, -top);
}

void drawSpriteRotated(OpenGLRainbows& renderer, int slot, float x, float y, float angle, float zoom)
{
    SpriteSlot* sprite = drawable(renderer, slot);
    if (!sprite) return;
    useSprite(renderer, slot, *sprite, false);
    float sMax, tMax;
    imageTextureExtent(*sprite, sMax, tMax);
    int width = sprite->imageWidth, height = sprite->imageHeight;
    float halfWidth = zoom * float(width) * 0.5f, halfHeight = zoom * float(height) * 0.5f;
    renderer.glState.setMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(x + float(width >> 1), -y - float(height >> 1), 0);
    glRotatef(angle, 0, 0, 1);
    emitQuad(GL_TRIANGLE_FAN, {0, 0, sMax, tMax}, -halfWidth, -halfHeight, halfWidth, halfHeight);
    glPopMatrix();
}

void drawSpriteInScene(OpenGLRainbows& renderer, int slot, int x, int y, int z, float scale)
{
    SpriteSlot* sprite = drawable(renderer, slot);
    if (!sprite) return;
    int boundA = renderer.boundSprite, boundB = renderer.boundSecondSprite;
    bool boundMip = renderer.boundMip;
    useSprite(renderer, slot, *sprite, false);
    float sMax, tMax;
    imageTextureExtent(*sprite, sMax, tMax);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float right[3] = {m[0], m[4], m[8]}, up[3] = {m[1], m[5], m[9]};
    float base[3] = {float(x), float(y), float(z)};
    float d = scale * float(sprite->imageWidth >> 2), e = scale * float(sprite->imageHeight >> 1);
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
static const uint8_t* collisionMask(OpenGLRainbows& renderer, SpriteSlot& sprite)
{
    if (sprite.collisionMask) return sprite.collisionMask;
    size_t size = size_t(sprite.textureWidth) * size_t(sprite.textureHeight);
    uint8_t* mask = new (std::nothrow) uint8_t[size];
    if (!mask) return nullptr;
    renderer.glState.bindTexture(0, sprite.textures[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask);
    sprite.collisionMask = mask;
    if (renderer.boundSprite >= 0)
        renderer.bindSprite(renderer.boundSprite, renderer.boundSecondSprite, renderer.boundMip);
    return mask;
}

bool spriteCollision(OpenGLRainbows& renderer, int slotA, int slotB, int xA, int yA, int xB, int yB)
{
    SpriteSlot* spriteA = drawable(renderer, slotA);
    SpriteSlot* spriteB = drawable(renderer, slotB);
    if (!spriteA || !spriteB) return false;
    int widthA = spriteA->imageWidth, heightA = spriteA->imageHeight;
    int widthB = spriteB->imageWidth, heightB = spriteB->imageHeight;
    // Corners in 64 bits: positions from game code may lie anywhere in the int range.
    int64_t x0 = std::max<int64_t>(xA, xB),
            x1 = std::min<int64_t>(int64_t(xA) + widthA, int64_t(xB) + widthB);
    int64_t y0 = std::max<int64_t>(yA, yB),
            y1 = std::min<int64_t>(int64_t(yA) + heightA, int64_t(yB) + heightB);
    if (x1 <= x0 || y1 <= y0) return false;
    const uint8_t* maskA = collisionMask(renderer, *spriteA);
    const uint8_t* maskB = collisionMask(renderer, *spriteB);
    if (!maskA || !maskB) return false;
    int pitchA = spriteA->textureWidth, pitchB = spriteB->textureWidth;
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
