// GL textures for sprite slots: made from image files through texture buffers, or grabbed from the
// screen.
#include "runtime/gfx2d/textures.h"

#include <algorithm>
#include <new>
#include <vector>

#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/texture_buffer.h"

using namespace rt;

namespace rt {

int maxTextureSize()
{
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 64;
}

static void setUnpackState()
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

// Filtering and wrapping of the texture bound on unit 0.
static void setTextureParameters(GLint magnification, GLint minification)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
}

bool makeTexture(ImageBuffer& image, int x0, int y0, int width, int height, GLuint* plain, GLuint* mip,
                 bool normalMap, bool nearest, int* textureWidth, int* textureHeight)
{
    TextureBuffer texture;
    int regionWidth, regionHeight;
    try {
        if (normalMap) makeNormalMap(image);
        if (!fillTextureBuffer(image, x0, y0, width, height, maxTextureSize(), texture, regionWidth,
                               regionHeight))
            return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!nearest) bleedTransparentTexels(texture);

    setUnpackState();
    if (*plain) glDeleteTextures(1, plain);
    *plain = 0;
    // Making a texture leaves the binding that drawing relies on as it found it.
    GLint drawingTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &drawingTexture);
    GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glGenTextures(1, plain);
    glBindTexture(GL_TEXTURE_2D, *plain);
    setTextureParameters(filter, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.width, texture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texture.texels.data());
    if (mip) {
        glGenTextures(1, mip);
        glBindTexture(GL_TEXTURE_2D, *mip);
        setTextureParameters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
        int levelWidth = texture.width, levelHeight = texture.height;
        for (int level = 0;; ++level) {
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, levelWidth, levelHeight, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, texture.texels.data());
            if (levelWidth == 1 && levelHeight == 1) break;
            reduceToNextMipmapLevel(texture.texels.data(), levelWidth, levelHeight);
        }
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(drawingTexture));
    if (textureWidth) *textureWidth = texture.width;
    if (textureHeight) *textureHeight = texture.height;
    return true;
}

void freeSprite(OpenGLRainbows& renderer, int slot)
{
    renderer.emptySpriteSlot(slot);
}

static bool fullyOpaque(const ImageBuffer& image, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (image.pixel(x, y)[3] != 255) return false;
    return true;
}

// The rectangle around every texel that is not fully transparent; an empty one when there is none.
static void findShownArea(const ImageBuffer& image, SpriteSlot& sprite)
{
    int left = sprite.imageWidth, top = sprite.imageHeight, right = 0, bottom = 0;
    for (int y = 0; y < sprite.imageHeight; ++y)
        for (int x = 0; x < sprite.imageWidth; ++x)
            if (image.pixel(x, y)[3] != 0) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
    if (right <= left || bottom <= top) left = top = right = bottom = 0;
    sprite.shownLeft = uint16_t(left), sprite.shownTop = uint16_t(top);
    sprite.shownRight = uint16_t(right), sprite.shownBottom = uint16_t(bottom);
    sprite.shownKnown = true;
    sprite.shownOpaque = fullyOpaque(image, left, top, right, bottom);
}

bool loadSprite(OpenGLRainbows& renderer, int slot, const char* path, int colourKey, bool normalMap)
{
    SpriteSlot* sprite = renderer.sprites.slot(slot);
    if (!sprite) return false;
    renderer.emptySpriteSlot(slot);
    ImageBuffer image;
    if (!readBmp(path, colourKey, image) && !readPng(path, colourKey, image)) return false;
    if (image.width < 1 || image.height < 1) return false;

    bool font = slot >= firstFontSlot;
    GLuint* textures = sprite->textures;
    int textureWidth, textureHeight;
    if (!makeTexture(image, 0, 0, 0, 0, &textures[0], font ? nullptr : &textures[1], normalMap && !font, font,
                     &textureWidth, &textureHeight))
        return false;
    // A picture larger than a texture can be keeps only the part that fits.
    int maxSize = maxTextureSize();
    sprite->textureWidth = textureWidth;
    sprite->textureHeight = textureHeight;
    sprite->imageWidth = std::min(image.width, maxSize);
    sprite->imageHeight = std::min(image.height, maxSize);
    sprite->madeNearest = font;
    findShownArea(image, *sprite);
    return true;
}

// Clears the image part of the texture bound on unit 0 to transparent black, a row at a time from one
// zero row kept for the next time: grabs happen while a game runs, and need not allocate each time.
static void clearGrabbedImage(int width, int height)
{
    static std::vector<uint8_t> zeroRow;
    if (zeroRow.size() < size_t(width) * 4) zeroRow.resize(size_t(width) * 4);
    setUnpackState();
    for (int row = 0; row < height; ++row)
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row, width, 1, GL_BGRA, GL_UNSIGNED_BYTE, zeroRow.data());
}

int grabScreenToSprite(OpenGLRainbows& renderer, int slot, int x, int y, int width, int height)
{
    SpriteSlot* sprite = renderer.sprites.slot(slot);
    if (!sprite || width <= 0 || height <= 0) return 0;
    int maxSize = maxTextureSize();
    if (width > maxSize || height > maxSize) return 0;
    int textureWidth = powerOfTwoAtLeast(width, 32), textureHeight = powerOfTwoAtLeast(height, 32);
    GLuint* textures = sprite->textures;
    if (sprite->textureWidth == textureWidth && sprite->textureHeight == textureHeight) {
        renderer.glState.bindTexture(0, textures[0]);
    } else {
        for (int i = 0; i < 2; ++i) {
            if (textures[i]) {
                glDeleteTextures(1, &textures[i]);
                renderer.glState.textureDeleted(textures[i]);
            }
            textures[i] = 0;
        }
        setUnpackState();
        glGenTextures(1, &textures[0]);
        renderer.glState.bindTexture(0, textures[0]);
        setTextureParameters(GL_LINEAR, GL_LINEAR);
        sprite->madeNearest = false;
        sprite->filterNow = filterUnknown;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    // The sprite has the size asked for. Only the part on the screen has pixels to copy; the rest is
    // transparent, so that a grab at the screen's edge draws nothing where the screen ends.
    const int64_t wantedRight = int64_t(x) + width, wantedBottom = int64_t(y) + height;
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = int(std::min<int64_t>(wantedRight, renderer.screenWidth));
    int bottom = int(std::min<int64_t>(wantedBottom, renderer.screenHeight));
    if (left != x || top != y || right != wantedRight || bottom != wantedBottom)
        clearGrabbedImage(width, height);
    // Texture row 0 is the image's bottom row, and GL counts screen rows from the bottom.
    if (right > left && bottom > top)
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, left - x, int(wantedBottom - bottom), left,
                            renderer.screenHeight - bottom, right - left, bottom - top);
    sprite->textureWidth = textureWidth;
    sprite->textureHeight = textureHeight;
    sprite->imageWidth = width;
    sprite->imageHeight = height;
    sprite->shownKnown = false; // a grabbed picture is drawn whole
    // Collision tests see the grabbed picture, not the one read before.
    delete[] sprite->collisionMask;
    sprite->collisionMask = nullptr;
    return 1;
}

} // namespace rt
