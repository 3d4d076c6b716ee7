// BMP and PNG decoding: the accepted formats, the colour key, and damaged or forged files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "gfx2d_test_images.h"
#include "runtime/gfx2d/images.h"

using namespace rt;

using testimages::bmp;

namespace {

std::vector<uint8_t> rgba(const ImageBuffer& image, int x, int y)
{
    const uint8_t* p = image.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

class TempFolder : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/gfx2d_images_XXXXXX";
        folder = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string file(const char* name) const { return folder + "/" + name; }
    std::string folder;
};

} // namespace

TEST(BmpDecoder, Reads24BitRowsBottomUpWithPaddingAndAppliesTheColourKey)
{
    // 3 × 2: stored rows are 9 bytes of pixels padded to 12. Bottom row: blue, key colour, white.
    std::vector<uint8_t> rows = {
        255, 0, 0,   128, 0,   255, 255, 255, 255, 0, 0, 0,  // bottom
        0,   0, 255, 0,   255, 0,   1,   2,   3,   0, 0, 0}; // top: red, green, (3,2,1)
    auto file = bmp(3, 2, 24, rows);
    ImageBuffer image;
    ASSERT_TRUE(decodeBmp(file.data(), file.size(), spriteColourKey, image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{0, 255, 0, 255}));
    EXPECT_EQ(rgba(image, 2, 0), (std::vector<uint8_t>{3, 2, 1, 255}));
    EXPECT_EQ(rgba(image, 0, 1), (std::vector<uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(rgba(image, 1, 1), (std::vector<uint8_t>{0, 0, 0, 0})); // (255, 0, 128) is keyed out
    EXPECT_EQ(rgba(image, 2, 1), (std::vector<uint8_t>{255, 255, 255, 255}));

    ASSERT_TRUE(decodeBmp(file.data(), file.size(), noColourKey, image));
    EXPECT_EQ(rgba(image, 1, 1), (std::vector<uint8_t>{255, 0, 128, 255})); // backgrounds keep it
}

TEST(BmpDecoder, Reads32BitPixelsAsOpaqueAndANegativeHeightTopDown)
{
    std::vector<uint8_t> rows = {10, 20, 30, 0,  40, 50, 60, 7, 70, 80, 90, 255, // 3 × 4 bytes, no padding
                                 1,  2,  3,  99, 4,  5,  6,  0, 7,  8,  9,  1};
    for (int32_t height : {2, -2}) {
        int top = height < 0 ? 0 : 1; // the output row of the first stored row
        auto file = bmp(3, height, 32, rows);
        ImageBuffer image;
        ASSERT_TRUE(decodeBmp(file.data(), file.size(), noColourKey, image));
        ASSERT_EQ(image.height, 2);
        EXPECT_EQ(rgba(image, 0, top), (std::vector<uint8_t>{30, 20, 10, 255})) << height;
        EXPECT_EQ(rgba(image, 1, top), (std::vector<uint8_t>{60, 50, 40, 255})) << height;
        EXPECT_EQ(rgba(image, 2, 1 - top), (std::vector<uint8_t>{9, 8, 7, 255})) << height;
    }
}

TEST(BmpDecoder, Reads8BitPixelsThroughTheColourTableAfterTheHeaderAndIndicesPastItAsBlack)
{
    std::vector<uint8_t> rows = {0, 1, 5, 0}; // one row: 3 indices + padding
    for (uint32_t headerSize : {40u, 108u, 124u}) {
        auto file = bmp(3, 1, 8, rows, {0x00FF0000, 0x000000FF}, headerSize);
        ImageBuffer image;
        ASSERT_TRUE(decodeBmp(file.data(), file.size(), fontColourKey, image)) << headerSize;
        EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{255, 0, 0, 255})) << headerSize;
        EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{0, 0, 255, 255})) << headerSize;
        EXPECT_EQ(rgba(image, 2, 0), (std::vector<uint8_t>{0, 0, 0, 0})) << headerSize; // black, the font key
    }
}

TEST(BmpDecoder, RejectsOtherBitCountsAndDamagedOrForgedHeaders)
{
    ImageBuffer image;
    auto reject = [&](std::vector<uint8_t> file, const char* why) {
        image.width = 5; // a failed decode leaves the image empty
        EXPECT_FALSE(decodeBmp(file.data(), file.size(), noColourKey, image)) << why;
        EXPECT_EQ(image.width, 0) << why;
        EXPECT_TRUE(image.pixels.empty()) << why;
    };
    std::vector<uint8_t> row24 = {1, 2, 3, 0};
    reject(bmp(1, 1, 16, row24), "16 bits per pixel");
    reject(bmp(1, 1, 4, row24), "4 bits per pixel");
    reject(bmp(1, 1, 1, row24), "1 bit per pixel");

    auto good = bmp(2, 2, 24, std::vector<uint8_t>(16, 9));
    ASSERT_TRUE(decodeBmp(good.data(), good.size(), noColourKey, image));
    reject(std::vector<uint8_t>(good.begin(), good.end() - 1), "pixel block one byte short");
    reject(std::vector<uint8_t>(good.begin(), good.begin() + 13), "file header cut");
    reject(std::vector<uint8_t>(good.begin(), good.begin() + 40), "info header cut");
    auto notBm = good;
    notBm[1] = 'X';
    reject(notBm, "no BM");
    auto offsetPastEnd = good;
    testimages::putLe(offsetPastEnd, 10, 0x7FFFFFF0, 4);
    reject(offsetPastEnd, "pixel offset past the end");
    auto offsetInHeader = good;
    testimages::putLe(offsetInHeader, 10, 20, 4);
    reject(offsetInHeader, "pixel offset inside the info header");
    reject(bmp(0, 2, 24, {}), "zero width");
    reject(bmp(2, 0, 24, {}), "zero height");
    reject(bmp(-2, 2, 24, std::vector<uint8_t>(16, 9)), "negative width");
    reject(bmp(2, INT32_MIN, 24, std::vector<uint8_t>(16, 9)), "height without an absolute value");
    reject(bmp(0x40000000, 0x40000000, 24, std::vector<uint8_t>(16, 9)), "huge size, little data");
    reject(bmp(70000, 1, 8, std::vector<uint8_t>(70000, 0)), "wider than any picture");
}

TEST_F(TempFolder, BmpFilesAreReadFromDiskAndMissingFilesFail)
{
    ImageBuffer image;
    EXPECT_FALSE(readBmp(file("missing.bmp").c_str(), noColourKey, image));
    ASSERT_TRUE(testimages::writeFile(file("a.bmp"), bmp(1, 1, 24, {7, 8, 9, 0})));
    ASSERT_TRUE(readBmp(file("a.bmp").c_str(), noColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{9, 8, 7, 255}));
}

TEST_F(TempFolder, PngGrayRgbAndRgbaBecomeRgbaAndOnlyRgbTakesTheKey)
{
    ImageBuffer image;
    ASSERT_TRUE(testimages::png(file("gray.png"), 2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0, 200}}));
    ASSERT_TRUE(readPng(file("gray.png").c_str(), fontColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{0, 0, 0, 255})); // gray is never keyed
    EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{200, 200, 200, 255}));

    ASSERT_TRUE(testimages::png(file("rgb.png"), 2, 2, PNG_COLOR_TYPE_RGB, 8,
                                {{255, 0, 128, 1, 2, 3}, {4, 5, 6, 7, 8, 9}}));
    ASSERT_TRUE(readPng(file("rgb.png").c_str(), spriteColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{1, 2, 3, 255}));
    EXPECT_EQ(rgba(image, 0, 1), (std::vector<uint8_t>{4, 5, 6, 255})); // rows top first

    ASSERT_TRUE(testimages::png(file("rgba.png"), 1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{255, 0, 128, 77}}));
    ASSERT_TRUE(readPng(file("rgba.png").c_str(), spriteColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{255, 0, 128, 77}));
}

TEST_F(TempFolder, PngPalettesLowDepthsAndSixteenBitSamplesAreExpandedOrStripped)
{
    ImageBuffer image;
    ASSERT_TRUE(testimages::png(file("palette.png"), 2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{1, 0}},
                                {{10, 20, 30}, {255, 0, 128}}));
    ASSERT_TRUE(readPng(file("palette.png").c_str(), spriteColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{10, 20, 30, 255}));

    // A palette with transparency becomes RGBA and keeps its own alpha.
    ASSERT_TRUE(testimages::png(file("trns.png"), 2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}},
                                {{10, 20, 30}, {40, 50, 60}}, {100}));
    ASSERT_TRUE(readPng(file("trns.png").c_str(), noColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{10, 20, 30, 100}));
    EXPECT_EQ(rgba(image, 1, 0), (std::vector<uint8_t>{40, 50, 60, 255}));

    ASSERT_TRUE(testimages::png(file("gray2.png"), 4, 1, PNG_COLOR_TYPE_GRAY, 2, {{0b00011011}}));
    ASSERT_TRUE(readPng(file("gray2.png").c_str(), noColourKey, image));
    ASSERT_EQ(image.width, 4);
    EXPECT_EQ(image.pixel(0, 0)[0], 0);
    EXPECT_EQ(image.pixel(1, 0)[0], 85);
    EXPECT_EQ(image.pixel(3, 0)[0], 255);

    ASSERT_TRUE(testimages::png(file("rgb16.png"), 1, 1, PNG_COLOR_TYPE_RGB, 16,
                                {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF}}));
    ASSERT_TRUE(readPng(file("rgb16.png").c_str(), noColourKey, image));
    EXPECT_EQ(rgba(image, 0, 0), (std::vector<uint8_t>{0x12, 0xAB, 0xFF, 255}));
}

TEST_F(TempFolder, PngGrayWithAlphaIsRefusedAndDamagedFilesFail)
{
    ImageBuffer image;
    ASSERT_TRUE(testimages::png(file("ga.png"), 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{9, 200}}));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(readPng(file("ga.png").c_str(), noColourKey, image));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "two channels fail without a message";
    EXPECT_EQ(image.width, 0);

    ASSERT_TRUE(testimages::png(file("ok.png"), 8, 8, PNG_COLOR_TYPE_RGB, 8,
                                std::vector<std::vector<uint8_t>>(8, std::vector<uint8_t>(24, 7))));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(file("ok.png").c_str(), bytes, 1 << 20));
    for (size_t cut : {size_t(0), size_t(8), size_t(30), bytes.size() - 13}) {
        ImageBuffer partial;
        EXPECT_FALSE(decodePng(bytes.data(), cut, "cut.png", noColourKey, partial)) << "cut at " << cut;
        EXPECT_TRUE(partial.pixels.empty());
    }
    EXPECT_FALSE(readPng(file("missing.png").c_str(), noColourKey, image));
    // A BMP is not a PNG.
    auto bmpFile = bmp(1, 1, 24, {1, 2, 3, 0});
    EXPECT_FALSE(decodePng(bmpFile.data(), bmpFile.size(), "x.bmp", noColourKey, image));
}
