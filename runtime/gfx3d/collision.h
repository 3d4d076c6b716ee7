// Collision queries against meshes: exact tests of a sphere, a box or a ray against triangles, over a
// frame's triangle list, and over an object slot placed by the transform stack. No OpenGL here.
//
// The triangle tests:
// - sphere: the point of the triangle closest to the centre (by the Voronoi regions of its corners,
//   edges and face) lies within the radius;
// - box (centre and three orthogonal half-axis vectors): no separating axis among the box's three
//   axes, the triangle's normal and the nine cross products of box axes with triangle edges;
// - ray (origin o, direction d): the barycentric solve of o + t d = a + u (b - a) + v (c - a) with
//   u, v >= 0 and u + v <= 1; t is the hit parameter in lengths of d, negative behind the origin.
#pragma once

#include <optional>

#include "runtime/gfx3d/object_file.h"
#include "runtime/gfx3d/scene_math.h"

namespace rt {

Vec3 closestPointOnTriangle(Vec3 p, Vec3 a, Vec3 b, Vec3 c);
bool sphereTouchesTriangle(Vec3 centre, float radius, Vec3 a, Vec3 b, Vec3 c);
bool boxTouchesTriangle(Vec3 centre, const Vec3 halfAxes[3], Vec3 a, Vec3 b, Vec3 c);
// The hit parameter t, or nothing when the ray's line misses the triangle or runs parallel to it.
std::optional<float> rayHitsTriangle(Vec3 origin, Vec3 direction, Vec3 a, Vec3 b, Vec3 c);

// Of two hit parameters (0 = none): the smallest positive one, else the negative one closest to 0.
float nearerHit(float current, float candidate);

// A frame's triangle list against the query (fewer than three vertices never hit). The sphere is first
// checked against the frame's bounding sphere.
bool frameHitsSphere(const MeshFrame& frame, Vec3 centre, float radius);
bool frameHitsBox(const MeshFrame& frame, Vec3 centre, const Vec3 halfAxes[3]);
float frameRayParameter(const MeshFrame& frame, Vec3 origin, Vec3 direction);

// The slot's meshes in turn, the query taken into mesh space by the inverse of `placement` (the rigid
// part of the transform stack). A frame number outside a mesh's frames never hits.
bool objectHitsSphere(const ObjectSlot& object, int frame, const Matrix4& placement, Vec3 centre,
                      float radius);
bool objectHitsBox(const ObjectSlot& object, int frame, const Matrix4& placement, Vec3 centre,
                   const Vec3 halfAxes[3]);
float objectRayParameter(const ObjectSlot& object, int frame, const Matrix4& placement, Vec3 origin,
                         Vec3 direction);

} // namespace rt
