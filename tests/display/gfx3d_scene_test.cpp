// The 3D scene on a real X display with software OpenGL: the host draws, reads its pixels back and
// reports them (packed colours red + green × 256 + blue × 65536).
#include <gtest/gtest.h>

#include <map>

#include "support/host_results.h"

namespace {

const std::string host = RT_BUILD_DIR "/tests/hosts/scene3d_host";
constexpr double black = 0, red = 0xFF, green = 0xFF00, blue = 0xFF0000, white = 0xFFFFFF;

std::map<std::string, double> runScenario(const std::string& scenario, std::string* errorLog = nullptr)
{
    return runHostScenario(host, scenario, errorLog);
}

int channel(double colour, int shift)
{
    return (int(colour) >> shift) & 0xFF;
}

} // namespace

TEST(Scene3dDrawing, PlacementDepthLightFogFramesVisibilitySpritesAndTheHandBackTo2D)
{
    auto v = runScenario("drawing");
    EXPECT_EQ(v["quad.centre"], red) << "the square lands where rtProjectPoint says";
    EXPECT_EQ(v["quad.inside"], red);
    EXPECT_EQ(v["quad.outside"], black);
    EXPECT_EQ(v["depth.overlap"], green) << "the nearer square wins though drawn first";
    EXPECT_EQ(v["depth.farOnly"], red);

    // Diffuse 192 of 255 times n.l, over the fixed pipeline's global ambient 0.2 on a white material.
    EXPECT_NEAR(v["light.head"] - v["light.at45"], 192 * (1 - 0.70710678), 2);
    EXPECT_NEAR(v["light.at45"], 0.2 * 255 + 192 * 0.70710678, 2);
    EXPECT_EQ(v["light.textured"], v["light.at45"]);
    EXPECT_EQ(v["light.off"], white) << "switching the only light off switches lighting off";
    EXPECT_GE(channel(v["fog.far"], 8), 253) << "at the far plane the fog colour covers everything";
    EXPECT_LE(channel(v["fog.far"], 0), 2);
    EXPECT_LE(channel(v["fog.far"], 16), 2);

    EXPECT_EQ(v["text.loaded"], 1);
    EXPECT_EQ(v["blend.middle"], red) << "halfway between the frames";
    EXPECT_EQ(v["blend.left"], black);
    EXPECT_EQ(v["blend.right"], black);
    EXPECT_EQ(v["frame0.left"], red);
    EXPECT_EQ(v["behind.primitives"], 0) << "an object behind the camera is not sent to GL";
    EXPECT_EQ(v["front.primitives"], 2);

    EXPECT_EQ(v["sprite.facing"], red);
    EXPECT_GT(v["text.pixels"], 10);
    EXPECT_EQ(v["after3d.drawn"], 1);
    EXPECT_EQ(v["after3d.differences"], 0) << "2D drawing after rtEnd3D matches 2D drawing without 3D";
    EXPECT_EQ(v["after3d.objectFilterLinear"], 1);
}

TEST(Scene3dDrawing, MeshFilesArchivesShadersAndBadInput)
{
    std::string errorLog;
    auto v = runScenario("loading", &errorLog);
    EXPECT_EQ(v["binary.saved"], 1);
    EXPECT_EQ(v["binary.loaded"], 1);
    EXPECT_EQ(v["binary.right"], red);
    EXPECT_EQ(v["binary.triangles"], 2);
    EXPECT_EQ(v["archive.loaded"], 1);
    EXPECT_EQ(v["archive.centre"], blue) << "the description's texture from the archive";

    EXPECT_EQ(v["shader.loaded"], 1);
    EXPECT_EQ(v["shader.broken"], 0);
    EXPECT_NEAR(channel(v["shader.colour"], 0), 64, 1);
    EXPECT_NEAR(channel(v["shader.colour"], 16), 191, 1);
    EXPECT_NE(errorLog.find("error"), std::string::npos) << "the compile log goes to the error log";

    EXPECT_EQ(v["bad.outsideLoad"], 0);
    EXPECT_EQ(v["bad.missingLoad"], 0);
    EXPECT_EQ(v["bad.emptyTriangles"], 0);
    EXPECT_EQ(v["bad.pastLastSize"], 36);
    EXPECT_EQ(v["bad.pastLastValue"], 0);
    EXPECT_EQ(v["bad.lastCornerX"], 2);
    EXPECT_EQ(v["bad.pixels"], 0);
}
