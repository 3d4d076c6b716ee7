// Meshes: the normal table, triangle assembly, packing, the binary and text files and their failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/mesh_file.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

// Every test gets its own temp folder (TMPDIR), so ErrorLog.txt holds only its own lines.
class MeshFiles : public testing::Test
{
  protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("mesh_test_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        previousTmp = getenv("TMPDIR") ? getenv("TMPDIR") : "";
        setenv("TMPDIR", folder.c_str(), 1);
    }
    void TearDown() override
    {
        if (previousTmp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", previousTmp.c_str(), 1);
        fs::remove_all(folder);
    }

    std::string path(const char* name) const { return (folder / name).string(); }
    std::string errorLog() const
    {
        std::ifstream file(folder / "ErrorLog.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    void write(const std::string& file, const std::string& bytes) const
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    void write(const std::string& file, const std::vector<uint8_t>& bytes) const
    {
        write(file, std::string(bytes.begin(), bytes.end()));
    }

    fs::path folder;
    std::string previousTmp;
};

// Little-endian bytes for building files by hand.
struct Bytes
{
    std::vector<uint8_t> data;
    Bytes& u8(uint8_t value)
    {
        data.push_back(value);
        return *this;
    }
    Bytes& u32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(uint8_t(value >> (8 * i)));
        return *this;
    }
    Bytes& f32(float value)
    {
        uint32_t bits;
        memcpy(&bits, &value, 4);
        return u32(bits);
    }
    Bytes& f64(double value)
    {
        uint64_t bits;
        memcpy(&bits, &value, 8);
        u32(uint32_t(bits));
        return u32(uint32_t(bits >> 32));
    }
    Bytes& record(uint8_t qx, uint8_t qy, uint8_t qz, uint8_t normal, uint8_t palette)
    {
        return u8(qx).u8(qy).u8(qz).u8(normal).u8(palette);
    }
    // Magic, version and the three counts.
    Bytes& header(double version, int32_t frames, int32_t palette, int32_t texCoords)
    {
        return u32(0x00C6B317)
            .f64(version)
            .u32(uint32_t(frames))
            .u32(uint32_t(palette))
            .u32(uint32_t(texCoords));
    }
    // A frame header with offset 0 and scale 1: positions are the q values.
    Bytes& frame(int32_t records) { return u32(uint32_t(records)).f32(0).f32(0).f32(0).f32(1).f32(1).f32(1); }
};

bool loadBytes(MeshObject& mesh, const std::vector<uint8_t>& bytes, bool decodeNow = false)
{
    return loadMeshFromMemory(mesh, bytes.data(), bytes.size(), "memory", decodeNow);
}
bool loadText(MeshObject& mesh, const std::string& text)
{
    return loadMeshFromMemory(mesh, reinterpret_cast<const uint8_t*>(text.data()), text.size(), "text",
                              false);
}

// A one-frame mesh whose record k has the position (k, 0, 0) and the given palette value, or a marker.
MeshObjectX recordsWithValues(const std::vector<uint32_t>& values)
{
    MeshObjectX mesh;
    mesh.frames.resize(1);
    for (size_t k = 0; k < values.size(); ++k) {
        auto found = std::find(mesh.palette.begin(), mesh.palette.end(), values[k]);
        if (found == mesh.palette.end()) found = mesh.palette.insert(mesh.palette.end(), values[k]);
        PackedVertex record;
        record.qx = uint8_t(k);
        record.paletteIndex = uint8_t(found - mesh.palette.begin());
        mesh.frames[0].records.push_back(record);
    }
    return mesh;
}

// The x positions of the frame's triangle corners, which name the records they came from.
std::vector<int> cornerRecords(const MeshFrame& frame)
{
    std::vector<int> result;
    for (const MeshVertex& vertex : frame.triangles)
        result.push_back(int(vertex.position[0]));
    return result;
}

const uint32_t red = 0x000000FF;

} // namespace

// ---------------------------------------------------------------------------------------------
// Normal table
// ---------------------------------------------------------------------------------------------

// The table holds exactly the vertices of an icosahedron whose edges are split in four, projected
// onto the unit sphere; each entry is its own nearest normal.
TEST(MeshNormals, TableIsTheFourfoldSplitIcosahedron)
{
    const double g = (1 + std::sqrt(5.0)) / 2;
    std::vector<std::array<double, 3>> corners;
    for (double a : {-1.0, 1.0})
        for (double b : {-1.0, 1.0}) {
            corners.push_back({a, 0, b * g});
            corners.push_back({0, a * g, b});
            corners.push_back({a * g, b, 0});
        }
    // Every point i/4 of the way along an edge or inside a face: a*A + b*B + c*C with a+b+c = 4.
    std::vector<std::array<double, 3>> points;
    const double edge = 2.0;
    for (size_t i = 0; i < 12; ++i)
        for (size_t j = i + 1; j < 12; ++j)
            for (size_t k = j + 1; k < 12; ++k) {
                auto dist = [&](size_t a, size_t b) {
                    double s = 0;
                    for (int d = 0; d < 3; ++d)
                        s += (corners[a][d] - corners[b][d]) * (corners[a][d] - corners[b][d]);
                    return std::sqrt(s);
                };
                if (std::fabs(dist(i, j) - edge) > 1e-9 || std::fabs(dist(j, k) - edge) > 1e-9 ||
                    std::fabs(dist(i, k) - edge) > 1e-9)
                    continue;
                for (int a = 0; a <= 4; ++a)
                    for (int b = 0; a + b <= 4; ++b) {
                        int c = 4 - a - b;
                        std::array<double, 3> p;
                        double length = 0;
                        for (int d = 0; d < 3; ++d) {
                            p[d] = a * corners[i][d] + b * corners[j][d] + c * corners[k][d];
                            length += p[d] * p[d];
                        }
                        for (double& x : p)
                            x /= std::sqrt(length);
                        points.push_back(p);
                    }
            }

    EXPECT_FLOAT_EQ(meshNormalTable[0][0], -0.525731f);
    EXPECT_FLOAT_EQ(meshNormalTable[0][1], 0.0f);
    EXPECT_FLOAT_EQ(meshNormalTable[0][2], 0.850651f);
    for (int i = 0; i < meshNormalCount; ++i) {
        const float* n = meshNormalTable[i];
        bool onSphere = std::any_of(points.begin(), points.end(), [&](const std::array<double, 3>& p) {
            return std::fabs(p[0] - n[0]) < 2e-6 && std::fabs(p[1] - n[1]) < 2e-6 &&
                   std::fabs(p[2] - n[2]) < 2e-6;
        });
        EXPECT_TRUE(onSphere) << "entry " << i;
        EXPECT_EQ(nearestNormalIndex(n[0] * 3, n[1] * 3, n[2] * 3), i)
            << "entry " << i; // duplicates fail here
    }
    EXPECT_EQ(nearestNormalIndex(0, 0, 0), 0);
    EXPECT_EQ(nearestNormalIndex(0, 0, 1), 5);
}

// ---------------------------------------------------------------------------------------------
// Triangle assembly, colour, bounds
// ---------------------------------------------------------------------------------------------

TEST(MeshTriangles, StripAlternatesSoEveryTriangleKeepsItsWinding)
{
    MeshObjectX mesh = recordsWithValues({paletteStrip, red, red, red, red, red});
    mesh.prepare();
    // Records 1..5 are a b c d e: (a b c), (c b d), (c d e).
    EXPECT_EQ(cornerRecords(mesh.frames[0]), (std::vector<int>{1, 2, 3, 3, 2, 4, 3, 4, 5}));
}

TEST(MeshTriangles, FanSharesTheFirstVertex)
{
    MeshObjectX mesh = recordsWithValues({paletteFan, red, red, red, red, red});
    mesh.prepare();
    EXPECT_EQ(cornerRecords(mesh.frames[0]), (std::vector<int>{1, 2, 3, 1, 3, 4, 1, 4, 5}));
    EXPECT_EQ(mesh.drawList.size(), 9u);
}

TEST(MeshTriangles, MarkersRestartAndSeparateTrianglesAreTheDefault)
{
    // Two loose triangles, a strip cut short by a new fan, and a leftover pair that makes nothing.
    MeshObjectX mesh = recordsWithValues({red, red, red, red, red, red, paletteStrip, red, red, red, red,
                                          paletteFan, red, red, red, paletteTriangles, red, red});
    mesh.prepare();
    EXPECT_EQ(cornerRecords(mesh.frames[0]),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 9, 8, 10, 12, 13, 14}));
}

TEST(MeshTriangles, DecodingUsesPaletteTexturePositionAndNegatedV)
{
    MeshObjectX mesh;
    mesh.palette = {paletteFan, 0x00804020, paletteNoColour};
    mesh.u = {9, 0.25f, 0.5f, 0.75f};
    mesh.v = {9, 0.1f, 0.2f, 0.3f};
    MeshFrame frame;
    frame.offset[0] = 10;
    frame.scale[0] = 0.5f;
    frame.scale[1] = 2;
    frame.scale[2] = 1;
    frame.records = {
        {0, 0, 0, 0, 0, 0, 0}, {20, 3, 4, 5, 0, 0, 1}, {10, 0, 0, 11, 0, 0, 2}, {10, 1, 0, 0, 0, 0, 1}};
    mesh.frames.push_back(frame);
    mesh.prepare();
    ASSERT_EQ(mesh.frames[0].triangles.size(), 3u);
    const MeshVertex& a = mesh.frames[0].triangles[0];
    EXPECT_FLOAT_EQ(a.position[0], 5); // (20 - 10) * 0.5
    EXPECT_FLOAT_EQ(a.position[1], 6); // 3 * 2
    EXPECT_FLOAT_EQ(a.position[2], 4);
    EXPECT_FLOAT_EQ(a.normal[2], 1); // table entry 5
    EXPECT_FLOAT_EQ(a.u, 0.25f);     // texture coordinate 1: the marker record counts
    EXPECT_FLOAT_EQ(a.v, -0.1f);
    EXPECT_EQ(a.colour, 0x00804020u);
    EXPECT_EQ(a.paletteIndex, 1);
    EXPECT_FLOAT_EQ(a.red, 0x20 / 255.0f);
    EXPECT_FLOAT_EQ(a.green, 0x40 / 255.0f);
    EXPECT_FLOAT_EQ(a.blue, 0x80 / 255.0f);
    const MeshVertex& b = mesh.frames[0].triangles[1];
    EXPECT_FLOAT_EQ(b.red + b.green + b.blue, 3); // no colour: white
    EXPECT_TRUE(mesh.coloured);
}

TEST(MeshTriangles, WhiteAloneDoesNotMakeAMeshColoured)
{
    EXPECT_FALSE(
        paletteIsColoured({paletteWhite, paletteNoColour, paletteFan, paletteStrip, paletteTriangles}));
    EXPECT_TRUE(paletteIsColoured({paletteWhite, 0x00FFFFFE}));
    EXPECT_TRUE(paletteIsColoured({0}));
    MeshObjectX mesh = recordsWithValues({paletteWhite, paletteWhite, paletteWhite});
    mesh.prepare();
    EXPECT_FALSE(mesh.coloured);
}

TEST(MeshTriangles, BoundingSphereIsTheMeanAndTheFarthestVertex)
{
    MeshObjectX mesh = recordsWithValues({red, red, red, red, red, red}); // x = 0..5 on one line
    mesh.prepare();
    computeBoundingSpheres(mesh);
    EXPECT_FLOAT_EQ(mesh.frames[0].boundingCentre[0], 2.5f);
    EXPECT_FLOAT_EQ(mesh.frames[0].boundingRadius, 2.5f);

    MeshObjectX point = recordsWithValues({red, red, red});
    for (PackedVertex& record : point.frames[0].records)
        record.qx = 7;
    point.prepare();
    computeBoundingSpheres(point);
    EXPECT_FLOAT_EQ(point.frames[0].boundingCentre[0], 7);
    EXPECT_EQ(point.frames[0].boundingRadius, 0);
}

// Records that point past the normal table, the palette or the texture coordinates decode to
// something harmless instead of reading past the tables.
TEST(MeshTriangles, IndicesPastTheirTablesStayInBounds)
{
    MeshObjectX mesh;
    mesh.palette = {red};
    mesh.u = {0.5f};
    mesh.v = {0.5f};
    MeshFrame frame;
    frame.records = {{1, 0, 0, 161, 0, 0, 0}, {2, 0, 0, 162, 0, 0, 200}, {3, 0, 0, 255, 0, 0, 255}};
    mesh.frames.push_back(frame);
    mesh.prepare();
    ASSERT_EQ(mesh.frames[0].triangles.size(), 3u);
    const MeshVertex& past = mesh.frames[0].triangles[1];
    EXPECT_EQ(past.normal[0], 0);
    EXPECT_EQ(past.normal[1], 0);
    EXPECT_EQ(past.normal[2], 0);
    EXPECT_EQ(past.colour, paletteNoColour);
    EXPECT_EQ(past.u, 0);
    EXPECT_EQ(past.v, 0);
}

// ---------------------------------------------------------------------------------------------
// Packing
// ---------------------------------------------------------------------------------------------

TEST(MeshPacking, QuantisesEachAxisOverItsOwnRange)
{
    MeshObject mesh;
    MeshFrame frame;
    auto vertex = [](float x, float y, float z, uint32_t colour) {
        MeshVertex v;
        v.position[0] = x;
        v.position[1] = y;
        v.position[2] = z;
        v.normal[1] = 2; // not unit length: still the table's (0, 1, 0)
        v.colour = colour;
        return v;
    };
    MeshVertex marker;
    marker.colour = paletteFan;
    marker.position[0] = 1000; // markers take no part in the bounds
    frame.vertices = {marker, vertex(-2, 5, 3, red), vertex(3, 5, 3, 0x00FF0000), vertex(1, 5, 3, red)};
    ASSERT_TRUE(packFrame(mesh, frame));

    EXPECT_FLOAT_EQ(frame.scale[0], 5.0f / 255);
    EXPECT_FLOAT_EQ(frame.scale[1], 1); // no extent: scale 1
    EXPECT_FLOAT_EQ(frame.offset[0], 2 / (5.0f / 255));
    EXPECT_FLOAT_EQ(frame.offset[1], -5);
    ASSERT_EQ(frame.records.size(), 4u);
    EXPECT_EQ(frame.records[1].qx, 0);
    EXPECT_EQ(frame.records[2].qx, 255);
    EXPECT_EQ(frame.records[3].qx, 153); // 3 / (5 / 255)
    EXPECT_EQ(frame.records[1].qy, 0);
    EXPECT_EQ(frame.records[1].normalIndex, 32);
    EXPECT_EQ(mesh.palette, (std::vector<uint32_t>{paletteFan, red, 0x00FF0000}));
    EXPECT_EQ(frame.records[3].paletteIndex, 1);
    EXPECT_EQ(mesh.u.size(), 4u); // one texture coordinate per record
}

TEST(MeshPacking, MoreThan256ColoursFailAndLeaveTheMeshAsItWas)
{
    MeshObject mesh;
    MeshFrame frame;
    for (uint32_t c = 0; c < 256; ++c) {
        MeshVertex v;
        v.colour = c;
        frame.vertices.push_back(v);
    }
    EXPECT_TRUE(packFrame(mesh, frame));
    EXPECT_EQ(mesh.palette.size(), 256u);

    MeshFrame second;
    second.vertices = frame.vertices;
    second.vertices[10].colour = 1000;
    EXPECT_FALSE(packFrame(mesh, second));
    EXPECT_EQ(mesh.palette.size(), 256u);
    EXPECT_EQ(mesh.u.size(), 256u);
    EXPECT_TRUE(second.records.empty());
}

// ---------------------------------------------------------------------------------------------
// Binary files
// ---------------------------------------------------------------------------------------------

TEST_F(MeshFiles, SavedFileHasTheExactLayout)
{
    MeshObject mesh;
    mesh.palette = {paletteFan, 0x00123456};
    mesh.u = {0.5f, -1.25f};
    mesh.v = {2.0f, 0.75f};
    MeshFrame first;
    first.offset[0] = 1.5f;
    first.offset[1] = -2;
    first.offset[2] = 3;
    first.scale[0] = 0.25f;
    first.scale[1] = 4;
    first.scale[2] = 8;
    first.records = {{1, 2, 3, 4, 7, 9, 0}, {250, 251, 252, 161, 0, 0, 1}};
    MeshFrame second;
    mesh.frames = {first, second};
    ASSERT_TRUE(saveMesh(mesh, path("out.ddd").c_str()));

    std::vector<uint8_t> expected = {0x17, 0xB3, 0xC6, 0x00,                                      // magic
                                     0x52, 0xB8, 0x1E, 0x85, 0xEB, 0x51, 0xF0, 0x3F,              // 1.02
                                     2,    0,    0,    0,    2,    0,    0,    0,    2, 0, 0, 0}; // counts
    Bytes rest;
    rest.u32(paletteFan).u32(0x00123456);
    rest.f32(0.5f).f32(2.0f).f32(-1.25f).f32(0.75f);
    rest.u32(2).f32(1.5f).f32(-2).f32(3).f32(0.25f).f32(4).f32(8);
    rest.record(1, 2, 3, 4, 0).record(250, 251, 252, 161, 1); // the auxiliary indices are not written
    rest.u32(0).f32(0).f32(0).f32(0).f32(1).f32(1).f32(1);
    expected.insert(expected.end(), rest.data.begin(), rest.data.end());

    std::ifstream file(path("out.ddd"), std::ios::binary);
    std::vector<uint8_t> written((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(written, expected);

    // And it reads back as it was.
    MeshObject loaded;
    ASSERT_TRUE(loadMesh(loaded, path("out.ddd").c_str(), true));
    EXPECT_EQ(loaded.loaded, 1);
    EXPECT_EQ(loaded.palette, mesh.palette);
    EXPECT_EQ(loaded.u, mesh.u);
    EXPECT_EQ(loaded.v, mesh.v);
    ASSERT_EQ(loaded.frames.size(), 2u);
    EXPECT_EQ(loaded.frames[0].records[1].qz, 252);
    EXPECT_EQ(loaded.frames[0].records[0].auxIndexA, 0);
    EXPECT_EQ(loaded.frames[0].vertices.size(), 2u); // decodeNow
    EXPECT_FLOAT_EQ(loaded.frames[0].vertices[0].position[0], (1 - 1.5f) * 0.25f);
    EXPECT_EQ(meshFileBytes(loaded), expected);
    EXPECT_EQ(errorLog(), "");
}

TEST_F(MeshFiles, OtherBinaryVersionsAreRejectedWithTheMessage)
{
    for (double version : {1.0, 1.1, 1.0200000000000002}) {
        fs::remove(folder / "ErrorLog.txt");
        Bytes file;
        file.header(version, 1, 0, 0).frame(0);
        write(path("old.ddd"), file.data);
        MeshObject mesh;
        EXPECT_FALSE(loadMesh(mesh, path("old.ddd").c_str(), false));
        EXPECT_EQ(errorLog(), "Wrong .ddd version.\r\n# read error\r\n" + path("old.ddd") + "\r\n");
        EXPECT_TRUE(mesh.frames.empty());
    }
}

TEST_F(MeshFiles, MissingFileFailsWithoutALogLine)
{
    MeshObject mesh;
    mesh.palette = {1};
    EXPECT_FALSE(loadMesh(mesh, path("absent.ddd").c_str(), false));
    EXPECT_TRUE(mesh.palette.empty());
    EXPECT_EQ(errorLog(), "");
}

// Counts that do not fit the file, and files cut short anywhere, fail with the read error and leave
// the mesh empty.
TEST_F(MeshFiles, BadCountsAndShortFilesAreReadErrors)
{
    auto valid = [] {
        Bytes b;
        b.header(1.02, 2, 1, 2).u32(red).f32(0).f32(0).f32(1).f32(1);
        b.frame(2).record(0, 0, 0, 0, 0).record(1, 1, 1, 1, 0);
        b.frame(1).record(2, 2, 2, 2, 0);
        return b.data;
    };
    MeshObject mesh;
    ASSERT_TRUE(loadBytes(mesh, valid()));

    std::vector<std::vector<uint8_t>> bad;
    const std::vector<uint8_t> whole = valid();
    for (size_t cut = 0; cut < whole.size(); ++cut)
        bad.push_back({whole.begin(), whole.begin() + cut});
    auto withInt = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> b = valid();
        for (int i = 0; i < 4; ++i)
            b[at + i] = uint8_t(value >> (8 * i));
        return b;
    };
    bad.push_back(withInt(12, 0xFFFFFFFF)); // frame count -1
    bad.push_back(withInt(12, 0x7FFFFFFF)); // more frames than the file holds
    bad.push_back(withInt(16, 0x80000000)); // palette count negative
    bad.push_back(withInt(16, 0x40000000)); // palette larger than the file
    bad.push_back(withInt(20, 0x20000000)); // texture coordinates larger than the file
    bad.push_back(withInt(44, 0xFFFFFFFE)); // record count -2
    bad.push_back(withInt(82, 2));          // last frame claims a record more than it has
    bad.push_back(withInt(48, 0x7FC00000)); // offset not a number
    bad.push_back(withInt(60, 0x7F800000)); // scale infinite
    for (size_t i = 0; i < bad.size(); ++i) {
        fs::remove(folder / "ErrorLog.txt");
        mesh.palette = {1};
        EXPECT_FALSE(loadBytes(mesh, bad[i])) << "case " << i;
        EXPECT_EQ(errorLog(), "# read error\r\nmemory\r\n") << "case " << i;
        EXPECT_TRUE(mesh.frames.empty() && mesh.palette.empty() && mesh.u.empty()) << "case " << i;
        EXPECT_EQ(mesh.loaded, 0);
    }
}

// ---------------------------------------------------------------------------------------------
// Text files
// ---------------------------------------------------------------------------------------------

// A quad and a triangle in two frames (the second moved by 10 on x), with texture coordinates and
// colours; at 1.1 every vertex carries a normal.
const char* textMesh = R"(DDDA 1.1   # version
4  0 0  1 0  1 1  0 1      # texture coordinates
2                          # faces
255 0 0  4  0 0 1 1 2 2 3 3
0 0 255  3  0 0 2 2 4 1
2                          # frames
5   0 0 0 0 0 1   2 0 0 0 0 1   2 3 0 0 0 1   0 3 0 0 0 1   1 1 7 0 1 0
5  10 0 0 0 0 1  12 0 0 0 0 1  12 3 0 0 0 1  10 3 0 0 0 1  11 1 7 1 0 0
)";

TEST_F(MeshFiles, TextMeshSavedAndLoadedGivesTheSameTriangles)
{
    MeshObjectX text;
    ASSERT_TRUE(loadText(text, textMesh));
    EXPECT_EQ(text.loaded, 0); // only binary loads set it
    text.prepare();
    ASSERT_EQ(text.frames.size(), 2u);
    // The quad becomes the fan (0 1 2) (0 2 3), the triangle (0 2 4).
    const float expected[2][9][3] = {
        {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 0, 0}, {2, 3, 0}, {0, 3, 0}, {0, 0, 0}, {2, 3, 0}, {1, 1, 7}},
        {{10, 0, 0},
         {12, 0, 0},
         {12, 3, 0},
         {10, 0, 0},
         {12, 3, 0},
         {10, 3, 0},
         {10, 0, 0},
         {12, 3, 0},
         {11, 1, 7}}};
    ASSERT_TRUE(saveMesh(text, path("mesh.ddd").c_str()));
    MeshObjectX binary;
    ASSERT_TRUE(loadMesh(binary, path("mesh.ddd").c_str(), false));
    binary.prepare();
    EXPECT_EQ(binary.palette, text.palette);

    for (const MeshObjectX* mesh : {&text, &binary}) {
        for (int f = 0; f < 2; ++f) {
            const MeshFrame& frame = mesh->frames[f];
            ASSERT_EQ(frame.triangles.size(), 9u);
            for (int i = 0; i < 9; ++i) {
                const MeshVertex& vertex = frame.triangles[i];
                for (int axis = 0; axis < 3; ++axis) // half a step of this frame's axis
                    EXPECT_NEAR(vertex.position[axis], expected[f][i][axis],
                                frame.scale[axis] * 0.5f + 1e-5f);
                EXPECT_EQ(vertex.colour, i < 6 ? 0x000000FFu : 0x00FF0000u);
                const MeshVertex& same = binary.frames[f].triangles[i];
                EXPECT_EQ(0, memcmp(&vertex, &same, sizeof vertex)) << "frame " << f << " corner " << i;
            }
        }
        // Texture coordinate of corner 2 of the quad is (1, 1); drawing negates v.
        EXPECT_FLOAT_EQ(mesh->frames[0].triangles[2].u, 1);
        EXPECT_FLOAT_EQ(mesh->frames[0].triangles[2].v, -1);
        EXPECT_FLOAT_EQ(mesh->frames[0].triangles[8].normal[1], 1); // given normal (0 1 0)
        EXPECT_FLOAT_EQ(mesh->frames[1].triangles[8].normal[0], 1); // per frame: (1 0 0)
    }
    EXPECT_EQ(errorLog(), "");
}

// Before 1.1 a vertex is three numbers and the corners get the face's own normal; at 1.1 it is six.
TEST_F(MeshFiles, OldTextMeshesCarryThreeNumbersPerVertex)
{
    MeshObjectX old;
    ASSERT_TRUE(loadText(old, "DDDA 1.0 1 0 0  1 9 9 9 3 0 0 1 0 2 0  1  3  0 0 0  1 0 0  0 1 0"));
    old.prepare();
    ASSERT_EQ(old.frames[0].triangles.size(), 3u);
    EXPECT_FLOAT_EQ(old.frames[0].triangles[1].position[0], 1);
    EXPECT_FLOAT_EQ(old.frames[0].triangles[0].normal[2], 1); // counter-clockwise seen from +z

    // The same body read as 1.1 runs out of numbers.
    EXPECT_FALSE(loadText(old, "DDDA 1.1 1 0 0  1 9 9 9 3 0 0 1 0 2 0  1  3  0 0 0  1 0 0  0 1 0"));
    EXPECT_TRUE(loadText(
        old, "DDDA 1.1 1 0 0  1 9 9 9 3 0 0 1 0 2 0  1  3  0 0 0 0 0 -1  1 0 0 0 0 -1  0 1 0 0 0 -1"));
    old.prepare();
    EXPECT_FLOAT_EQ(old.frames[0].triangles[0].normal[2], -1);
    EXPECT_FALSE(loadText(old, "DDDA 1.2 0 0 0"));
    EXPECT_EQ(errorLog(), "# read error\r\ntext\r\n# read error\r\ntext\r\n");
}

TEST_F(MeshFiles, BadTextIsAReadError)
{
    const char* bad[] = {
        "",
        "DDDB 1.0 0 0 0",
        "DDDA",
        "DDDA x 0 0 0",
        "DDDA 1.0 -1 0 0",                                  // negative count
        "DDDA 1.0 1 0",                                     // missing v
        "DDDA 1.0 1 0 zero 0 0",                            // not a number
        "DDDA 1.0 1 0 0 1 1 2 3 1 0 1",                     // texture index past the list
        "DDDA 1.0 1 0 0 1 1 2 3 1 0 0 1 0",                 // missing frame vertices
        "DDDA 1.0 1 0 0 1 1 2 3 1 2 0 1 2 0 0 0 1 1 1",     // vertex index past the frame
        "DDDA 1.0 1 0 0 1 1 2 3 1 0 0 1 1 nan 0 0",         // not finite
        "DDDA 1.0 1 0 0 1 1 2 3 1 0 0 1 1 1e39 0 0",        // beyond float range
        "DDDA 1.0 1 0 0 1 1 2 3 1 0 0 99999999999 1 0 0 0", // more frames than the text could hold
        "DDDA 1.0 1 0 0 1 1 2 3 1 0 0 1 1 1 # the rest is a comment 0 0",
    };
    for (const char* text : bad) {
        fs::remove(folder / "ErrorLog.txt");
        MeshObject mesh;
        EXPECT_FALSE(loadText(mesh, text)) << text;
        EXPECT_EQ(errorLog(), "# read error\r\ntext\r\n") << text;
        EXPECT_TRUE(mesh.frames.empty() && mesh.palette.empty() && mesh.u.empty()) << text;
    }
    MeshObject mesh;
    EXPECT_TRUE(loadText(mesh, "#c\nDDDA#c\n1.0\t1 +0 0 1 1 2 3 1 0 0 1 1 1 0#c\n0 trailing"));
}

TEST_F(MeshFiles, TextWithMoreThan256ColoursIsAReadError)
{
    auto facesOfColours = [](int colours) {
        std::string text = "DDDA 1.0 1 0 0 " + std::to_string(colours);
        for (int i = 0; i < colours; ++i)
            text += " " + std::to_string(i % 256) + " " + std::to_string(i / 256) + " 0 1 0 0";
        return text + " 1 1 0 0 0";
    };
    MeshObject mesh;
    EXPECT_TRUE(loadText(mesh, facesOfColours(255))); // with the fan marker: 256 entries
    EXPECT_EQ(mesh.palette.size(), 256u);
    EXPECT_FALSE(loadText(mesh, facesOfColours(256)));
    EXPECT_EQ(errorLog(), "# read error\r\ntext\r\n");
}
