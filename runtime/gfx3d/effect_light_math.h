// The per-vertex work of the effect light's three modes, without OpenGL: the shading ramp and its
// coordinates (ramp shading), tangent vectors and the light vector packed into a colour (bump mapping),
// edge neighbours, silhouettes and the corners of shadow volumes (stencil shadows). Every position and
// light here is in the mesh's own space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/scene_math.h"

namespace rt {

// ---------------------------------------------------------------------------------------------
// Ramp shading
// ---------------------------------------------------------------------------------------------

constexpr int rampWidth = 16;
constexpr int maxRampRows = 32768;
// Light intensities of the ramp from dark to bright: 100, 160 six times, 207, 255 eight times.
extern const uint8_t rampIntensities[rampWidth];

// Rows of a ramp for a palette of this many entries: the count rounded up to a power of two, 1 to
// 32768.
int rampRowCount(size_t paletteEntries);
// RGBA texels, rows × 16, row r for palette entry r: the colour scaled by each intensity / 255, or grey
// of that intensity for a marker, a no-colour entry or a row past the palette. Alpha 255.
std::vector<uint8_t> buildRampTexels(const std::vector<uint32_t>& palette, int rows);
// For the first `count` vertices: lightVector[0] = s = N·L held to 0.05..0.95, lightVector[1] = t =
// (palette index + 0.5) / rows, with L the unit vector from the vertex towards `light`.
void fillRampCoordinates(std::vector<MeshVertex>& vertices, size_t count, Vec3 light, int rows);

// ---------------------------------------------------------------------------------------------
// Bump mapping
// ---------------------------------------------------------------------------------------------

// Tangent vectors of a triangle list: auxA points where u grows, auxB where v falls (towards the top
// row of a picture, the way normal maps store their green tilt), both made perpendicular to the vertex
// normal (and auxB to auxA) and of length 1. Each triangle's vectors come from its positions and
// texture coordinates; corners with the same position, normal and texture coordinate share the
// average of their triangles' vectors. A triangle without usable texture coordinates adds nothing;
// a corner left without a direction gets one perpendicular to its normal.
void computeTangents(std::vector<MeshVertex>& triangles);
// For the first `count` vertices: lightVector = (A·L, B·L, N·L) × 0.5 + 0.5, with L the unit vector from
// the vertex towards `light`, A and B the tangent vectors and N the normal.
void fillLightVectors(std::vector<MeshVertex>& vertices, size_t count, Vec3 light);

// ---------------------------------------------------------------------------------------------
// Stencil shadow volumes
// ---------------------------------------------------------------------------------------------

// For each edge of each triangle (edge e runs from corner e to corner e + 1 mod 3) the triangle that
// shares it running the other way, or -1 at an open edge. Corners are matched by exact position.
std::vector<int32_t> buildEdgeNeighbours(const std::vector<MeshVertex>& triangles);

// Whether triangle P, Q, R faces a light at `light`: (L - Q) · ((P - Q) × (R - Q)) > 0.
bool triangleFacesLight(const MeshVertex* corners, Vec3 light);

// Per triangle of the first `count` vertices: 1 when it faces the light.
void markFacingTriangles(const std::vector<MeshVertex>& triangles, size_t count, Vec3 light,
                         std::vector<uint8_t>& facing);

// Whether edge `edge` of `triangle` is a silhouette edge: its triangle faces the light and the one
// across it is missing (or not among the marked triangles) or does not face it.
bool isSilhouetteEdge(const std::vector<int32_t>& neighbours, const std::vector<uint8_t>& facing,
                      size_t triangle, int edge);
// All silhouette edges as triangle × 3 + edge.
void findSilhouetteEdges(const std::vector<int32_t>& neighbours, const std::vector<uint8_t>& facing,
                         std::vector<int32_t>& edges);

// The volume's corners as (x, y, z, w): for each silhouette edge (a, b) the quad b, a, a∞, b∞, and each
// triangle as a cap in its own order, as it is when it faces the light, at infinity otherwise. A point
// v at infinity is (v - L, 0).
void buildShadowVolume(const std::vector<MeshVertex>& triangles, size_t count,
                       const std::vector<int32_t>& neighbours, Vec3 light, std::vector<uint8_t>& facing,
                       std::vector<float>& quads, std::vector<float>& caps);

} // namespace rt
