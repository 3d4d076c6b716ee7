// The effect light's modes on a real X display with software OpenGL: the host draws each mode,
// compares its pixels with what it works out on the CPU and reports the counts.
#include <gtest/gtest.h>

#include "support/host_results.h"

namespace {

const std::string host = RT_BUILD_DIR "/tests/hosts/effect_light_host";

} // namespace

TEST(EffectLight, ShadowVolumesGreyExactlyTheShadowedFloorOnceAndLeaveNoStateBehind)
{
    auto v = runHostScenario(host, "shadows");
    EXPECT_GT(v["shadow.checked"], 1000);
    EXPECT_GT(v["shadow.inside"], 50) << "the scene has to show some shadow";
    EXPECT_GT(v["shadow.overlap"], 10) << "and some where both boxes block the light";
    EXPECT_EQ(v["shadow.wrong"], 0) << "lit floor 200, shadowed 164, overlapping shadows 164 too";
    EXPECT_EQ(v["stencil.nonZero"], 0);
    EXPECT_EQ(v["after.differences"], 0) << "2D drawing after the pass matches 2D drawing without it";
    EXPECT_EQ(v["viewport.drawnAfterPass"], 255) << "rtSetViewport ends the pass";
}

TEST(EffectLight, RampShadingShowsRampIntensitiesInsideABlackOutline)
{
    auto v = runHostScenario(host, "ramp");
    ASSERT_GT(v["ramp.pixels"], 1000);
    EXPECT_EQ(v["ramp.outOfRange"], 0) << "nothing darker than the ramp's darkest step";
    // Linear filtering blends neighbouring steps near each step's edge; most pixels sit on a step.
    EXPECT_GT(v["ramp.onSteps"], v["ramp.pixels"] * 0.7);
    EXPECT_EQ(v["outline.rays"], 16) << "every ray outwards crosses black between sphere and backdrop";
}

TEST(EffectLight, BumpMappingMatchesLightingOnAFlatMapAndShowsARidge)
{
    auto v = runHostScenario(host, "bump");
    EXPECT_LE(v["bump.flatWorst"], 4) << "255 × N·L of the light at each sampled floor point";
    EXPECT_GT(v["ridge.brighter"], 40);
    EXPECT_GT(v["ridge.darker"], 40);
    EXPECT_LE(v["ridge.far"], 2) << "away from the ridge the map is flat";
}
