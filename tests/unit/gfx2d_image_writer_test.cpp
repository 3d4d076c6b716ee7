// Writing pictures as BMP or PNG, read back through the decoders.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/images.h"

using namespace rt;

namespace {

class ImageWriter : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/gfx2d_writer_XXXXXX";
        folder = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string file(const char* name) const { return folder + "/" + name; }
    std::string folder;
};

// 3 × 2 pixels in rows of 4 (one pixel of padding per row), blue-green-red, bottom row first:
// bottom (10, 20, 30) (key: red 255, green 0, blue 128) (1, 2, 3); top (40, 50, 60) (70, 80, 90)
// (dark blue 0, 0, 128: the key's green and blue without its red).
const uint8_t pixels[] = {30, 20, 10, 128, 0,  255, 3,   2, 1, 0, 0, 0,
                          60, 50, 40, 90,  80, 70,  128, 0, 0, 0, 0, 0};

std::vector<uint8_t> rgba(const ImageBuffer& image, int x, int y)
{
    const uint8_t* p = image.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

} // namespace

TEST_F(ImageWriter, BmpIsTwentyFourBitsAndReadsBackUpright)
{
    std::string path = file("shot.bmp");
    ASSERT_TRUE(writeImage(path.c_str(), pixels, 3, 2, 4, false));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(path.c_str(), bytes, 1 << 20));
    EXPECT_EQ(bytes.size(), 54u + 12 * 2); // rows of 9 bytes padded to 12
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(bytes[10], 54);
    ImageBuffer image;
    ASSERT_TRUE(readBmp(path.c_str(), noColourKey, image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(rgba(image, 0, 1), (std::vector<uint8_t>{10, 20, 30, 255}));
    EXPECT_EQ(rgba(image, 1, 1), (std::vector<uint8_t>{255, 0, 128, 255})); // BMP keeps every colour
    EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{70, 80, 90, 255}));

    // Rows given top first are stored the other way round.
    ASSERT_TRUE(writeImage(path.c_str(), pixels, 3, 2, 4, true));
    ASSERT_TRUE(readBmp(path.c_str(), noColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{10, 20, 30, 255}));
}

TEST_F(ImageWriter, PngIsRgbaWithGreenZeroBlue128FullyTransparent)
{
    for (const char* name : {"shot.png", "shot.PNG", "shot.pNg"}) {
        std::string path = file(name);
        ASSERT_TRUE(writeImage(path.c_str(), pixels, 3, 2, 4, false)) << name;
        ImageBuffer image;
        // Read back as a sprite would be: its own alpha counts, the key is not applied again.
        ASSERT_TRUE(readPng(path.c_str(), spriteColourKey, image)) << name;
        ASSERT_EQ(image.width, 3);
        EXPECT_EQ(rgba(image, 0, 1), (std::vector<uint8_t>{10, 20, 30, 255}));
        EXPECT_EQ(rgba(image, 2, 1), (std::vector<uint8_t>{1, 2, 3, 255}));
        EXPECT_EQ(rgba(image, 1, 1), (std::vector<uint8_t>{0, 0, 255, 0}));
        EXPECT_EQ(rgba(image, 2, 0), (std::vector<uint8_t>{0, 0, 255, 0})); // whatever its red
        EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{70, 80, 90, 255}));
    }
}

TEST_F(ImageWriter, OnlyNamesEndingInDotPngArePng)
{
    EXPECT_TRUE(namesPng("a.png"));
    EXPECT_TRUE(namesPng("dir/A.PnG"));
    EXPECT_FALSE(namesPng(".png")); // four characters are not enough
    EXPECT_FALSE(namesPng("a.bmp"));
    EXPECT_FALSE(namesPng("apng"));
    EXPECT_FALSE(namesPng("shot"));

    std::string path = file("shot");
    ASSERT_TRUE(writeImage(path.c_str(), pixels, 3, 2, 4, false));
    ImageBuffer image;
    EXPECT_TRUE(readBmp(path.c_str(), noColourKey, image));
}

TEST_F(ImageWriter, UnwritablePathsAndEmptyPicturesFail)
{
    EXPECT_FALSE(writeImage(file("no/such/folder/a.bmp").c_str(), pixels, 3, 2, 4, false));
    EXPECT_FALSE(writeImage(file("no/such/folder/a.png").c_str(), pixels, 3, 2, 4, false));
    EXPECT_FALSE(writeImage(file("empty.bmp").c_str(), pixels, 0, 2, 4, false));
    EXPECT_FALSE(std::filesystem::exists(file("empty.bmp")));
}

TEST_F(ImageWriter, BackslashesSeparateFolders)
{
    std::filesystem::create_directory(file("shots"));
    for (const char* name : {"a.bmp", "a.png"}) {
        ASSERT_TRUE(
            writeImage(file((std::string("shots\\") + name).c_str()).c_str(), pixels, 3, 2, 4, false));
        EXPECT_TRUE(std::filesystem::exists(file("shots") + "/" + name)) << name;
    }
}
