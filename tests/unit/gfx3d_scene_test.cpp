// The 3D scene without a display: projection, placement order, lights and fog, frame choice, the
// visibility test, objects built from vertices, and projecting points to the screen and back.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "runtime/gfx3d/mesh_drawing.h"
#include "runtime/gfx3d/object_building.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/gfx3d/scene_lighting.h"
#include "runtime/gfx3d/transform_stack.h"

using namespace rt;

namespace {

constexpr float pi = 3.14159265f;

void expectPoint(Vec3 got, Vec3 want, float tolerance = 1e-4f)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

} // namespace

TEST(SceneProjection, PerspectiveAndOrthographicBoxesAndTheCullingCap)
{
    // Element (1, 1) is near / half height for the perspective box, 1 / half height for the other.
    SceneProjection perspective = sceneProjection(2, 500, 60, 320, 240);
    EXPECT_NEAR(perspective.halfHeight, 2 * std::tan(pi / 6), 1e-5);
    EXPECT_NEAR(perspective.matrix[5], 2 / perspective.halfHeight, 1e-4);
    EXPECT_NEAR(perspective.matrix[0], perspective.matrix[5] * 240 / 320, 1e-4);
    SceneProjection orthographic = sceneProjection(2, 500, -60, 320, 240);
    EXPECT_NEAR(orthographic.halfHeight, 100 * 2 * std::tan(pi / 6), 1e-3);
    EXPECT_NEAR(orthographic.matrix[5], 1 / orthographic.halfHeight, 1e-7);
    EXPECT_EQ(orthographic.matrix[15], 1) << "an orthographic box has no perspective divide";

    const float cap = std::tan(1.553343f);
    const struct
    {
        float angle, tangent;
    } cases[] = {
        {30, std::tan(35 * pi / 180)}, {84, std::tan(89 * pi / 180)}, {85, cap}, {150, cap}, {-60, cap}};
    for (const auto& c : cases)
        EXPECT_NEAR(sceneProjection(1, 100, c.angle, 320, 240).cullingTangent, c.tangent, c.tangent * 1e-4)
            << "view angle " << c.angle;
}

TEST(TransformStack, LevelsApplyMatricesTranslationRotationsLastFirstAndScale)
{
    TransformStack stack;
    TransformLevel& level = stack.levels[0];
    setLevelScale(level, 2, 1, 1);
    setLevelTranslation(level, 10, 0, 0); // a translation keeps the scale
    addLevelRotation(level, 90, 0, 0, 1);
    addLevelRotation(level, 90, 1, 0, 0);
    addLevelMatrix(level, translationMatrix(0, 5, 0));
    // (1, 0, 0): scaled (2, 0, 0), first rotation (0, 2, 0), second (0, 0, 2), translated, matrix.
    expectPoint(transformPoint(placementMatrix(stack), {1, 0, 0}), {10, 5, 2});
    // The rigid part leaves the scale out.
    expectPoint(transformPoint(rigidPlacementMatrix(stack), {1, 0, 0}), {10, 5, 1});

    ASSERT_TRUE(pushLevel(stack));
    setLevelScale(currentLevel(stack), 3, 3, 3); // the inner level acts on the point first
    expectPoint(transformPoint(placementMatrix(stack), {1, 0, 0}), {10, 5, 6});

    // A translation after a rotation on the same level drops the rotation (and keeps the scale).
    addLevelRotation(currentLevel(stack), 90, 0, 1, 0);
    setLevelTranslation(currentLevel(stack), 0, 0, 0);
    expectPoint(transformPoint(levelMatrix(currentLevel(stack)), {1, 0, 0}), {3, 0, 0});

    for (int i = 0; i < 20; ++i)
        pushLevel(stack);
    EXPECT_EQ(stack.depth, transformLevelCount - 1);
    for (int i = 0; i < 20; ++i)
        popLevel(stack);
    EXPECT_EQ(stack.depth, 0);
}

TEST(SceneLighting, ConesLightKindsLightingAndFog)
{
    uint8_t lights = 0;
    EXPECT_EQ(planLight(lights, 2, 0xFFFFFF, {1, 2, 3}, {0, 0, -1}, 30).kind, LightKind::spot);
    EXPECT_EQ(planLight(lights, 13, 0xFFFFFF, {1, 2, 3}, {0, 0, 0}, 120).kind, LightKind::point);
    EXPECT_EQ(lights, (1 << 2) | (1 << 5)) << "light 13 is light 5";
    LightSetting directional = planLight(lights, 5, 0x0000FF, {0, 0, 0}, {0, -2, 0}, 180);
    EXPECT_EQ(directional.kind, LightKind::directional);
    EXPECT_EQ(directional.position[1], 1);
    EXPECT_EQ(directional.position[3], 0);
    EXPECT_EQ(directional.diffuse[0], 1);
    EXPECT_EQ(directional.diffuse[2], 0);
    EXPECT_EQ(planLight(lights, 5, 0, {0, 0, 0}, {0, 0, 0}, 180).kind, LightKind::cameraFixed);

    EXPECT_TRUE(planLight(lights, 2, 0, {}, {}, 0).lightingOn) << "light 5 is still on";
    LightSetting last = planLight(lights, 5, 0, {}, {}, 0);
    EXPECT_EQ(last.kind, LightKind::off);
    EXPECT_FALSE(last.lightingOn);

    FogSetting fog = planFog(0x336699, false, 0, 0, 2, 700);
    EXPECT_TRUE(fog.on);
    EXPECT_EQ(fog.start, 2);
    EXPECT_EQ(fog.end, 700);
    EXPECT_FLOAT_EQ(fog.colour[2], 0x33 / 255.0f);
    EXPECT_EQ(planFog(0, true, 0.25f, 0, 2, 700).density, 0.25f);
    EXPECT_FALSE(planFog(-1, false, 10, 20, 2, 700).on);

    EXPECT_EQ(cullingModeFor(0.3), 1);
    EXPECT_EQ(cullingModeFor(-7), -1);
    EXPECT_EQ(cullingModeFor(std::nan("")), 0);
}

TEST(MeshDrawing, FrameChoiceAndVisibility)
{
    const struct
    {
        int a, b;
        float t;
        bool animate;
        FrameChoice want;
    } cases[] = {
        {0, 3, 0.5f, false, {0, 3, 0.5f}},  {0, 3, 0.5f, true, {1, 2, 0.5f}},
        {0, 3, 1.25f, true, {0, 1, 0.75f}}, {0, 3, -0.5f, true, {1, 2, 0.5f}},
        {9, -2, 0.5f, false, {3, 0, 0.5f}}, {2, 2, 0.7f, true, {2, 2, 0}},
        {1, 2, NAN, false, {1, 2, 0}},      {INT_MAX, INT_MAX, 0.5f, true, {3, 3, 0}},
    };
    for (const auto& c : cases) {
        FrameChoice got = chooseFrames(4, c.a, c.b, c.t, c.animate);
        EXPECT_EQ(got.first, c.want.first) << c.a << " " << c.b << " " << c.t;
        EXPECT_EQ(got.second, c.want.second) << c.a << " " << c.b << " " << c.t;
        EXPECT_NEAR(got.fraction, c.want.fraction, 1e-6) << c.a << " " << c.b << " " << c.t;
    }

    const Vec3 eye{0, 0, 0}, target{0, 0, -10};
    const float tangent = std::tan(35 * pi / 180);
    EXPECT_TRUE(sphereInView({0, 0, -50}, 1, eye, target, tangent));
    EXPECT_TRUE(sphereInView({30, 0, -50}, 1, eye, target, tangent));
    EXPECT_FALSE(sphereInView({45, 0, -50}, 1, eye, target, tangent));
    EXPECT_FALSE(sphereInView({0, 0, 50}, 10, eye, target, tangent)) << "behind the camera";
    EXPECT_TRUE(sphereInView({0, 0, 5}, 10, eye, target, tangent)) << "the eye is inside the sphere";
    EXPECT_TRUE(sphereInView({0, 0, 5}, 1, eye, eye, tangent)) << "no view axis";
}

TEST(ObjectBuilding, StripsNormalsAndObjectsTooSmallToDraw)
{
    ObjectSlot object;
    startBuilding(object);
    addBuildStrip(object);
    // A strip of four vertices facing +z: two triangles.
    const float corners[4][2] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
    for (const auto& c : corners)
        addBuildVertex(object, c[0], c[1], 0, 0, 0, 0xFFFFFFFFu);
    finishBuilding(object, normalsSmoothed);
    ASSERT_TRUE(object.loaded);
    const std::vector<MeshVertex>& triangles = object.meshes[0].frames[0].triangles;
    ASSERT_EQ(triangles.size(), 6u) << "a colour of -1 is white, not a new primitive";
    for (const MeshVertex& vertex : triangles) {
        EXPECT_NEAR(vertex.normal[2], 1, 1e-5);
        EXPECT_EQ(vertex.red, 1);
    }
    EXPECT_NEAR(triangles[5].position[0], 10, 1e-4);

    startBuilding(object);
    addBuildVertex(object, 1, 2, 3, 0, 0, 0xFF);
    addBuildVertex(object, 4, 5, 6, 0, 0, 0xFF);
    finishBuilding(object, normalsPerRecord);
    EXPECT_TRUE(object.loaded);
    EXPECT_TRUE(object.meshes[0].frames.empty()) << "two vertices make no object";
}

TEST(ScreenMapping, CameraLookingAlongItsUpVectorStillSeesTheScene)
{
    Matrix4 projection = sceneProjection(1, 100, 60, 320, 240).matrix;
    Viewport viewport{0, 0, 320, 240};
    for (Vec3 eye : {Vec3{0, 10, 0}, Vec3{0, -10, 0}}) {
        Matrix4 view = lookAtMatrix(eye, {0, 0, 0}, {0, 1, 0});
        double screen[3];
        ASSERT_TRUE(projectToScreen(view, projection, viewport, 240, {0, 0, 0}, screen));
        EXPECT_NEAR(screen[0], 160, 1e-3);
        EXPECT_NEAR(screen[1], 120, 1e-3);
        // A point beside the target lands beside the middle: the scene is not flattened to a dot.
        ASSERT_TRUE(projectToScreen(view, projection, viewport, 240, {2, 0, 0}, screen));
        EXPECT_GT(std::fabs(screen[0] - 160) + std::fabs(screen[1] - 120), 5);
    }
}

TEST(ScreenMapping, ProjectingAndUnprojectingRoundTrip)
{
    Matrix4 view = lookAtMatrix({3, 4, 20}, {0, 1, 0}, {0, 1, 0});
    Matrix4 projection = sceneProjection(1, 100, 60, 320, 240).matrix;
    Viewport viewport{0, 0, 320, 240};
    double screen[3], world[3];
    ASSERT_TRUE(projectToScreen(view, projection, viewport, 240, {0, 1, 0}, screen));
    EXPECT_NEAR(screen[0], 160, 1e-3) << "the target lands in the middle";
    EXPECT_NEAR(screen[1], 120, 1e-3);
    for (Vec3 p : {Vec3{0, 1, 0}, Vec3{-5, 3, 2}, Vec3{4, -2, -30}}) {
        ASSERT_TRUE(projectToScreen(view, projection, viewport, 240, p, screen));
        // Rows count from 0 at the top: the window row of a projected y is the screen row y - 1.
        ASSERT_TRUE(
            unprojectFromScreen(view, projection, viewport, 240, screen[0], screen[1] - 1, screen[2], world));
        expectPoint({float(world[0]), float(world[1]), float(world[2])}, p, 2e-3f);
    }
    Matrix4 flat = scaleMatrix(1, 0, 1);
    world[0] = 7;
    EXPECT_FALSE(unprojectFromScreen(flat, projection, viewport, 240, 10, 10, 0.5, world));
    EXPECT_EQ(world[0], 7) << "a failed mapping leaves its outputs";
}
