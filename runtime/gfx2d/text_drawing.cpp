// Font slots and text drawing: one texture bind and one quad batch per text.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/textures.h"

using namespace rt;

namespace rt {

int clampFont(int font)
{
    return std::clamp(font, 0, fontCount - 1);
}

bool loadFont(OpenGLRainbows& renderer, int font, const char* path)
{
    return loadSprite(renderer, fontSlot(clampFont(font)), path, fontColourKey, false);
}

void installBuiltinFont(OpenGLRainbows& renderer, int font)
{
    int slot = fontSlot(clampFont(font));
    renderer.emptySpriteSlot(slot);
    SpriteSlot& sprite = *renderer.sprites.slot(slot); // font slots are in the table
    ImageBuffer image;
    makeBuiltinFont(image);
    int textureWidth, textureHeight;
    if (!makeTexture(image, 0, 0, 0, 0, &sprite.textures[0], nullptr, false, true, &textureWidth,
                     &textureHeight))
        return;
    sprite.textureWidth = textureWidth;
    sprite.textureHeight = textureHeight;
    sprite.imageWidth = image.width;
    sprite.imageHeight = image.height;
    sprite.madeNearest = true;
}

// The grid of a font image: 16 columns; 16 rows when it is taller than wide, else 8.
struct FontGrid
{
    int rows = 8;
    int glyphCount = 128;
    int cellWidth = 0;   // pixels, also the advance
    int cellHeight = 0;  // pixels
    int imageHeight = 0; // pixels of the whole font image
    float cellS = 0;     // cell width in texture units
    float cellT = 0;     // cell height in texture units
};

static FontGrid fontGrid(const OpenGLRainbows& renderer, int slot)
{
    FontGrid grid;
    const SpriteSlot* sprite = renderer.sprites.withImage(slot);
    if (!sprite) return grid;
    int width = sprite->imageWidth, height = sprite->imageHeight;
    grid.imageHeight = height;
    if (width < height) grid.rows = 16, grid.glyphCount = 256;
    grid.cellWidth = width >> 4;
    grid.cellHeight = grid.rows == 16 ? height >> 4 : height >> 3;
    grid.cellS = float(width) / float(sprite->textureWidth) / 16;
    grid.cellT = float(height) / float(sprite->textureHeight) / float(grid.rows);
    return grid;
}

void fontCellSize(const OpenGLRainbows& renderer, int font, int& width, int& height)
{
    FontGrid grid = fontGrid(renderer, fontSlot(clampFont(font)));
    width = grid.cellWidth;
    height = grid.cellHeight;
}

// Texture rectangle of a character's cell: lower-left corner (s0, t0); image rows run top to bottom
// while texture rows run bottom to top.
static void glyphCorner(const FontGrid& grid, unsigned char code, float& s0, float& t0)
{
    int glyph = code % grid.glyphCount;
    s0 = grid.cellS * float(glyph % 16);
    t0 = grid.cellT * float(grid.rows - 1 - glyph / 16);
}

void drawText(OpenGLRainbows& renderer, int font, const char* text, float x, float y, float z)
{
    int slot = fontSlot(clampFont(font));
    FontGrid grid = fontGrid(renderer, slot);
    if (grid.cellWidth == 0 || grid.cellHeight == 0) return;
    renderer.useTexturedState();
    renderer.bindSprite(slot, -1, false);
    float penX = std::ceil(x), top = std::ceil(y);
    float advance = float(grid.cellWidth), bottom = -top - float(grid.cellHeight);
    // Screen text lies at z = 0, where two coordinates say what three would. Sprites and primitives
    // send two as well, and the driver then keeps one vertex layout for all 2D drawing instead of
    // starting a new batch at every change between text and the rest.
    const bool onScreen = z == 0;
    auto vertex = [onScreen, z](float vx, float vy) {
        if (onScreen)
            glVertex2f(vx, vy);
        else
            glVertex3f(vx, vy, z);
    };
    glBegin(GL_QUADS);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p, penX += advance) {
        float s0, t0;
        glyphCorner(grid, *p, s0, t0);
        glTexCoord2f(s0, t0);
        vertex(penX, bottom);
        glTexCoord2f(s0 + grid.cellS, t0);
        vertex(penX + advance, bottom);
        glTexCoord2f(s0 + grid.cellS, t0 + grid.cellT);
        vertex(penX + advance, -top);
        glTexCoord2f(s0, t0 + grid.cellT);
        vertex(penX, -top);
    }
    glEnd();
}

// A camera-facing strip of square cells centred on the point.
static void drawTextStrip(OpenGLRainbows& renderer, int slot, const FontGrid& grid, const char* text,
                          const float* m, float x, float y, float z, float scale)
{
    renderer.useTexturedState();
    renderer.bindSprite(slot, -1, false);
    float cell = scale * float(grid.cellWidth);
    float advance[3] = {cell * m[0], cell * m[4], cell * m[8]},
          up[3] = {cell * m[1], cell * m[5], cell * m[9]};
    float half = float(strlen(text)) / 2;
    float corner[3] = {x - half * advance[0], y - half * advance[1], z - half * advance[2]};
    glBegin(GL_QUADS);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        float s0, t0;
        glyphCorner(grid, *p, s0, t0);
        const float* a = advance;
        glTexCoord2f(s0, t0);
        glVertex3f(corner[0], corner[1], corner[2]);
        glTexCoord2f(s0 + grid.cellS, t0);
        glVertex3f(corner[0] + a[0], corner[1] + a[1], corner[2] + a[2]);
        glTexCoord2f(s0 + grid.cellS, t0 + grid.cellT);
        glVertex3f(corner[0] + a[0] + up[0], corner[1] + a[1] + up[1], corner[2] + a[2] + up[2]);
        glTexCoord2f(s0, t0 + grid.cellT);
        glVertex3f(corner[0] + up[0], corner[1] + up[1], corner[2] + up[2]);
        for (int i = 0; i < 3; ++i)
            corner[i] += a[i];
    }
    glEnd();
}

// Screen-aligned text centred above the projection of the point.
static void drawTextAtProjection(OpenGLRainbows& renderer, int font, const FontGrid& grid, const char* text,
                                 const float* m, float x, float y, float z)
{
    GLfloat p[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetIntegerv(GL_VIEWPORT, viewport);
    float eye[4], clip[4];
    for (int row = 0; row < 4; ++row)
        eye[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    for (int row = 0; row < 4; ++row)
        clip[row] = p[row] * eye[0] + p[4 + row] * eye[1] + p[8 + row] * eye[2] + p[12 + row] * eye[3];
    if (clip[3] == 0) return;
    float vx = float(viewport[0]), vy = float(viewport[1]), vw = float(viewport[2]), vh = float(viewport[3]);
    float px = vx + (clip[0] / clip[3] + 1) * vw / 2;
    float py = vh - (vy + vh * (clip[1] / clip[3] + 1) / 2);
    float pz = -clip[2] / clip[3];
    renderer.glState.setMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, renderer.viewportWidth, -renderer.viewportHeight, 0, -1, 1);
    renderer.glState.setMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    float width = float(strlen(text)) * float(grid.cellWidth);
    drawText(renderer, font, text, px - width / 2 - vx, vy + py - float(grid.imageHeight >> 3), pz);
    glPopMatrix();
    renderer.glState.setMatrixMode(GL_PROJECTION);
    glPopMatrix();
    renderer.glState.setMatrixMode(GL_MODELVIEW);
}

void drawTextInScene(OpenGLRainbows& renderer, int font, const char* text, float x, float y, float z,
                     float scale)
{
    font = clampFont(font);
    int slot = fontSlot(font);
    FontGrid grid = fontGrid(renderer, slot);
    if (grid.cellWidth == 0) return;
    bool culling = glIsEnabled(GL_CULL_FACE);
    if (culling) glDisable(GL_CULL_FACE);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    if (scale != 0)
        drawTextStrip(renderer, slot, grid, text, m, x, y, z, scale);
    else
        drawTextAtProjection(renderer, font, grid, text, m, x, y, z);
    if (culling) glEnable(GL_CULL_FACE);
}

} // namespace rt
