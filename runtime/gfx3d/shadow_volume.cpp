// Shadow volumes of a triangle list: which triangles meet across each edge, which face the light, where
// the silhouette runs and the corners of the volume it casts.
#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include "runtime/gfx3d/effect_light_math.h"

namespace rt {
namespace {

Vec3 cornerPosition(const MeshVertex& vertex)
{
    return {vertex.position[0], vertex.position[1], vertex.position[2]};
}

void push(std::vector<float>& out, Vec3 v, float w)
{
    out.insert(out.end(), {v.x, v.y, v.z, w});
}

} // namespace

std::vector<int32_t> buildEdgeNeighbours(const std::vector<MeshVertex>& triangles)
{
    size_t triangleCount = triangles.size() / 3;
    // Each corner as the number of its position, so corners at one place meet whatever else differs.
    std::map<std::array<uint32_t, 3>, uint32_t> positionNumbers;
    std::vector<uint32_t> corner(triangleCount * 3);
    for (size_t i = 0; i < corner.size(); ++i) {
        std::array<uint32_t, 3> bits;
        std::memcpy(bits.data(), triangles[i].position, sizeof bits);
        corner[i] = positionNumbers.emplace(bits, uint32_t(positionNumbers.size())).first->second;
    }
    auto edgeKey = [](uint32_t from, uint32_t to) { return uint64_t(from) << 32 | to; };
    // The first triangle that runs along each directed edge.
    std::map<uint64_t, int32_t> edgeOwner;
    for (size_t t = 0; t < triangleCount; ++t)
        for (size_t e = 0; e < 3; ++e)
            edgeOwner.emplace(edgeKey(corner[t * 3 + e], corner[t * 3 + (e + 1) % 3]), int32_t(t));

    std::vector<int32_t> neighbours(triangleCount * 3, -1);
    for (size_t t = 0; t < triangleCount; ++t)
        for (size_t e = 0; e < 3; ++e) {
            uint32_t from = corner[t * 3 + e], to = corner[t * 3 + (e + 1) % 3];
            if (from == to) continue;
            auto across = edgeOwner.find(edgeKey(to, from));
            if (across != edgeOwner.end()) neighbours[t * 3 + e] = across->second;
        }
    return neighbours;
}

bool triangleFacesLight(const MeshVertex* corners, Vec3 light)
{
    Vec3 p = cornerPosition(corners[0]), q = cornerPosition(corners[1]), r = cornerPosition(corners[2]);
    return dot(light - q, cross(p - q, r - q)) > 0;
}

void markFacingTriangles(const std::vector<MeshVertex>& triangles, size_t count, Vec3 light,
                         std::vector<uint8_t>& facing)
{
    size_t triangleCount = std::min(count, triangles.size()) / 3;
    facing.resize(triangleCount);
    for (size_t t = 0; t < triangleCount; ++t)
        facing[t] = triangleFacesLight(&triangles[t * 3], light) ? 1 : 0;
}

bool isSilhouetteEdge(const std::vector<int32_t>& neighbours, const std::vector<uint8_t>& facing,
                      size_t triangle, int edge)
{
    if (triangle >= facing.size() || !facing[triangle]) return false;
    size_t index = triangle * 3 + size_t(edge);
    if (index >= neighbours.size()) return true;
    int32_t across = neighbours[index];
    return across < 0 || size_t(across) >= facing.size() || !facing[size_t(across)];
}

void findSilhouetteEdges(const std::vector<int32_t>& neighbours, const std::vector<uint8_t>& facing,
                         std::vector<int32_t>& edges)
{
    edges.clear();
    for (size_t t = 0; t < facing.size(); ++t)
        for (int e = 0; e < 3; ++e)
            if (isSilhouetteEdge(neighbours, facing, t, e)) edges.push_back(int32_t(t * 3 + size_t(e)));
}

void buildShadowVolume(const std::vector<MeshVertex>& triangles, size_t count,
                       const std::vector<int32_t>& neighbours, Vec3 light, std::vector<uint8_t>& facing,
                       std::vector<float>& quads, std::vector<float>& caps)
{
    markFacingTriangles(triangles, count, light, facing);
    quads.clear();
    caps.clear();
    for (size_t t = 0; t < facing.size(); ++t) {
        const MeshVertex* corners = &triangles[t * 3];
        for (int e = 0; e < 3; ++e) {
            if (!isSilhouetteEdge(neighbours, facing, t, e)) continue;
            Vec3 a = cornerPosition(corners[e]), b = cornerPosition(corners[(e + 1) % 3]);
            push(quads, b, 1);
            push(quads, a, 1);
            push(quads, a - light, 0);
            push(quads, b - light, 0);
        }
        for (int c = 0; c < 3; ++c) {
            Vec3 v = cornerPosition(corners[c]);
            if (facing[t])
                push(caps, v, 1);
            else
                push(caps, v - light, 0);
        }
    }
}

} // namespace rt
