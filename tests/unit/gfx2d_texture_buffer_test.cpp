// Texture buffers: power-of-two sizes, bottom-row-first regions, bleeding, mipmap levels, normal maps.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/gfx2d/texture_buffer.h"

using namespace rt;

namespace {

ImageBuffer imageOf(int width, int height)
{
    ImageBuffer image;
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t(width) * height * 4, 0);
    return image;
}

void setPixel(ImageBuffer& image, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    uint8_t* p = image.pixel(x, y);
    p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

std::vector<uint8_t> texelAt(const TextureBuffer& texture, int x, int y)
{
    const uint8_t* p = texture.texel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

} // namespace

TEST(TextureBuffer, SizesArePowersOfTwoOfAtLeastTwo)
{
    EXPECT_EQ(powerOfTwoAtLeast(1, 2), 2);
    EXPECT_EQ(powerOfTwoAtLeast(100, 2), 128);
    EXPECT_EQ(powerOfTwoAtLeast(50, 2), 64);
    EXPECT_EQ(powerOfTwoAtLeast(64, 2), 64);
    EXPECT_EQ(powerOfTwoAtLeast(20, 32), 32);
    EXPECT_EQ(powerOfTwoAtLeast(0x7FFFFFFF, 2), 1 << 30); // never overflows

    ImageBuffer image = imageOf(100, 50);
    TextureBuffer texture;
    int width, height;
    ASSERT_TRUE(fillTextureBuffer(image, 0, 0, 0, 0, 4096, texture, width, height));
    EXPECT_EQ(texture.width, 128);
    EXPECT_EQ(texture.height, 64);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 50);
    // The sprite's texture coordinates reach 100 / 128 and 50 / 64.
    EXPECT_FLOAT_EQ(float(width) / float(texture.width), 0.78125f);
    EXPECT_FLOAT_EQ(float(height) / float(texture.height), 0.78125f);
}

TEST(TextureBuffer, StoresTheRegionBottomRowFirstAndLeavesTheRestTransparentBlack)
{
    ImageBuffer image = imageOf(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            setPixel(image, x, y, uint8_t(10 * x + y), 0, 0, 255);
    TextureBuffer texture;
    int width, height;
    ASSERT_TRUE(fillTextureBuffer(image, 0, 0, 0, 0, 4096, texture, width, height));
    ASSERT_EQ(texture.width, 4);
    EXPECT_EQ(texelAt(texture, 0, 0)[0], 2);  // image bottom-left
    EXPECT_EQ(texelAt(texture, 2, 2)[0], 20); // image top-right
    EXPECT_EQ(texelAt(texture, 3, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(texelAt(texture, 0, 3), (std::vector<uint8_t>{0, 0, 0, 0}));

    // A tile reaching past the picture: the region's top row still lands in row height - 1.
    ASSERT_TRUE(fillTextureBuffer(image, 2, 1, 4, 4, 4096, texture, width, height));
    EXPECT_EQ(texture.width, 4);
    EXPECT_EQ(texelAt(texture, 0, 3)[0], 21); // image (2, 1)
    EXPECT_EQ(texelAt(texture, 0, 2)[0], 22); // image (2, 2)
    EXPECT_EQ(texelAt(texture, 1, 3), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(texelAt(texture, 0, 1), (std::vector<uint8_t>{0, 0, 0, 0}));

    texture.width = 99;
    EXPECT_FALSE(
        fillTextureBuffer(image, 3, 0, 0, 0, 4096, texture, width, height)); // nothing right of x = 3
    EXPECT_EQ(texture.width, 99);
    // Larger than a texture can be: held to the limit.
    ASSERT_TRUE(fillTextureBuffer(imageOf(10, 3), 0, 0, 0, 0, 8, texture, width, height));
    EXPECT_EQ(texture.width, 8);
    EXPECT_EQ(width, 8);
}

TEST(TextureBuffer, BleedingAveragesOpaqueNeighboursOffTheOuterBorder)
{
    TextureBuffer texture;
    texture.width = texture.height = 4;
    texture.texels.assign(64, 0);
    uint8_t* red = texture.texel(1, 1);
    red[0] = 255, red[3] = 255;
    uint8_t* blue = texture.texel(2, 1);
    blue[2] = 100, blue[3] = 255;
    uint8_t* border = texture.texel(3, 3); // on the outer border: never counts
    border[1] = 255, border[3] = 255;
    bleedTransparentTexels(texture);
    EXPECT_EQ(texelAt(texture, 0, 0), (std::vector<uint8_t>{255, 0, 0, 0}));   // sees only red
    EXPECT_EQ(texelAt(texture, 1, 2), (std::vector<uint8_t>{127, 0, 50, 0}));  // red and blue
    EXPECT_EQ(texelAt(texture, 3, 0), (std::vector<uint8_t>{0, 0, 100, 0}));   // sees only blue
    EXPECT_EQ(texelAt(texture, 2, 2), (std::vector<uint8_t>{127, 0, 50, 0}));  // not the border green
    EXPECT_EQ(texelAt(texture, 2, 3), (std::vector<uint8_t>{0, 0, 0, 0}));     // only the border green
    EXPECT_EQ(texelAt(texture, 3, 3), (std::vector<uint8_t>{0, 255, 0, 255})); // opaque: unchanged

    // Opaque texels only on the outer border: the transparent ones stay black.
    TextureBuffer edge;
    edge.width = edge.height = 4;
    edge.texels.assign(64, 0);
    for (int x = 0; x < 4; ++x)
        edge.texel(x, 0)[0] = 200, edge.texel(x, 0)[3] = 255;
    bleedTransparentTexels(edge);
    EXPECT_EQ(texelAt(edge, 1, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(TextureBuffer, MipmapLevelsWeightTheirFourTexelsByTheirPlace)
{
    // A 4 × 2 level: each texel holds (value, 0, 0, 0); rows of four.
    std::vector<uint8_t> texels(4 * 2 * 4, 0);
    uint8_t values[8] = {90, 0, 30, 60, 9, 18, 3, 6};
    for (int i = 0; i < 8; ++i)
        texels[i * 4] = values[i];
    int width = 4, height = 2;
    reduceToNextMipmapLevel(texels.data(), width, height);
    ASSERT_EQ(width, 2);
    ASSERT_EQ(height, 1);
    EXPECT_EQ(texels[0], (2 * 90 + 0) / 3); // last row: (2a + b) / 3
    EXPECT_EQ(texels[4], 30);               // last column of the last row: a

    // 4 × 4 → 2 × 2: (4a + 2b + 2c + d) / 9 inside, (2a + d) / 3 in the last column.
    std::vector<uint8_t> square(64, 0);
    auto set = [&](int x, int y, uint8_t v) { square[(y * 4 + x) * 4 + 3] = v; };
    set(0, 0, 90), set(1, 0, 45), set(1, 1, 9), set(0, 1, 18);
    set(2, 0, 30), set(2, 1, 60);
    width = height = 4;
    reduceToNextMipmapLevel(square.data(), width, height);
    EXPECT_EQ(square[3], (4 * 90 + 2 * 45 + 2 * 9 + 18) / 9);
    EXPECT_EQ(square[4 + 3], (2 * 30 + 60) / 3);

    // Down to 1 × 1 without reading outside: 2 × 1 → 1 × 1 keeps a.
    std::vector<uint8_t> line = {7, 7, 7, 7, 200, 200, 200, 200};
    width = 2, height = 1;
    reduceToNextMipmapLevel(line.data(), width, height);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(line[0], 7);
}

TEST(NormalMap, FlatPicturesPointUpAndSlopesTiltAgainstTheRise)
{
    ImageBuffer flat = imageOf(3, 3);
    for (int i = 0; i < 9; ++i)
        flat.pixels[i * 4 + 2] = 80, flat.pixels[i * 4 + 3] = 33;
    makeNormalMap(flat);
    EXPECT_EQ(flat.pixel(1, 1)[0], 127);
    EXPECT_EQ(flat.pixel(1, 1)[1], 127);
    EXPECT_EQ(flat.pixel(1, 1)[2], 255);
    EXPECT_EQ(flat.pixel(1, 1)[3], 33); // alpha kept

    // Blue rises to the right in column 2 only; neighbours wrap around the edges.
    ImageBuffer ramp = imageOf(3, 1);
    ramp.pixel(2, 0)[2] = 255;
    makeNormalMap(ramp);
    // At x = 1: dx = 4 × 1 - 0 = 4 → r = -4, u = 1 / sqrt(17).
    double u = 1 / std::sqrt(17.0);
    EXPECT_EQ(ramp.pixel(1, 0)[0], uint8_t((-4 * u + 1) * 0.5 * 255));
    EXPECT_EQ(ramp.pixel(1, 0)[1], 127);
    EXPECT_EQ(ramp.pixel(1, 0)[2], uint8_t((u + 1) * 0.5 * 255));
    // At x = 0 the rise is to the left (x - 1 wraps to column 2): tilted the other way.
    EXPECT_EQ(ramp.pixel(0, 0)[0], uint8_t((4 * u + 1) * 0.5 * 255));
}
