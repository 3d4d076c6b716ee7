// Object description textures, made by the same decoders and texture upload as sprites.
#include "runtime/gfx3d/object_textures.h"

#include "runtime/gfx2d/images.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/textures.h"

using namespace rt;

namespace rt {

uint32_t loadObjectTexture(const char* path)
{
    ImageBuffer image;
    if (!readBmp(path, spriteColourKey, image) && !readPng(path, spriteColourKey, image)) return 0;
    GLuint texture = 0;
    if (!makeTexture(image, 0, 0, 0, 0, &texture, nullptr, false, false)) return 0;
    return texture;
}

void releaseObjectTextures(OpenGLRainbows& renderer, std::vector<uint32_t>& textures)
{
    if (renderer.contextReady)
        for (uint32_t texture : textures) {
            GLuint name = texture;
            if (name) {
                glDeleteTextures(1, &name);
                renderer.glState.textureDeleted(name);
            }
        }
    textures.clear();
}

} // namespace rt
