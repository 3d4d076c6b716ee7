// Saving a sprite slot or the screen: pixels read back from GL, then written as a file.
#include <new>
#include <vector>

#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/textures.h"

using namespace rt;

namespace rt {

bool saveSprite(OpenGLRainbows& renderer, int slot, const char* path)
{
    if (!isSpriteSlot(slot) || renderer.imageWidth[slot] < 1 || renderer.imageHeight[slot] < 1) return false;
    int textureWidth = renderer.textureWidth[slot], textureHeight = renderer.textureHeight[slot];
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(size_t(textureWidth) * textureHeight * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    renderer.glState.bindTexture(0, renderer.spriteTextures[slot][0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    if (renderer.boundSprite >= 0)
        renderer.bindSprite(renderer.boundSprite, renderer.boundSecondSprite, renderer.boundMip);
    // Texture row 0 is the picture's bottom row.
    return writeImage(path, pixels.data(), renderer.imageWidth[slot], renderer.imageHeight[slot],
                      textureWidth, false);
}

bool saveScreen(OpenGLRainbows& renderer, const char* path)
{
    int width = renderer.screenWidth, height = renderer.screenHeight;
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    return writeImage(path, pixels.data(), width, height, width, false);
}

} // namespace rt
