// The effect light's per-vertex work without a display: the shading ramp, tangent vectors and packed
// light vectors, edge neighbours, silhouettes and shadow volume corners.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "runtime/gfx3d/effect_light_math.h"

using namespace rt;

namespace {

MeshVertex corner(Vec3 p, float u = 0, float v = 0, Vec3 n = {0, 0, 1})
{
    MeshVertex vertex;
    vertex.position[0] = p.x, vertex.position[1] = p.y, vertex.position[2] = p.z;
    vertex.normal[0] = n.x, vertex.normal[1] = n.y, vertex.normal[2] = n.z;
    vertex.u = u, vertex.v = v;
    return vertex;
}

// The cube -1..1 as 12 triangles wound counter-clockwise seen from outside.
std::vector<MeshVertex> cube()
{
    std::vector<MeshVertex> triangles;
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-1.0f, 1.0f}) {
            int a = (axis + 1) % 3, b = (axis + 2) % 3;
            auto at = [&](float s, float t) {
                float p[3];
                p[axis] = side, p[a] = s, p[b] = t;
                return corner({p[0], p[1], p[2]});
            };
            // Counter-clockwise about +axis; reversed on the negative side.
            MeshVertex quad[4] = {at(-1, -1), at(1, -1), at(1, 1), at(-1, 1)};
            if (side < 0) std::swap(quad[1], quad[3]);
            for (int i : {0, 1, 2, 0, 2, 3})
                triangles.push_back(quad[i]);
        }
    return triangles;
}

std::vector<uint8_t> facingOf(const std::vector<MeshVertex>& triangles, Vec3 light)
{
    std::vector<uint8_t> facing;
    markFacingTriangles(triangles, triangles.size(), light, facing);
    return facing;
}

bool near(const float* v, Vec3 want)
{
    return std::fabs(v[0] - want.x) + std::fabs(v[1] - want.y) + std::fabs(v[2] - want.z) < 1e-4f;
}

float sumOf(const float* p)
{
    return p[0] + p[1] + p[2];
}

} // namespace

TEST(ShadingRamp, RowsAndTexelsPerPaletteEntry)
{
    EXPECT_EQ(rampRowCount(0), 1);
    EXPECT_EQ(rampRowCount(3), 4);
    EXPECT_EQ(rampRowCount(4), 4);
    EXPECT_EQ(rampRowCount(200), 256);
    EXPECT_EQ(rampRowCount(100000), 32768);

    std::vector<uint32_t> palette = {0x0000FF, paletteStrip, 0x00804020};
    std::vector<uint8_t> texels = buildRampTexels(palette, 4);
    ASSERT_EQ(texels.size(), 4u * 16 * 4);
    auto texel = [&](int row, int column) { return &texels[size_t(row * 16 + column) * 4]; };
    const int ramp[16] = {100, 160, 160, 160, 160, 160, 160, 207, 255, 255, 255, 255, 255, 255, 255, 255};
    for (int column = 0; column < 16; ++column) {
        for (int greyRow : {1, 3}) // a marker entry and a row past the palette
            EXPECT_EQ(std::vector<int>(texel(greyRow, column), texel(greyRow, column) + 4),
                      (std::vector<int>{ramp[column], ramp[column], ramp[column], 255}));
        EXPECT_EQ(texel(0, column)[0], ramp[column]) << "red is the low byte";
        EXPECT_EQ(texel(0, column)[1], 0);
        EXPECT_EQ(texel(2, column)[3], 255);
    }
    EXPECT_EQ(std::vector<int>(texel(2, 0), texel(2, 0) + 3),
              (std::vector<int>{0x20 * 100 / 255, 0x40 * 100 / 255, 0x80 * 100 / 255}));
    EXPECT_EQ(std::vector<int>(texel(2, 7), texel(2, 7) + 3),
              (std::vector<int>{0x20 * 207 / 255, 0x40 * 207 / 255, 0x80 * 207 / 255}));
}

TEST(BumpMapping, TangentsOfAFlatTexturedQuadFollowItsTextureAxes)
{
    struct Case
    {
        float (*u)(float x, float y);
        float (*v)(float x, float y);
        Vec3 a, b;
    } cases[] = {
        {[](float x, float) { return x; }, [](float, float y) { return y; }, {1, 0, 0}, {0, -1, 0}},
        {[](float, float y) { return y; }, [](float x, float) { return -x; }, {0, 1, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        Vec3 p[4] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
        std::vector<MeshVertex> quad;
        for (int i : {0, 1, 2, 0, 2, 3})
            quad.push_back(corner(p[i], c.u(p[i].x, p[i].y), c.v(p[i].x, p[i].y)));
        computeTangents(quad);
        for (const MeshVertex& vertex : quad) {
            EXPECT_TRUE(near(vertex.auxA, c.a)) << vertex.auxA[0] << " " << vertex.auxA[1];
            EXPECT_TRUE(near(vertex.auxB, c.b)) << vertex.auxB[0] << " " << vertex.auxB[1];
        }
    }
}

TEST(ShadowVolumes, NeighboursOfAClosedMeshPairUpEveryEdge)
{
    std::vector<MeshVertex> triangles = cube();
    std::vector<int32_t> neighbours = buildEdgeNeighbours(triangles);
    ASSERT_EQ(neighbours.size(), 36u);
    for (size_t t = 0; t < 12; ++t)
        for (size_t e = 0; e < 3; ++e) {
            int32_t across = neighbours[t * 3 + e];
            ASSERT_GE(across, 0) << "a closed mesh has no open edge";
            EXPECT_NE(size_t(across), t);
            // The triangle across has this triangle across one of its edges.
            const int32_t* back = &neighbours[size_t(across) * 3];
            EXPECT_TRUE(std::count(back, back + 3, int32_t(t)) == 1);
        }

    // Two triangles of an open square: only the diagonal is shared.
    std::vector<MeshVertex> square(triangles.begin(), triangles.begin() + 6);
    std::vector<int32_t> open = buildEdgeNeighbours(square);
    EXPECT_EQ(std::count(open.begin(), open.end(), -1), 4);
}

TEST(ShadowVolumes, SilhouettesOfACubeLitFromACornerAndFromAboveAFace)
{
    std::vector<MeshVertex> triangles = cube();
    std::vector<int32_t> neighbours = buildEdgeNeighbours(triangles);
    std::vector<int32_t> edges;

    // Lit from a corner: exactly the six edges of the outline, the hexagon joining the corners whose
    // coordinates sum to +1 and -1.
    Vec3 light{6, 5, 4};
    findSilhouetteEdges(neighbours, facingOf(triangles, light), edges);
    ASSERT_EQ(edges.size(), 6u);
    std::set<std::pair<float, float>> seen;
    for (int32_t edge : edges) {
        const float* from = triangles[size_t(edge)].position;
        const float* to = triangles[size_t(edge - edge % 3 + (edge % 3 + 1) % 3)].position;
        EXPECT_EQ(std::fabs(sumOf(from)), 1);
        EXPECT_EQ(sumOf(from) + sumOf(to), 0);
        seen.insert({from[0] + 2 * from[1] + 4 * from[2], to[0] + 2 * to[1] + 4 * to[2]});
    }
    EXPECT_EQ(seen.size(), 6u) << "no edge twice";

    // Lit from above the top face: its four edges.
    findSilhouetteEdges(neighbours, facingOf(triangles, {0, 0, 5}), edges);
    ASSERT_EQ(edges.size(), 4u);
    for (int32_t edge : edges)
        EXPECT_EQ(triangles[size_t(edge)].position[2], 1);
}
