// Tangent vectors of a mesh and the light vector packed into each vertex's colour for bump mapping.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>

#include "runtime/gfx3d/effect_light_math.h"

namespace rt {
namespace {

Vec3 load(const float* v)
{
    return {v[0], v[1], v[2]};
}

void store(Vec3 v, float* out)
{
    out[0] = v.x, out[1] = v.y, out[2] = v.z;
}

// Corners that are the same vertex of the surface: same bits of position, normal and texture
// coordinate.
using CornerKey = std::array<uint32_t, 8>;

CornerKey cornerKey(const MeshVertex& vertex)
{
    float fields[8] = {vertex.position[0], vertex.position[1], vertex.position[2], vertex.normal[0],
                       vertex.normal[1],   vertex.normal[2],   vertex.u,           vertex.v};
    CornerKey key;
    std::memcpy(key.data(), fields, sizeof fields);
    return key;
}

// The triangle's directions of growing u and of falling v; false when its texture coordinates span no
// area.
bool triangleDirections(const MeshVertex* corner, Vec3& alongU, Vec3& againstV)
{
    Vec3 edge1 = load(corner[1].position) - load(corner[0].position);
    Vec3 edge2 = load(corner[2].position) - load(corner[0].position);
    float du1 = corner[1].u - corner[0].u, dv1 = corner[1].v - corner[0].v;
    float du2 = corner[2].u - corner[0].u, dv2 = corner[2].v - corner[0].v;
    float determinant = du1 * dv2 - du2 * dv1;
    if (!(std::fabs(determinant) > 1e-12f)) return false;
    float r = 1 / determinant;
    alongU = (edge1 * dv2 - edge2 * dv1) * r;
    againstV = (edge1 * du2 - edge2 * du1) * r; // minus the direction of growing v
    return true;
}

Vec3 withoutPart(Vec3 v, Vec3 along)
{
    return v - along * dot(v, along);
}

bool usable(Vec3 v)
{
    return dot(v, v) > 1e-12f;
}

// Some direction perpendicular to n.
Vec3 anyPerpendicular(Vec3 n)
{
    return std::fabs(n.x) < 0.9f ? cross(n, {1, 0, 0}) : cross(n, {0, 1, 0});
}

} // namespace

void computeTangents(std::vector<MeshVertex>& triangles)
{
    size_t count = triangles.size() - triangles.size() % 3;
    std::map<CornerKey, size_t> groupOf;
    std::vector<size_t> group(count);
    for (size_t i = 0; i < count; ++i)
        group[i] = groupOf.emplace(cornerKey(triangles[i]), groupOf.size()).first->second;

    std::vector<Vec3> sumU(groupOf.size()), sumV(groupOf.size());
    for (size_t t = 0; t < count; t += 3) {
        Vec3 alongU, againstV;
        if (!triangleDirections(&triangles[t], alongU, againstV)) continue;
        for (size_t c = t; c < t + 3; ++c) {
            sumU[group[c]] = sumU[group[c]] + alongU;
            sumV[group[c]] = sumV[group[c]] + againstV;
        }
    }

    for (size_t i = 0; i < count; ++i) {
        MeshVertex& vertex = triangles[i];
        Vec3 n = normalised(load(vertex.normal));
        Vec3 a = withoutPart(sumU[group[i]], n);
        if (!usable(a)) a = anyPerpendicular(n);
        a = normalised(a);
        Vec3 b = withoutPart(withoutPart(sumV[group[i]], n), a);
        if (!usable(b)) b = cross(n, a);
        store(a, vertex.auxA);
        store(normalised(b), vertex.auxB);
    }
}

void fillLightVectors(std::vector<MeshVertex>& vertices, size_t count, Vec3 light)
{
    count = std::min(count, vertices.size());
    for (size_t i = 0; i < count; ++i) {
        MeshVertex& vertex = vertices[i];
        Vec3 toLight = normalised(light - load(vertex.position));
        vertex.lightVector[0] = dot(load(vertex.auxA), toLight) * 0.5f + 0.5f;
        vertex.lightVector[1] = dot(load(vertex.auxB), toLight) * 0.5f + 0.5f;
        vertex.lightVector[2] = dot(load(vertex.normal), toLight) * 0.5f + 0.5f;
    }
}

} // namespace rt
