// Building a mesh from vertex commands.
#include "runtime/gfx3d/object_building.h"

#include <map>
#include <tuple>

#include "runtime/gfx3d/scene_math.h"

namespace rt {
namespace {

struct IndexTriangle
{
    size_t corner[3];
};

// The triangles a marked vertex list makes, as indices, by the same rules as the assembly of packed
// records: separate triangles until a marker, then strips or fans.
std::vector<IndexTriangle> triangleIndices(const std::vector<MeshVertex>& vertices)
{
    std::vector<IndexTriangle> triangles;
    uint32_t mode = paletteTriangles;
    size_t corner[3];
    int count = 0;
    bool secondOfPair = false;
    for (size_t k = 0; k < vertices.size(); ++k) {
        if (isPrimitiveMarker(vertices[k].colour)) {
            mode = vertices[k].colour;
            count = 0;
            secondOfPair = false;
            continue;
        }
        corner[count++] = k;
        if (count < 3) continue;
        triangles.push_back({{corner[0], corner[1], corner[2]}});
        count = 2;
        if (mode == paletteTriangles) {
            count = 0;
        } else if (mode == paletteFan) {
            corner[1] = corner[2];
        } else {
            corner[secondOfPair ? 1 : 0] = corner[2];
            secondOfPair = !secondOfPair;
        }
    }
    return triangles;
}

Vec3 positionOf(const MeshVertex& vertex)
{
    return {vertex.position[0], vertex.position[1], vertex.position[2]};
}

// The face's normal scaled by twice its area, so larger faces weigh more in an average.
Vec3 weightedFaceNormal(const std::vector<MeshVertex>& vertices, const IndexTriangle& t)
{
    Vec3 a = positionOf(vertices[t.corner[0]]), b = positionOf(vertices[t.corner[1]]),
         c = positionOf(vertices[t.corner[2]]);
    return cross(b - a, c - a);
}

void storeNormal(MeshVertex& vertex, Vec3 sum)
{
    Vec3 n = normalised(sum);
    vertex.normal[0] = n.x;
    vertex.normal[1] = n.y;
    vertex.normal[2] = n.z;
}

} // namespace

void startBuilding(ObjectSlot& object)
{
    object = ObjectSlot();
    object.meshes.resize(1);
    object.meshes[0].frames.resize(1);
}

void addBuildVertex(ObjectSlot& object, float x, float y, float z, float u, float v, uint32_t colour)
{
    if (object.meshes.empty() || object.meshes[0].frames.empty()) return;
    MeshVertex vertex;
    vertex.position[0] = x;
    vertex.position[1] = y;
    vertex.position[2] = z;
    vertex.u = u;
    vertex.v = v;
    vertex.colour = colour >= paletteNoColour ? paletteNoColour : colour & 0xFFFFFFu;
    object.meshes[0].frames[0].vertices.push_back(vertex);
}

void addBuildStrip(ObjectSlot& object)
{
    if (object.meshes.empty() || object.meshes[0].frames.empty()) return;
    MeshVertex marker;
    marker.colour = paletteStrip;
    object.meshes[0].frames[0].vertices.push_back(marker);
}

void deriveNormals(std::vector<MeshVertex>& vertices, int mode)
{
    if (mode != normalsPerRecord && mode != normalsSmoothed) return;
    std::vector<IndexTriangle> triangles = triangleIndices(vertices);
    std::vector<Vec3> sums(vertices.size());
    for (const IndexTriangle& t : triangles) {
        Vec3 face = weightedFaceNormal(vertices, t);
        for (size_t k : t.corner)
            sums[k] = sums[k] + face;
    }
    if (mode == normalsSmoothed) {
        // Vertices at exactly the same place share one sum.
        std::map<std::tuple<float, float, float>, Vec3> byPosition;
        auto key = [&](size_t k) {
            return std::make_tuple(vertices[k].position[0], vertices[k].position[1], vertices[k].position[2]);
        };
        for (size_t k = 0; k < vertices.size(); ++k)
            if (!isPrimitiveMarker(vertices[k].colour)) byPosition[key(k)] = byPosition[key(k)] + sums[k];
        for (size_t k = 0; k < vertices.size(); ++k)
            if (!isPrimitiveMarker(vertices[k].colour)) sums[k] = byPosition[key(k)];
    }
    for (size_t k = 0; k < vertices.size(); ++k)
        if (!isPrimitiveMarker(vertices[k].colour)) storeNormal(vertices[k], sums[k]);
}

void finishBuilding(ObjectSlot& object, int normalMode)
{
    object.loaded = true;
    object.composite = false;
    if (object.meshes.empty()) return;
    MeshObjectX& mesh = object.meshes[0];
    bool packed = false;
    if (!mesh.frames.empty() && mesh.frames[0].vertices.size() > 2) {
        MeshFrame& frame = mesh.frames[0];
        deriveNormals(frame.vertices, normalMode);
        packed = packFrame(mesh, frame);
        frame.vertices.clear();
        frame.vertices.shrink_to_fit();
    }
    if (!packed) {
        mesh.clear();
        mesh.drawList.clear();
        return;
    }
    mesh.prepare();
    computeBoundingSpheres(mesh);
}

} // namespace rt
