// Meshes in memory: decoding packed records, assembling triangle lists, bounding spheres and packing
// unpacked vertices into records.
#include "runtime/gfx3d/mesh.h"

#include <algorithm>
#include <cmath>

using namespace rt;

namespace rt {

// ---------------------------------------------------------------------------------------------
// Mesh object
// ---------------------------------------------------------------------------------------------

void MeshObject::clear()
{
    frames.clear();
    u.clear();
    v.clear();
    palette.clear();
    loaded = 0;
    coloured = false;
}

void MeshObjectX::prepare()
{
    for (MeshFrame& frame : frames) {
        frame.triangles.clear();
        assembleTriangles(*this, frame);
    }
    if (frames.empty())
        drawList.clear();
    else
        drawList = frames[0].triangles;
    coloured = paletteIsColoured(palette);
}

// ---------------------------------------------------------------------------------------------
// Decoding
// ---------------------------------------------------------------------------------------------

uint32_t recordPaletteValue(const MeshObject& mesh, const PackedVertex& record)
{
    return record.paletteIndex < mesh.palette.size() ? mesh.palette[record.paletteIndex] : paletteNoColour;
}

static void copyTableNormal(int index, float* out)
{
    if (index >= meshNormalCount) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    out[0] = meshNormalTable[index][0];
    out[1] = meshNormalTable[index][1];
    out[2] = meshNormalTable[index][2];
}

MeshVertex decodeRecord(const MeshObject& mesh, const MeshFrame& frame, size_t k)
{
    const PackedVertex& record = frame.records[k];
    MeshVertex vertex;
    const uint8_t q[3] = {record.qx, record.qy, record.qz};
    for (int axis = 0; axis < 3; ++axis)
        vertex.position[axis] = (float(q[axis]) - frame.offset[axis]) * frame.scale[axis];
    copyTableNormal(record.normalIndex, vertex.normal);
    copyTableNormal(record.auxIndexA, vertex.auxA);
    copyTableNormal(record.auxIndexB, vertex.auxB);
    vertex.colour = recordPaletteValue(mesh, record);
    vertex.paletteIndex = record.paletteIndex;
    if (vertex.colour < paletteNoColour) {
        vertex.red = float(vertex.colour & 0xFF) / 255.0f;
        vertex.green = float((vertex.colour >> 8) & 0xFF) / 255.0f;
        vertex.blue = float((vertex.colour >> 16) & 0xFF) / 255.0f;
    }
    if (k < mesh.u.size() && k < mesh.v.size()) {
        vertex.u = mesh.u[k];
        vertex.v = -mesh.v[k];
    }
    return vertex;
}

void decodeFrame(const MeshObject& mesh, MeshFrame& frame)
{
    frame.vertices.clear();
    frame.vertices.reserve(frame.records.size());
    for (size_t k = 0; k < frame.records.size(); ++k)
        frame.vertices.push_back(decodeRecord(mesh, frame, k));
}

// ---------------------------------------------------------------------------------------------
// Triangle assembly
// ---------------------------------------------------------------------------------------------

// Triangle corners the records will give: separate triangles use each vertex once, strips and fans
// add a triangle (three corners) for every vertex after their second.
static size_t cornersToCome(const MeshObject& mesh, const MeshFrame& frame)
{
    size_t corners = 0;
    uint32_t mode = paletteTriangles;
    int count = 0;
    for (const PackedVertex& record : frame.records) {
        uint32_t value = recordPaletteValue(mesh, record);
        if (isPrimitiveMarker(value)) {
            mode = value;
            count = 0;
        } else if (++count == 3) {
            corners += 3;
            count = mode == paletteTriangles ? 0 : 2;
        }
    }
    return corners;
}

void assembleTriangles(const MeshObject& mesh, MeshFrame& frame)
{
    frame.triangles.reserve(frame.triangles.size() + cornersToCome(mesh, frame));
    enum class Mode
    {
        triangles,
        strip,
        fan
    };
    Mode mode = Mode::triangles;
    MeshVertex corner[3];
    int count = 0;
    bool secondOfPair = false; // strip parity: which slot the newest vertex replaces next

    for (size_t k = 0; k < frame.records.size(); ++k) {
        uint32_t value = recordPaletteValue(mesh, frame.records[k]);
        if (isPrimitiveMarker(value)) {
            mode = value == paletteTriangles ? Mode::triangles
                   : value == paletteStrip   ? Mode::strip
                                             : Mode::fan;
            count = 0;
            secondOfPair = false;
            continue;
        }
        corner[count++] = decodeRecord(mesh, frame, k);
        if (count < 3) continue;

        frame.triangles.insert(frame.triangles.end(), corner, corner + 3);
        switch (mode) {
        case Mode::triangles:
            count = 0;
            break;
        case Mode::fan: // every triangle shares the first vertex and the previous one
            corner[1] = corner[2];
            count = 2;
            break;
        case Mode::strip: // alternate which old vertex goes, so every triangle keeps the same winding
            corner[secondOfPair ? 1 : 0] = corner[2];
            secondOfPair = !secondOfPair;
            count = 2;
            break;
        }
    }
}

bool paletteIsColoured(const std::vector<uint32_t>& palette)
{
    return std::any_of(palette.begin(), palette.end(),
                       [](uint32_t value) { return value < paletteNoColour && value != paletteWhite; });
}

// ---------------------------------------------------------------------------------------------
// Bounding spheres
// ---------------------------------------------------------------------------------------------

void computeBoundingSpheres(MeshObject& mesh)
{
    for (MeshFrame& frame : mesh.frames) {
        double centre[3] = {0, 0, 0};
        for (const MeshVertex& vertex : frame.triangles)
            for (int axis = 0; axis < 3; ++axis)
                centre[axis] += vertex.position[axis];
        size_t count = frame.triangles.size();
        if (count > 0)
            for (double& c : centre)
                c /= double(count);

        double largest = 0;
        for (const MeshVertex& vertex : frame.triangles) {
            double dx = vertex.position[0] - centre[0];
            double dy = vertex.position[1] - centre[1];
            double dz = vertex.position[2] - centre[2];
            double squared = dx * dx + dy * dy + dz * dz;
            if (squared > 1e-7 && squared > largest) largest = squared;
        }
        for (int axis = 0; axis < 3; ++axis)
            frame.boundingCentre[axis] = float(centre[axis]);
        frame.boundingRadius = float(std::sqrt(largest));
    }
}

// ---------------------------------------------------------------------------------------------
// Packing
// ---------------------------------------------------------------------------------------------

// Quantised coordinate: nearest step, held to 0..255 (not-a-number gives 0).
static uint8_t quantise(double q)
{
    if (!(q > 0)) return 0;
    if (q >= 255) return 255;
    return uint8_t(q + 0.5);
}

bool packFrame(MeshObject& mesh, MeshFrame& frame)
{
    // Bounds of the real vertices; markers carry no position.
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    bool any = false;
    for (const MeshVertex& vertex : frame.vertices) {
        if (isPrimitiveMarker(vertex.colour)) continue;
        for (int axis = 0; axis < 3; ++axis) {
            double p = vertex.position[axis];
            if (!any || p < low[axis]) low[axis] = p;
            if (!any || p > high[axis]) high[axis] = p;
        }
        any = true;
    }
    for (int axis = 0; axis < 3; ++axis) {
        float scale = float((high[axis] - low[axis]) / 255.0);
        // Float positions keep the offset finite: the extent is at least one float step of min.
        if (scale == 0) scale = 1;
        frame.scale[axis] = scale;
        frame.offset[axis] = float(-low[axis] / scale);
    }

    size_t paletteBefore = mesh.palette.size();
    size_t texCoordsBefore = mesh.u.size();
    frame.records.clear();
    frame.records.reserve(frame.vertices.size());
    mesh.u.reserve(mesh.u.size() + frame.vertices.size());
    mesh.v.reserve(mesh.v.size() + frame.vertices.size());
    size_t lastEntry = 0; // runs of one colour are common: try the previous entry first

    for (const MeshVertex& vertex : frame.vertices) {
        PackedVertex record;
        if (!isPrimitiveMarker(vertex.colour)) {
            record.qx = quantise(double(vertex.position[0]) / frame.scale[0] + frame.offset[0]);
            record.qy = quantise(double(vertex.position[1]) / frame.scale[1] + frame.offset[1]);
            record.qz = quantise(double(vertex.position[2]) / frame.scale[2] + frame.offset[2]);
            record.normalIndex =
                uint8_t(nearestNormalIndex(vertex.normal[0], vertex.normal[1], vertex.normal[2]));
        }
        if (lastEntry >= mesh.palette.size() || mesh.palette[lastEntry] != vertex.colour) {
            auto found = std::find(mesh.palette.begin(), mesh.palette.end(), vertex.colour);
            if (found == mesh.palette.end()) {
                if (mesh.palette.size() >= maxPaletteEntries) {
                    frame.records.clear();
                    mesh.palette.resize(paletteBefore);
                    mesh.u.resize(texCoordsBefore);
                    mesh.v.resize(texCoordsBefore);
                    return false;
                }
                found = mesh.palette.insert(mesh.palette.end(), vertex.colour);
            }
            lastEntry = size_t(found - mesh.palette.begin());
        }
        record.paletteIndex = uint8_t(lastEntry);
        frame.records.push_back(record);
        mesh.u.push_back(vertex.u);
        mesh.v.push_back(vertex.v);
    }
    return true;
}

} // namespace rt
