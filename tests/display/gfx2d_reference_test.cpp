// The fixed drawing scene of drawing_scene_host, compared byte for byte with the stored picture of it.
// Changes to how drawing reaches OpenGL must leave every pixel as it was. When a change is meant to
// alter pixels, regenerate the picture (and look at it) with
//   xvfb-run -a build/tests/hosts/drawing_scene_host --save=$PWD/tests/display/reference/drawing_scene.png
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "runtime/gfx2d/images.h"
#include "support/x_session.h"

using namespace rt;

TEST(Gfx2dReference, SceneMatchesTheStoredPictureExactly)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    std::string drawn = x.tempFolder() + "/scene.png";
    ASSERT_EQ(
        x.waitForExit(x.start(RT_BUILD_DIR "/tests/hosts/drawing_scene_host", {"--save=" + drawn}), 60000),
        0);
    ImageBuffer actual, expected;
    ASSERT_TRUE(readPng(drawn.c_str(), noColourKey, actual));
    ASSERT_TRUE(readPng(RT_SOURCE_DIR "/tests/display/reference/drawing_scene.png", noColourKey, expected));
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);

    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (memcmp(actual.pixel(x, y), expected.pixel(x, y), 4) != 0 && differing++ == 0)
                firstX = x, firstY = y;
    if (differing)
        std::filesystem::copy_file(drawn, RT_BUILD_DIR "/tests/drawing_scene_actual.png",
                                   std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(differing, 0) << "first at (" << firstX << ", " << firstY << "); the picture drawn is "
                            << RT_BUILD_DIR "/tests/drawing_scene_actual.png";
}
