// The object slot commands: loading, saving and building objects, and reading their triangles.
#include "runtime/files/host_path.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/gfx2d/data_files.h"
#include "runtime/gfx3d/mesh_file.h"
#include "runtime/gfx3d/object_building.h"
#include "runtime/gfx3d/object_textures.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/runtime.h"

using namespace rt;

double rtLoadObject(const RtString& file, double slot)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return 0;
    ObjectSlot* object = objectSlot(*scene, toInt(slot));
    if (!object) return 0;
    releaseObjectSlot(*scene, *object);
    if (scene->buildingSlot == toInt(slot)) scene->buildingSlot = -1;
    char path[resolvedPathCapacity];
    if (!resolveDataName(file, path, "mesh")) return 0;
    if (loadObjectFile(*object, path, loadObjectTexture, file.c_str())) return 1;
    rt::logLoadFailure("mesh", file.c_str(), rt::LoadFailure::Undecodable);
    return 0;
}

double rtSaveObject(const RtString& file, double slot)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return 0;
    ObjectSlot* object = objectSlot(*scene, toInt(slot));
    if (!object || object->meshes.empty()) return 0;
    return saveMesh(object->meshes[0], hostPath(file.c_str()).c_str()) ? 1 : 0;
}

void rtStartObject(double slot)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    ObjectSlot* object = objectSlot(*scene, toInt(slot));
    if (!object) {
        scene->buildingSlot = -1;
        return;
    }
    releaseObjectSlot(*scene, *object);
    startBuilding(*object);
    scene->buildingSlot = toInt(slot);
}

static ObjectSlot* slotBeingBuilt()
{
    Rainbows3D* scene = activeScene();
    return scene ? objectSlot(*scene, scene->buildingSlot) : nullptr;
}

void rtAddObjectVertex(double x, double y, double z, double u, double v, double colour)
{
    if (ObjectSlot* object = slotBeingBuilt())
        addBuildVertex(*object, float(x), float(y), float(z), float(u), float(v), toUint32Wrapping(colour));
}

void rtNewObjectStrip()
{
    if (ObjectSlot* object = slotBeingBuilt()) addBuildStrip(*object);
}

void rtEndObject()
{
    ObjectSlot* object = slotBeingBuilt();
    if (!object) return;
    finishBuilding(*object, activeScene()->normalMode);
    activeScene()->buildingSlot = -1;
}

void rtSetNormalMode(double mode)
{
    if (Rainbows3D* scene = activeScene()) {
        int n = toInt(mode) % 3;
        scene->normalMode = n < 0 ? n + 3 : n;
    }
}

double rtObjectTriangleCount(double slot)
{
    Rainbows3D* scene = activeScene();
    ObjectSlot* object = scene ? objectSlot(*scene, toInt(slot)) : nullptr;
    if (!object) return 0;
    size_t corners = 0;
    for (const MeshObjectX& mesh : object->meshes)
        if (!mesh.frames.empty()) corners += mesh.frames[0].triangles.size();
    return double(corners / 3);
}

void rtGetObjectTriangle(double slot, double frame, double triangle, RtArray& array)
{
    rtDimArray(array, 3, 6, 0, 0);
    Rainbows3D* scene = activeScene();
    ObjectSlot* object = scene ? objectSlot(*scene, toInt(slot)) : nullptr;
    int frameIndex = toInt(frame), index = toInt(triangle);
    if (!object || frameIndex < 0 || index < 0) return;
    // Triangles are counted through the slot's meshes in turn.
    size_t wanted = size_t(index);
    for (const MeshObjectX& mesh : object->meshes) {
        if (size_t(frameIndex) >= mesh.frames.size()) continue;
        const std::vector<MeshVertex>& triangles = mesh.frames[size_t(frameIndex)].triangles;
        size_t count = triangles.size() / 3;
        if (wanted >= count) {
            wanted -= count;
            continue;
        }
        for (int corner = 0; corner < 3; ++corner) {
            const MeshVertex& vertex = triangles[wanted * 3 + size_t(corner)];
            const double fields[6] = {vertex.position[0], vertex.position[1], vertex.position[2],
                                      vertex.u,           vertex.v,           double(vertex.colour)};
            for (int field = 0; field < 6; ++field)
                rtArrayAt(array, corner, field, 0, 0) = fields[field];
        }
        return;
    }
}
