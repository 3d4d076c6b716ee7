// Points, lines, rectangles and polygons in immediate mode, and the blend setting.
#include "runtime/gfx2d/primitives.h"

#include <cmath>
#include <memory>

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/textures.h"

using namespace rt;

namespace rt {

void setAlphaMode(OpenGLRainbows& renderer, float a)
{
    float intensity = 1;
    rt::GlStateCache& state = renderer.glState;
    if (a == 0) {
        state.setBlending(false);
    } else if (a > 0) {
        state.setBlending(true);
        state.setBlendFunction(GL_ONE, GL_ONE);
        intensity = a < 1 ? a : 1;
    } else {
        state.setBlending(true);
        state.setBlendFunction(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        intensity = -a < 1 ? -a : 1;
    }
    renderer.intensity = intensity;
    renderer.setColourToIntensity();
}

static bool isTransparent(int colour)
{
    return (colour & 0xFFFFFF) == transparentColour;
}

// The state every primitive draws in: untextured, no alpha test, the colour scaled by the intensity.
// It stays set, so a run of primitives changes nothing but the colour between them; the next textured
// drawing puts back alpha test and colour (OpenGLRainbows::useTexturedState) and binds its texture.
static void usePrimitiveState(OpenGLRainbows& renderer, int colour)
{
    rt::GlStateCache& state = renderer.glState;
    state.setAlphaTest(false);
    state.setTexturing(1, false);
    state.setTexturing(0, false);
    if (!multitextureAvailable()) state.setColourMaterial(true);
    float intensity = renderer.intensity;
    glColor4ub(GLubyte(float(colour & 255) * intensity), GLubyte(float((colour >> 8) & 255) * intensity),
               GLubyte(float((colour >> 16) & 255) * intensity),
               isTransparent(colour) ? 0 : GLubyte(intensity * 255));
    renderer.primitiveStateLeft = true;
    renderer.colourWhite = false;
}

// Whole-number coordinates are moved by 3/8 pixel so that they hit pixel centres exactly (in the
// 2D projection's units, which are pixels).
static constexpr float pixelOffset = 0.375f;

static void primitiveVertex(float x, float y)
{
    glVertex2f(x + pixelOffset, y + pixelOffset);
}

void drawPoint(OpenGLRainbows& renderer, float x, float y, int colour)
{
    usePrimitiveState(renderer, colour);
    glBegin(GL_POINTS);
    primitiveVertex(x, -(y + 1));
    glEnd();
}

void drawLine(OpenGLRainbows& renderer, float x1, float y1, float x2, float y2, int colour)
{
    usePrimitiveState(renderer, colour);
    glBegin(GL_LINES);
    primitiveVertex(x1, -(y1 + 1));
    primitiveVertex(x2, -(y2 + 1));
    // Line rasterisation leaves out the last pixel, which belongs to the line. At a whole-number end,
    // a one-pixel segment from the end to the right adds exactly that pixel, and being a line too it
    // keeps a run of lines one draw. A fractional end may lie where rounding decides between two
    // pixels, so there a point marks it, as it is rasterised like rtDrawPixel.
    if (x2 == std::floor(x2) && y2 == std::floor(y2)) {
        primitiveVertex(x2, -(y2 + 1));
        primitiveVertex(x2 + 1, -(y2 + 1));
        glEnd();
        return;
    }
    glEnd();
    glBegin(GL_POINTS);
    primitiveVertex(x2, -(y2 + 1));
    glEnd();
}

void fillRect(OpenGLRainbows& renderer, float left, float top, float right, float bottom, int colour)
{
    // Both corners included. A side of one pixel (left = right) grows to the right like any other:
    // grown to the left instead, the quad would turn over on that axis alone and be culled.
    if (right >= left)
        right += 1;
    else
        left += 1;
    if (bottom >= top)
        bottom += 1;
    else
        top += 1;
    usePrimitiveState(renderer, colour);
    glBegin(GL_QUADS);
    primitiveVertex(left, -bottom);
    primitiveVertex(right, -bottom);
    primitiveVertex(right, -top);
    primitiveVertex(left, -top);
    glEnd();
}

int readPixel(OpenGLRainbows& renderer, int x, int y)
{
    if (x < 0 || y < 0 || x >= renderer.screenWidth || y >= renderer.screenHeight) return 0;
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, renderer.screenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

// The polygon being collected. Its array is kept between polygons and grows in steps, so building
// polygons stops allocating once it is large enough.
struct PolygonVertex
{
    float x, y;                    // screen position, y already negated
    float s, t;                    // texture coordinates
    float red, green, blue, alpha; // 0..1
};
static_assert(sizeof(PolygonVertex) == 32, "GL reads the vertices with a stride of 32 bytes");

static struct
{
    std::unique_ptr<PolygonVertex[]> vertices;
    int count = 0;
    int capacity = 0;
    int slot = -1; // the texture's sprite slot, -1 for none
} polygon;

static void reallocatePolygon(int capacity)
{
    std::unique_ptr<PolygonVertex[]> grown(new PolygonVertex[capacity]);
    for (int i = 0; i < polygon.count && i < capacity; ++i)
        grown[i] = polygon.vertices[i];
    polygon.vertices = std::move(grown);
    polygon.capacity = capacity;
}

void beginPolygon(OpenGLRainbows& renderer, int slot)
{
    polygon.slot = renderer.sprites.slot(slot) ? slot : -1;
    polygon.count = 0;
    if (polygon.capacity < 9) reallocatePolygon(8);
}

void addPolygonVertex(OpenGLRainbows& renderer, float x, float y, float s, float t, int colour)
{
    // An empty slot has no texture to place: its coordinates stay 0.
    const SpriteSlot* sprite = renderer.sprites.slot(polygon.slot);
    float textureS = 0, textureT = 0;
    if (sprite && sprite->textureWidth > 0 && sprite->textureHeight > 0) {
        textureS = s / float(sprite->textureWidth);
        textureT = (float(sprite->imageHeight) - t) / float(sprite->textureHeight);
    }
    float intensity = renderer.intensity;
    if (polygon.count == polygon.capacity) reallocatePolygon(polygon.capacity ? polygon.capacity + 128 : 512);
    polygon.vertices[polygon.count++] = {x,
                                         -y,
                                         textureS,
                                         textureT,
                                         float(colour & 255) / 255 * intensity,
                                         float((colour >> 8) & 255) / 255 * intensity,
                                         float((colour >> 16) & 255) / 255 * intensity,
                                         isTransparent(colour) ? 0.0f : 1.0f};
}

void drawPolygon(OpenGLRainbows& renderer)
{
    if (polygon.count == 0) return;
    rt::GlStateCache& state = renderer.glState;
    renderer.useTexturedState();
    state.setTextureReplace(false); // the vertices' colours modulate the texture
    renderer.bindSprite(polygon.slot, -1, false);
    SpriteSlot* sprite = renderer.sprites.slot(polygon.slot);
    if (sprite) renderer.useSpriteFilter(*sprite, false);
    state.setColourMaterial(true);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    if (glBindBufferARB_) glBindBufferARB_(GL_ARRAY_BUFFER_ARB, 0); // the arrays live in our memory
    const PolygonVertex* vertices = polygon.vertices.get();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolygonVertex), &vertices->x);
    if (polygon.slot >= 0) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonVertex), &vertices->s);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(PolygonVertex), &vertices->red);
    glDrawArrays(GL_TRIANGLE_FAN, 0, polygon.count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_FLAT);
    state.setTexturing(0, true);
    renderer.setColourToIntensity();
    glDisable(GL_DITHER);
    state.setColourMaterial(false);
}

} // namespace rt
