// The textures of object descriptions: image files uploaded as GL textures for the meshes that name
// them. Both calls need the renderer's GL context to be current.
#pragma once

#include <cstdint>
#include <vector>

namespace rt {

class OpenGLRainbows;

// A BMP or PNG file as a texture, 0x8000FF transparent, linear filtering; the new texture's name, or 0
// when the file cannot be decoded. Fits loadObjectFile's texture loader.
uint32_t loadObjectTexture(const char* path);
// Deletes the named textures (names 0 are skipped; nothing is deleted once the context is gone) and
// empties the list.
void releaseObjectTextures(OpenGLRainbows& renderer, std::vector<uint32_t>& textures);

} // namespace rt
