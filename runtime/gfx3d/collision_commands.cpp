// The collision query commands: a sphere, a box or a ray against an object slot placed by the current
// transform stack (its rigid part: rotations, translations and matrices, scales left out).
#include "runtime/gfx3d/collision.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/runtime.h"

using namespace rt;

static const ObjectSlot* queriedSlot(double slot)
{
    Rainbows3D* scene = activeScene();
    return scene ? objectSlot(*scene, toInt(slot)) : nullptr;
}

double rtObjectHitsSphere(double slot, double frame, double radius, double x, double y, double z)
{
    const ObjectSlot* object = queriedSlot(slot);
    if (!object) return 0;
    return objectHitsSphere(*object, toInt(frame), rigidPlacementMatrix(activeScene()->transforms),
                            {float(x), float(y), float(z)}, float(radius))
               ? 1
               : 0;
}

double rtObjectHitsBox(double slot, double frame, double x, double y, double z, double width, double height)
{
    const ObjectSlot* object = queriedSlot(slot);
    if (!object) return 0;
    float halfWidth = float(width / 2), halfHeight = float(height / 2);
    const Vec3 halfAxes[3] = {{halfWidth, 0, 0}, {0, halfHeight, 0}, {0, 0, halfWidth}};
    return objectHitsBox(*object, toInt(frame), rigidPlacementMatrix(activeScene()->transforms),
                         {float(x), float(y), float(z)}, halfAxes)
               ? 1
               : 0;
}

double rtObjectRayDistance(double slot, double frame, double x, double y, double z, double dx, double dy,
                           double dz)
{
    const ObjectSlot* object = queriedSlot(slot);
    if (!object) return 0;
    return objectRayParameter(*object, toInt(frame), rigidPlacementMatrix(activeScene()->transforms),
                              {float(x), float(y), float(z)}, {float(dx), float(dy), float(dz)});
}
