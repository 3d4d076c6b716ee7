// Meshes in memory: animation frames of quantised vertex records, decoded into triangle lists for
// drawing. Everything here is plain data and functions (no OpenGL), so loaders, packing and triangle
// assembly can be tested alone. The file formats are in mesh_file.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

// ---------------------------------------------------------------------------------------------
// Palette values
// ---------------------------------------------------------------------------------------------

// A palette entry is either a vertex colour 0x00BBGGRR or one of these markers. A record whose palette
// value is a primitive marker yields no vertex: it starts a new run of separate triangles, a strip or a
// fan. Any value from paletteNoColour up is drawn white.
constexpr uint32_t paletteTriangles = 0xFFFFFFFFu; // -1
constexpr uint32_t paletteStrip = 0xFFFFFFFEu;     // -2
constexpr uint32_t paletteFan = 0xFFFFFFFDu;       // -3
constexpr uint32_t paletteNoColour = 0xFFFFFFFCu;  // -4
constexpr uint32_t paletteWhite = 0x00FFFFFFu;     // a colour, but not one that makes a mesh coloured

// Record fields are bytes, so a mesh holds at most this many palette entries.
constexpr size_t maxPaletteEntries = 256;

inline bool isPrimitiveMarker(uint32_t value)
{
    return value >= paletteFan;
}

// ---------------------------------------------------------------------------------------------
// Normal table
// ---------------------------------------------------------------------------------------------

// Vertex normals are stored as an index into a fixed table of 162 unit vectors spread evenly over the
// sphere; entry 0 is (-0.525731, 0, 0.850651). Stored files depend on this exact order.
constexpr int meshNormalCount = 162;
extern const float meshNormalTable[meshNormalCount][3];

// Index of the table normal closest in direction to (x, y, z) (smallest |1 - n.t| after normalising;
// a vector of squared length 1e-7 or less is used as it is, which gives entry 0).
int nearestNormalIndex(float x, float y, float z);

// ---------------------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------------------

// One vertex as drawn: 88 bytes, handed to vertex arrays with this stride, so the field order and
// sizes are fixed.
struct MeshVertex
{
    float position[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};
    float u = 0, v = 0;
    float lightVector[3] = {0, 0, 0}; // filled per draw for bump mapping; 0 after decoding
    float auxA[3] = {0, 0, 0};        // auxiliary direction vectors (tangent space)
    float auxB[3] = {0, 0, 0};
    uint32_t colour = paletteNoColour; // the palette value
    uint8_t paletteIndex = 0;
    uint8_t padding[3] = {0, 0, 0};
    float red = 1, green = 1, blue = 1; // 0..1
};
static_assert(sizeof(MeshVertex) == 88, "vertex arrays use an 88-byte stride");

// One quantised vertex; in a file these are the 5 bytes qx qy qz normalIndex paletteIndex. The two
// auxiliary indices live only in memory and are 0 after loading.
struct PackedVertex
{
    uint8_t qx = 0, qy = 0, qz = 0;
    uint8_t normalIndex = 0;
    uint8_t auxIndexA = 0, auxIndexB = 0;
    uint8_t paletteIndex = 0;
};

// One animation key frame. A record's position is (q - offset) * scale, axis by axis.
struct MeshFrame
{
    std::vector<MeshVertex> vertices;  // decoded records, or the unpacked vertices of a frame being built
    std::vector<MeshVertex> triangles; // three per triangle, filled by MeshObjectX::prepare
    std::vector<PackedVertex> records;
    float offset[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    float boundingRadius = 0;
    float boundingCentre[3] = {0, 0, 0};
};

// A mesh: frames plus the texture coordinates and palette their records index. Texture coordinate k
// belongs to the record at position k of a frame (marker records count), for every frame.
class MeshObject
{
  public:
    virtual ~MeshObject() = default;
    // Builds whatever drawing needs from the packed records; nothing in the plain mesh.
    virtual void prepare() {}

    // Drops frames, texture coordinates and palette; loaded and coloured become 0.
    void clear();

    std::vector<MeshFrame> frames;
    std::vector<float> u;
    std::vector<float> v;
    std::vector<uint32_t> palette;
    int32_t loaded = 0;    // 1 after a successful binary load
    bool coloured = false; // some palette entry is a colour other than white (set by prepare)
};

// The mesh the 3D scene draws: prepare assembles the triangle lists and the drawing list.
class MeshObjectX : public MeshObject
{
  public:
    // Assembles every frame's triangles from its records, copies the first frame's triangles into
    // drawList and sets the coloured flag.
    void prepare() override;

    std::vector<MeshVertex> drawList; // the first frame's triangles, the working copy drawing uses
    int textureA = 0;                 // first texture of the mesh in its object's texture list (0-based)
    int textureB = 0;                 // second texture (0-based)
    // GL vertex buffers holding each frame's triangles, made when a frame is first drawn (0 = none
    // yet). The scene deletes them when the object slot is emptied.
    std::vector<uint32_t> frameBuffers;

    // What the effect light's modes build the first time they draw the mesh, kept until the slot is
    // emptied: tangent vectors in drawList (bump mapping), the shading ramp texture (ramp shading), the
    // edge neighbour list and reused buffers for the shadow volume (stencil shadows).
    bool tangentsReady = false;
    uint32_t rampTexture = 0; // GL texture name, 0 = not made yet
    int rampRows = 0;
    bool neighboursReady = false;
    std::vector<int32_t> edgeNeighbours; // per triangle edge: the triangle across it, -1 at an open edge
    std::vector<uint8_t> facingLight;    // per triangle of the last volume: 1 when it faces the light
    std::vector<float> volumeQuads;      // homogeneous corners (x, y, z, w) of the last volume's sides
    std::vector<float> volumeCaps;       // and of its caps, three corners per triangle
};

// ---------------------------------------------------------------------------------------------
// Operations
// ---------------------------------------------------------------------------------------------

// The palette value a record stands for; an index past the palette reads as paletteNoColour.
uint32_t recordPaletteValue(const MeshObject& mesh, const PackedVertex& record);

// Decodes record k of the frame: position, normal and auxiliary vectors from the table (an index past
// the table gives a zero vector), colour and its 0..1 components (white from paletteNoColour up),
// u = u[k], v = -v[k] (0 when the mesh has fewer texture coordinates than k + 1).
MeshVertex decodeRecord(const MeshObject& mesh, const MeshFrame& frame, size_t k);

// Fills the frame's vertices with every record decoded.
void decodeFrame(const MeshObject& mesh, MeshFrame& frame);

// Appends the frame's triangles assembled from its records: a marker record switches between separate
// triangles, strips and fans; a strip a b c d e f gives (a b c) (c b d) (c d e) (e d f), a fan a b c d
// gives (a b c) (a c d).
void assembleTriangles(const MeshObject& mesh, MeshFrame& frame);

// True when some palette entry is a colour other than white (markers and no-colour do not count).
bool paletteIsColoured(const std::vector<uint32_t>& palette);

// Per frame: centre = mean of the triangle vertices' positions, radius = the largest distance from it.
void computeBoundingSpheres(MeshObject& mesh);

// Packs the frame's vertices (position, normal, u, v, colour; markers by their colour value) into
// records: per-axis quantisation to 0..255, nearest table normal, a palette entry per distinct colour
// value, one texture coordinate appended to the mesh per record. Markers take no part in the bounds.
// False (records left empty) when the palette would need more than 256 entries.
bool packFrame(MeshObject& mesh, MeshFrame& frame);

} // namespace rt
