// The collision query commands: a sphere, a box or a ray against an object slot placed by the current
// transform stack (its rigid part: rotations, translations and matrices, scales left out). In debug
// mode each query also draws its shape: green when it missed, red when it hit.
#include <cmath>

#include "runtime/core/engine_state.h"
#include "runtime/gfx3d/collision.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/runtime.h"

using namespace rt;

static int debugColour(bool hit)
{
    return hit ? 0x0000FF : 0x00FF00;
}

// Three great circles of the sphere, one in each axis plane.
static void drawDebugSphere(double x, double y, double z, double radius, bool hit)
{
    constexpr int segments = 24;
    for (int plane = 0; plane < 3; ++plane)
        for (int i = 0; i < segments; ++i) {
            double a = 2 * M_PI * i / segments, b = 2 * M_PI * (i + 1) / segments;
            double from[3] = {0, 0, 0}, to[3] = {0, 0, 0};
            from[plane] = radius * std::cos(a), from[(plane + 1) % 3] = radius * std::sin(a);
            to[plane] = radius * std::cos(b), to[(plane + 1) % 3] = radius * std::sin(b);
            rtDrawLine3D(x + from[0], y + from[1], z + from[2], x + to[0], y + to[1], z + to[2], 1,
                         debugColour(hit));
        }
}

// The box's twelve edges.
static void drawDebugBox(double x, double y, double z, double halfWidth, double halfHeight, bool hit)
{
    const double half[3] = {halfWidth, halfHeight, halfWidth};
    for (int axis = 0; axis < 3; ++axis)
        for (int corner = 0; corner < 4; ++corner) {
            double from[3], to[3];
            int other1 = (axis + 1) % 3, other2 = (axis + 2) % 3;
            from[axis] = -half[axis], to[axis] = half[axis];
            from[other1] = to[other1] = (corner & 1) ? half[other1] : -half[other1];
            from[other2] = to[other2] = (corner & 2) ? half[other2] : -half[other2];
            rtDrawLine3D(x + from[0], y + from[1], z + from[2], x + to[0], y + to[1], z + to[2], 1,
                         debugColour(hit));
        }
}

static const ObjectSlot* queriedSlot(double slot)
{
    Rainbows3D* scene = activeScene();
    return scene ? objectSlot(*scene, toInt(slot)) : nullptr;
}

double rtObjectHitsSphere(double slot, double frame, double radius, double x, double y, double z)
{
    const ObjectSlot* object = queriedSlot(slot);
    if (!object) return 0;
    bool hit = objectHitsSphere(*object, toInt(frame), rigidPlacementMatrix(activeScene()->transforms),
                                {float(x), float(y), float(z)}, float(radius));
    if (engine.debugMode) drawDebugSphere(x, y, z, radius, hit);
    return hit ? 1 : 0;
}

double rtObjectHitsBox(double slot, double frame, double x, double y, double z, double width, double height)
{
    const ObjectSlot* object = queriedSlot(slot);
    if (!object) return 0;
    float halfWidth = float(width / 2), halfHeight = float(height / 2);
    const Vec3 halfAxes[3] = {{halfWidth, 0, 0}, {0, halfHeight, 0}, {0, 0, halfWidth}};
    bool hit = objectHitsBox(*object, toInt(frame), rigidPlacementMatrix(activeScene()->transforms),
                             {float(x), float(y), float(z)}, halfAxes);
    if (engine.debugMode) drawDebugBox(x, y, z, halfWidth, halfHeight, hit);
    return hit ? 1 : 0;
}

double rtObjectRayDistance(double slot, double frame, double x, double y, double z, double dx, double dy,
                           double dz)
{
    const ObjectSlot* object = queriedSlot(slot);
    if (!object) return 0;
    float t = objectRayParameter(*object, toInt(frame), rigidPlacementMatrix(activeScene()->transforms),
                                 {float(x), float(y), float(z)}, {float(dx), float(dy), float(dz)});
    if (engine.debugMode) rtDrawLine3D(x, y, z, x + dx, y + dy, z + dz, 1, debugColour(t != 0));
    return t;
}
