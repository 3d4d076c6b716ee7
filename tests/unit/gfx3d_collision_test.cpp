// Collision tests against brute force: random triangles against spheres, boxes and rays, each compared
// with a dense sampling of the triangle (or a second way of solving for the ray).
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "runtime/gfx3d/collision.h"

using namespace rt;

namespace {

struct RandomScene
{
    std::mt19937 random{1234};
    std::uniform_real_distribution<float> coordinate{-5, 5};
    Vec3 point() { return {coordinate(random), coordinate(random), coordinate(random)}; }
};

// Points spread over the triangle, corners and edges included.
template <class Visit> void sampleTriangle(Vec3 a, Vec3 b, Vec3 c, Visit visit)
{
    constexpr int steps = 120;
    for (int i = 0; i <= steps; ++i)
        for (int j = 0; j <= steps - i; ++j)
            visit(a + (b - a) * (float(i) / steps) + (c - a) * (float(j) / steps));
}

float longestEdge(Vec3 a, Vec3 b, Vec3 c)
{
    auto length = [](Vec3 v) { return std::sqrt(dot(v, v)); };
    return std::fmax(length(b - a), std::fmax(length(c - b), length(a - c)));
}

} // namespace

TEST(Collision, SphereAndBoxAgreeWithSampledTriangles)
{
    RandomScene scene;
    int hits = 0, checked = 0;
    for (int round = 0; round < 300; ++round) {
        Vec3 a = scene.point(), b = scene.point(), c = scene.point(), centre = scene.point();
        float radius = 0.5f + std::fabs(scene.coordinate(scene.random)) * 0.6f;
        float margin = longestEdge(a, b, c) / 120; // the sampling's spacing

        float nearest = 1e9f;
        sampleTriangle(a, b, c,
                       [&](Vec3 p) { nearest = std::fmin(nearest, std::sqrt(dot(p - centre, p - centre))); });
        bool sphere = sphereTouchesTriangle(centre, radius, a, b, c);
        if (nearest < radius - 1e-3f) {
            EXPECT_TRUE(sphere) << "round " << round;
        }
        if (nearest > radius + margin) {
            EXPECT_FALSE(sphere) << "round " << round;
        }

        // A box turned about z by a random angle, so its axes are not the world's.
        float turn = scene.coordinate(scene.random), cosine = std::cos(turn), sine = std::sin(turn);
        Vec3 axes[3] = {
            Vec3{cosine, sine, 0} * radius, Vec3{-sine, cosine, 0} * (radius * 0.5f), {0, 0, radius}};
        float deepest = 1e9f; // how far the sampled point nearest to inside lies outside (negative: inside)
        sampleTriangle(a, b, c, [&](Vec3 p) {
            float outside = -1e9f;
            for (const Vec3& axis : axes) {
                float extent = std::sqrt(dot(axis, axis));
                outside = std::fmax(outside, std::fabs(dot(p - centre, axis) / extent) - extent);
            }
            deepest = std::fmin(deepest, outside);
        });
        bool box = boxTouchesTriangle(centre, axes, a, b, c);
        if (deepest < -1e-3f) {
            EXPECT_TRUE(box) << "round " << round;
        }
        if (deepest > margin) {
            EXPECT_FALSE(box) << "round " << round;
        }
        hits += sphere + box;
        checked += 2;
    }
    EXPECT_GT(hits, checked / 10) << "the random cases should hit as well as miss";
    EXPECT_LT(hits, checked * 9 / 10);
}

TEST(Collision, RayParametersAgreeWithThePlaneIntersection)
{
    RandomScene scene;
    int hits = 0;
    for (int round = 0; round < 1000; ++round) {
        Vec3 a = scene.point(), b = scene.point(), c = scene.point(), origin = scene.point() * 2;
        // Aimed near the triangle's middle, so that about half the rays hit.
        Vec3 direction = (a + b + c) * (1.0f / 3) + scene.point() * 0.5f - origin;
        // The plane's crossing point and its position relative to the three edges, in doubles.
        Vec3 normal = cross(b - a, c - a);
        double facing = dot(normal, direction);
        if (std::fabs(facing) < 1e-3) continue;
        double t = dot(normal, a - origin) / facing;
        Vec3 p = origin + direction * float(t);
        double s0 = dot(cross(b - a, p - a), normal), s1 = dot(cross(c - b, p - b), normal),
               s2 = dot(cross(a - c, p - c), normal);
        double least = std::fmin(s0, std::fmin(s1, s2)) / dot(normal, normal);
        std::optional<float> got = rayHitsTriangle(origin, direction, a, b, c);
        if (least > 1e-3) {
            ASSERT_TRUE(got.has_value()) << "round " << round;
            EXPECT_NEAR(*got, t, 1e-3 * std::fmax(1.0, std::fabs(t))) << "round " << round;
            ++hits;
        } else if (least < -1e-3) {
            EXPECT_FALSE(got.has_value()) << "round " << round;
        }
    }
    EXPECT_GT(hits, 200);

    EXPECT_EQ(nearerHit(0, -2), -2);
    EXPECT_EQ(nearerHit(-2, -1), -1);
    EXPECT_EQ(nearerHit(-1, 3), 3);
    EXPECT_EQ(nearerHit(3, 5), 3);
    EXPECT_EQ(nearerHit(3, 0), 3);
}

TEST(Collision, ObjectsArePlacedByTheRigidTransformAndBadFramesNeverHit)
{
    ObjectSlot object;
    object.loaded = true;
    object.meshes.resize(1);
    MeshFrame& frame = object.meshes[0].frames.emplace_back();
    // One triangle in the z = 0 plane around the origin.
    const float corners[3][3] = {{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}};
    for (const auto& c : corners) {
        MeshVertex& vertex = frame.triangles.emplace_back();
        std::copy(c, c + 3, vertex.position);
    }
    frame.boundingRadius = 1.5f;

    Matrix4 placed = multiply(translationMatrix(0, 0, -10), rotationMatrix(90, 0, 1, 0));
    // Turned about y, the triangle lies in the x = 0 plane at z = -10.
    EXPECT_TRUE(objectHitsSphere(object, 0, placed, {0.2f, 0, -10}, 0.3f));
    EXPECT_FALSE(objectHitsSphere(object, 0, placed, {0.4f, 0, -10}, 0.3f));
    EXPECT_FALSE(objectHitsSphere(object, 1, placed, {0, 0, -10}, 1)) << "no frame 1";
    EXPECT_FALSE(objectHitsSphere(object, -1, placed, {0, 0, -10}, 1));
    EXPECT_NEAR(objectRayParameter(object, 0, placed, {-4, 0, -10}, {2, 0, 0}), 2, 1e-5);
    const Vec3 axes[3] = {{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}};
    EXPECT_TRUE(objectHitsBox(object, 0, placed, {0.4f, 0, -10}, axes));
    EXPECT_FALSE(objectHitsBox(object, 0, placed, {0.6f, 0, -10}, axes));
    frame.triangles.resize(2);
    EXPECT_FALSE(objectHitsBox(object, 0, placed, {0, 0, -10}, axes)) << "fewer than three vertices";
}
