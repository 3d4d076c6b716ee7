// Sphere, box and ray tests against triangles, frames and object slots.
#include "runtime/gfx3d/collision.h"

#include <cmath>

namespace rt {

Vec3 closestPointOnTriangle(Vec3 p, Vec3 a, Vec3 b, Vec3 c)
{
    Vec3 ab = b - a, ac = c - a, ap = p - a;
    float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    Vec3 bp = p - b;
    float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    Vec3 cp = p - c;
    float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
        return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    float denominator = va + vb + vc;
    if (denominator == 0) return a; // a triangle without area: its corners are all it has
    float v = vb / denominator, w = vc / denominator;
    return a + ab * v + ac * w;
}

bool sphereTouchesTriangle(Vec3 centre, float radius, Vec3 a, Vec3 b, Vec3 c)
{
    Vec3 gap = closestPointOnTriangle(centre, a, b, c) - centre;
    return dot(gap, gap) <= radius * radius;
}

bool boxTouchesTriangle(Vec3 centre, const Vec3 halfAxes[3], Vec3 a, Vec3 b, Vec3 c)
{
    Vec3 corners[3] = {a - centre, b - centre, c - centre};
    Vec3 edges[3] = {corners[1] - corners[0], corners[2] - corners[1], corners[0] - corners[2]};
    auto separates = [&](Vec3 axis) {
        if (!(dot(axis, axis) > 1e-12f)) return false; // parallel edges give no axis
        float p0 = dot(corners[0], axis), p1 = dot(corners[1], axis), p2 = dot(corners[2], axis);
        float low = std::fmin(p0, std::fmin(p1, p2)), high = std::fmax(p0, std::fmax(p1, p2));
        float reach = 0;
        for (int i = 0; i < 3; ++i)
            reach += std::fabs(dot(halfAxes[i], axis));
        return low > reach || high < -reach;
    };
    for (int i = 0; i < 3; ++i)
        if (separates(halfAxes[i])) return false;
    if (separates(cross(edges[0], edges[1]))) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (separates(cross(halfAxes[i], edges[j]))) return false;
    return true;
}

std::optional<float> rayHitsTriangle(Vec3 origin, Vec3 direction, Vec3 a, Vec3 b, Vec3 c)
{
    Vec3 ab = b - a, ac = c - a;
    Vec3 p = cross(direction, ac);
    float determinant = dot(ab, p);
    if (std::fabs(determinant) < 1e-12f) return std::nullopt;
    float inverse = 1 / determinant;
    Vec3 s = origin - a;
    float u = dot(s, p) * inverse;
    if (u < 0 || u > 1) return std::nullopt;
    Vec3 q = cross(s, ab);
    float v = dot(direction, q) * inverse;
    if (v < 0 || u + v > 1) return std::nullopt;
    return dot(ac, q) * inverse;
}

float nearerHit(float current, float candidate)
{
    if (candidate == 0 || std::isnan(candidate)) return current;
    if (current == 0) return candidate;
    if (candidate > 0) return current < 0 || candidate < current ? candidate : current;
    return current < 0 && candidate > current ? candidate : current;
}

namespace {

Vec3 cornerOf(const MeshVertex& vertex)
{
    return {vertex.position[0], vertex.position[1], vertex.position[2]};
}

// True when the triangle lies wholly beyond the box from low to high on some axis: a cheap test that
// spares most triangles the exact one.
bool outsideBounds(Vec3 a, Vec3 b, Vec3 c, Vec3 low, Vec3 high)
{
    return (a.x > high.x && b.x > high.x && c.x > high.x) || (a.x < low.x && b.x < low.x && c.x < low.x) ||
           (a.y > high.y && b.y > high.y && c.y > high.y) || (a.y < low.y && b.y < low.y && c.y < low.y) ||
           (a.z > high.z && b.z > high.z && c.z > high.z) || (a.z < low.z && b.z < low.z && c.z < low.z);
}

template <class Test> bool anyTriangle(const MeshFrame& frame, Test test)
{
    const std::vector<MeshVertex>& t = frame.triangles;
    for (size_t i = 0; i + 2 < t.size(); i += 3)
        if (test(cornerOf(t[i]), cornerOf(t[i + 1]), cornerOf(t[i + 2]))) return true;
    return false;
}

} // namespace

bool frameHitsSphere(const MeshFrame& frame, Vec3 centre, float radius)
{
    if (frame.triangles.size() < 3) return false;
    Vec3 bounds{frame.boundingCentre[0], frame.boundingCentre[1], frame.boundingCentre[2]};
    Vec3 apart = centre - bounds;
    float reach = radius + frame.boundingRadius;
    if (dot(apart, apart) > reach * reach) return false;
    Vec3 first = cornerOf(frame.triangles[0]) - centre;
    if (dot(first, first) <= radius * radius) return true;
    Vec3 around{radius, radius, radius};
    Vec3 low = centre - around, high = centre + around;
    return anyTriangle(frame, [&](Vec3 a, Vec3 b, Vec3 c) {
        return !outsideBounds(a, b, c, low, high) && sphereTouchesTriangle(centre, radius, a, b, c);
    });
}

bool frameHitsBox(const MeshFrame& frame, Vec3 centre, const Vec3 halfAxes[3])
{
    if (frame.triangles.size() < 3) return false;
    // The box's extent along each world axis bounds it for the quick rejection.
    Vec3 reach;
    for (int i = 0; i < 3; ++i)
        reach = reach + Vec3{std::fabs(halfAxes[i].x), std::fabs(halfAxes[i].y), std::fabs(halfAxes[i].z)};
    Vec3 low = centre - reach, high = centre + reach;
    return anyTriangle(frame, [&](Vec3 a, Vec3 b, Vec3 c) {
        return !outsideBounds(a, b, c, low, high) && boxTouchesTriangle(centre, halfAxes, a, b, c);
    });
}

float frameRayParameter(const MeshFrame& frame, Vec3 origin, Vec3 direction)
{
    float best = 0;
    anyTriangle(frame, [&](Vec3 a, Vec3 b, Vec3 c) {
        if (std::optional<float> t = rayHitsTriangle(origin, direction, a, b, c)) best = nearerHit(best, *t);
        return false;
    });
    return best;
}

namespace {

// The frame of the mesh a query asks for, or null when the mesh has no such frame.
const MeshFrame* queriedFrame(const MeshObjectX& mesh, int frame)
{
    if (frame < 0 || size_t(frame) >= mesh.frames.size()) return nullptr;
    return &mesh.frames[size_t(frame)];
}

} // namespace

bool objectHitsSphere(const ObjectSlot& object, int frame, const Matrix4& placement, Vec3 centre,
                      float radius)
{
    Matrix4 toMesh;
    if (!object.loaded || !invert(placement, toMesh)) return false;
    Vec3 local = transformPoint(toMesh, centre);
    for (const MeshObjectX& mesh : object.meshes)
        if (const MeshFrame* f = queriedFrame(mesh, frame); f && frameHitsSphere(*f, local, radius))
            return true;
    return false;
}

bool objectHitsBox(const ObjectSlot& object, int frame, const Matrix4& placement, Vec3 centre,
                   const Vec3 halfAxes[3])
{
    Matrix4 toMesh;
    if (!object.loaded || !invert(placement, toMesh)) return false;
    Vec3 local = transformPoint(toMesh, centre);
    Vec3 axes[3];
    for (int i = 0; i < 3; ++i)
        axes[i] = transformDirection(toMesh, halfAxes[i]);
    for (const MeshObjectX& mesh : object.meshes)
        if (const MeshFrame* f = queriedFrame(mesh, frame); f && frameHitsBox(*f, local, axes)) return true;
    return false;
}

float objectRayParameter(const ObjectSlot& object, int frame, const Matrix4& placement, Vec3 origin,
                         Vec3 direction)
{
    Matrix4 toMesh;
    if (!object.loaded || !invert(placement, toMesh)) return 0;
    Vec3 localOrigin = transformPoint(toMesh, origin), localDirection = transformDirection(toMesh, direction);
    float best = 0;
    for (const MeshObjectX& mesh : object.meshes)
        if (const MeshFrame* f = queriedFrame(mesh, frame))
            best = nearerHit(best, frameRayParameter(*f, localOrigin, localDirection));
    return best;
}

} // namespace rt
