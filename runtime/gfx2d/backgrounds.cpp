// Tiled background pictures.
#include "runtime/gfx2d/backgrounds.h"

#include <algorithm>

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/textures.h"

using namespace rt;

namespace rt {

static constexpr int loadedTileLimit = 512;

static bool isPicture(int picture)
{
    return picture >= 0 && picture < backgroundPictureCount;
}
static int tileIndex(int column, int row)
{
    return column * maxBackgroundTiles + row;
}

static void deleteTiles(OpenGLRainbows& renderer, BackgroundPicture& picture)
{
    if (!renderer.contextReady) return;
    for (GLuint& texture : picture.tileTextures)
        if (texture) {
            glDeleteTextures(1, &texture);
            renderer.glState.textureDeleted(texture);
        }
}

void freeBackgroundPicture(OpenGLRainbows& renderer, int picture)
{
    if (!isPicture(picture)) return;
    BackgroundPicture& target = renderer.backgroundPictures[picture];
    deleteTiles(renderer, target);
    target = BackgroundPicture{};
}

bool loadBackgroundPicture(OpenGLRainbows& renderer, int picture, const char* path)
{
    if (!isPicture(picture)) return false;
    ImageBuffer image;
    if (!readBmp(path, noColourKey, image) && !readPng(path, noColourKey, image)) return false;
    if (image.width < 1 || image.height < 1) return false;
    int tile = std::min(maxTextureSize(), loadedTileLimit);

    freeBackgroundPicture(renderer, picture);
    BackgroundPicture& target = renderer.backgroundPictures[picture];
    // A picture needing more than 64 tiles across or down keeps the part that fits.
    for (int row = 0; row < maxBackgroundTiles && row * tile < image.height; ++row) {
        int columns = 0;
        for (int column = 0; column < maxBackgroundTiles && column * tile < image.width; ++column) {
            int index = tileIndex(column, row);
            if (!makeTexture(image, column * tile, row * tile, tile, tile, &target.tileTextures[index],
                             nullptr, false, false))
                return false;
            target.tileTextureWidths[index] = target.tileTextureHeights[index] = tile;
            target.tileWidths[index] = target.tileHeights[index] = tile;
            columns = column + 1;
            target.columns = std::max(target.columns, columns);
        }
        target.rows = row + 1;
    }
    return true;
}

void drawBackgroundPicture(OpenGLRainbows& renderer, int picture)
{
    if (!isPicture(picture)) return;
    const BackgroundPicture& source = renderer.backgroundPictures[picture];
    if (source.columns == 0 || source.rows == 0) return;
    rt::GlStateCache& state = renderer.glState;
    renderer.useTexturedState();
    state.setAlphaTest(false);
    state.setTexturing(1, false);
    state.setTexturing(0, true);
    // All tiles of a picture have one texture size: they lie on a grid of that pitch.
    float x = 0;
    for (int column = 0; column < source.columns; ++column) {
        float y = 0;
        int index = 0;
        for (int row = 0; row < source.rows; ++row) {
            index = tileIndex(column, row);
            float width = float(source.tileWidths[index]), height = float(source.tileHeights[index]);
            float s = width / float(source.tileTextureWidths[index]);
            float t = height / float(source.tileTextureHeights[index]);
            state.bindTexture(0, source.tileTextures[index]);
            glBegin(GL_TRIANGLE_FAN);
            glTexCoord2f(0, 0);
            glVertex2f(x, -y - height);
            glTexCoord2f(s, 0);
            glVertex2f(x + width, -y - height);
            glTexCoord2f(s, t);
            glVertex2f(x + width, -y);
            glTexCoord2f(0, t);
            glVertex2f(x, -y);
            glEnd();
            y += float(source.tileTextureHeights[index]);
        }
        x += float(source.tileTextureWidths[index]);
    }
    state.setAlphaTest(true);
}

void grabScreenToBackground(OpenGLRainbows& renderer, int picture)
{
    if (!isPicture(picture)) return;
    BackgroundPicture& target = renderer.backgroundPictures[picture];
    // Tiles of the loaded size: a whole 320 × 240 screen fits one tile without a huge texture.
    int tile = std::min(maxTextureSize(), loadedTileLimit);
    int width = renderer.screenWidth, height = renderer.screenHeight;
    int rows = 0, columns = 0;
    for (int row = 0; row < maxBackgroundTiles && row * tile < height; ++row) {
        columns = 0;
        for (int column = 0; column < maxBackgroundTiles && column * tile < width; ++column) {
            int index = tileIndex(column, row);
            int x0 = column * tile, y0 = row * tile;
            int tileWidth = std::min(tile, width - x0), tileHeight = std::min(tile, height - y0);
            GLuint& texture = target.tileTextures[index];
            if (texture && target.tileTextureWidths[index] == tile &&
                target.tileTextureHeights[index] == tile) {
                renderer.glState.bindTexture(0, texture);
            } else {
                if (texture) {
                    glDeleteTextures(1, &texture);
                    renderer.glState.textureDeleted(texture);
                }
                glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
                glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
                glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
                glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
                glGenTextures(1, &texture);
                renderer.glState.bindTexture(0, texture);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tile, tile, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
            }
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x0, height - y0 - tileHeight, tileWidth, tileHeight);
            target.tileTextureWidths[index] = target.tileTextureHeights[index] = tile;
            target.tileWidths[index] = tileWidth;
            target.tileHeights[index] = tileHeight;
            columns = column + 1;
        }
        rows = row + 1;
    }
    target.columns = columns;
    target.rows = rows;
}

} // namespace rt
