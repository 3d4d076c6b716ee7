// Texture buffers built from images on the CPU: power-of-two sizes, the image region stored bottom row
// first, colour bled into transparent texels, mipmap levels and normal maps. No GL here.
#pragma once

#include "runtime/gfx2d/images.h"

namespace rt {

// A texture's texels: R, G, B, A; row 0 is the bottom row of the picture.
struct TextureBuffer
{
    int width = 0;  // power of two, at least 2
    int height = 0; // power of two, at least 2
    std::vector<uint8_t> texels;

    uint8_t* texel(int x, int y) { return &texels[(size_t(y) * width + x) * 4]; }
    const uint8_t* texel(int x, int y) const { return &texels[(size_t(y) * width + x) * 4]; }
};

// The smallest power of two that is at least `size` and at least `minimum` (sizes up to 2^30).
int powerOfTwoAtLeast(int size, int minimum);

// The region (x0, y0, width, height) of the image into a zeroed texture of power-of-two size, region
// bottom row in texture row 0. A width or height of 0 reaches to the image's edge; both are held to
// maxSize. False, and `texture` untouched, when the region is empty. `regionWidth` and `regionHeight`
// receive the size of the region stored.
bool fillTextureBuffer(const ImageBuffer& image, int x0, int y0, int width, int height, int maxSize,
                       TextureBuffer& texture, int& regionWidth, int& regionHeight);

// Gives every fully transparent texel the average colour of its non-transparent neighbours (the
// 8 around it, counting only those off the texture's outer border), so linear filtering does not
// pull black into the edges of a picture; alpha stays 0.
void bleedTransparentTexels(TextureBuffer& texture);

// Reduces a width × height level in place to the next mipmap level, max(1, width / 2) ×
// max(1, height / 2), written from the start of the same texels.
void reduceToNextMipmapLevel(uint8_t* texels, int& width, int& height);

// Replaces the image by its normal map: heights from the blue channel, wrapping at the edges.
void makeNormalMap(ImageBuffer& image);

} // namespace rt
