// Sprite slots filled from image files or from the screen: GL textures made from texture buffers.
#pragma once

#include <SDL_opengl.h>

#include "runtime/gfx2d/images.h"

namespace rt {

class OpenGLRainbows;

// GL_MAX_TEXTURE_SIZE of the current context.
int maxTextureSize();

// Makes the texture of an image region (see fillTextureBuffer): deletes the texture named in *plain,
// makes a new one there and, when `mip` is given, a mipmapped one into *mip. `normalMap` converts the
// image to its normal map first; `nearest` selects nearest filtering and skips bleeding. The size of
// the texture made goes to textureWidth/textureHeight when asked for. False when the region is empty.
bool makeTexture(ImageBuffer& image, int x0, int y0, int width, int height, GLuint* plain, GLuint* mip,
                 bool normalMap, bool nearest, int* textureWidth = nullptr, int* textureHeight = nullptr);

// Loads a BMP or PNG file into a slot; font slots get nearest filtering and no mipmaps. The slot is
// emptied first and stays empty when the file cannot be decoded.
bool loadSprite(OpenGLRainbows& renderer, int slot, const char* path, int colourKey, bool normalMap);
void freeSprite(OpenGLRainbows& renderer, int slot);
// Copies the screen rectangle (window coordinates, top left x, y) into the slot's texture, reusing the
// texture when its size fits; the sprite gets the rectangle's size, transparent where it reaches past
// the screen. Returns 1; 0 (and nothing done) for a width or height below 1 or larger than a texture.
int grabScreenToSprite(OpenGLRainbows& renderer, int slot, int x, int y, int width, int height);

} // namespace rt
