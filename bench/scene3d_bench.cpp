// 3D figures on the display it runs on (run it under `xvfb-run -a` for software OpenGL):
// - triangles per second through rtDrawObject for a 100 000-triangle mesh, one key frame and blended
//   between two, side by side with the same triangles drawn by one glDrawArrays call from a buffer
//   (the ceiling of the driver), as a ratio;
// - collision queries per second (sphere, box, ray) against a 10 000-triangle mesh.
// Prints figures; asserts nothing.
//   xvfb-run -a build/bench/scene3d_bench [--size=640x480]
#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "bench/bench3d.h"
#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/mesh_file.h"
#include "runtime/platform/paths.h"

using namespace rt;

constexpr int drawSlot = 0, querySlot = 1;

// A square grid of cells × cells, two triangles each, over -100..100 in x and y; frame 1 is frame 0
// with a wave in z, so blending has work to do.
static MeshFrame gridFrame(MeshObject& mesh, int cells, float wave)
{
    MeshFrame frame;
    MeshVertex marker;
    marker.colour = paletteTriangles;
    frame.vertices.push_back(marker);
    auto corner = [&](int i, int j) {
        MeshVertex vertex;
        vertex.position[0] = -100 + 200.0f * i / cells;
        vertex.position[1] = -100 + 200.0f * j / cells;
        vertex.position[2] = wave * std::sin(i * 0.2f) * std::cos(j * 0.2f);
        vertex.normal[2] = 1;
        vertex.colour = 0x40C080;
        frame.vertices.push_back(vertex);
    };
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            corner(i, j), corner(i + 1, j), corner(i, j + 1);
            corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1);
        }
    packFrame(mesh, frame);
    frame.vertices.clear();
    return frame;
}

static bool loadGrid(int slot, int cells)
{
    MeshObject mesh;
    mesh.frames.push_back(gridFrame(mesh, cells, 0));
    mesh.frames.push_back(gridFrame(mesh, cells, 10));
    std::string path = tempFolderPath() + "bench_grid.ddd";
    bool loaded = saveMesh(mesh, path.c_str()) && rtLoadObject(path.c_str(), slot) == 1;
    remove(path.c_str());
    return loaded;
}

static void startView()
{
    rtStart3D(1, 1000, 60);
    rtSetCamera(0, 0, 260, 0, 0, 0);
    rtSetCameraLight(0, 0xFFFFFF);
}

// Triangles per second over `rounds` draws, each finished before the next.
template <class Draw> static double trianglesPerSecond(double triangles, int rounds, Draw draw)
{
    startView();
    double ms = finishedMsPerRound(rounds, [&](int) { draw(); });
    rtEnd3D();
    rtShowFrame();
    return triangles * 1000 / ms;
}

// The ceiling's buffer: the runtime's own triangle list of frame 0, read back corner by corner, in the
// same vertex layout.
static GLuint referenceBuffer(double triangles)
{
    RtArray corners;
    std::vector<MeshVertex> vertices(size_t(triangles) * 3);
    for (size_t t = 0; t < size_t(triangles); ++t) {
        rtGetObjectTriangle(drawSlot, 0, double(t), corners);
        for (int c = 0; c < 3; ++c) {
            MeshVertex& vertex = vertices[t * 3 + size_t(c)];
            for (int axis = 0; axis < 3; ++axis)
                vertex.position[axis] = float(rtArrayAt(corners, c, axis, 0, 0));
            vertex.normal[2] = 1;
        }
    }
    GLuint buffer = 0;
    glGenBuffersARB_(1, &buffer);
    glBindBufferARB_(GL_ARRAY_BUFFER_ARB, buffer);
    glBufferDataARB_(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(vertices.size() * sizeof(MeshVertex)),
                     vertices.data(), GL_STATIC_DRAW_ARB);
    glBindBufferARB_(GL_ARRAY_BUFFER_ARB, 0);
    return buffer;
}

// The same triangles and state as the runtime's draw, one glDrawArrays from the buffer.
static void drawReference(GLuint buffer, GLsizei vertexCount)
{
    glBindBufferARB_(GL_ARRAY_BUFFER_ARB, buffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex), nullptr);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<void*>(offsetof(MeshVertex, normal)));
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glBindBufferARB_(GL_ARRAY_BUFFER_ARB, 0);
}

template <class Query> static double queriesPerSecond(Query query)
{
    int count = 0;
    double hits = 0, start = nowMs();
    while (nowMs() - start < 1000) {
        for (int i = 0; i < 64; ++i, ++count)
            hits += query(count);
    }
    double perSecond = count * 1000 / (nowMs() - start);
    printf("  (%.0f of %d hit)\n", hits, count);
    return perSecond;
}

static void benchMain()
{
    if (!loadGrid(drawSlot, 224) || !loadGrid(querySlot, 71)) {
        printf("the benchmark meshes could not be made\n");
        rtEnd();
    }
    double triangles = rtObjectTriangleCount(drawSlot);
    GLuint buffer = referenceBuffer(triangles);
    // The machine may be shared: the three are measured in turn, several times, and each keeps its best.
    const int rounds = 5, repeats = 5;
    double ceiling = 0, oneFrame = 0, blended = 0;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        ceiling = std::fmax(ceiling, trianglesPerSecond(triangles, rounds, [&] {
                                drawReference(buffer, GLsizei(triangles * 3));
                            }));
        oneFrame = std::fmax(oneFrame,
                             trianglesPerSecond(triangles, rounds, [] { rtDrawObjectFrame(drawSlot, 0); }));
        blended = std::fmax(
            blended, trianglesPerSecond(triangles, rounds, [] { rtDrawObject(drawSlot, 0, 1, 0.5, 0); }));
    }
    glDeleteBuffersARB_(1, &buffer);
    printSetup(triangles);
    printf("  one glDrawArrays from a buffer: %6.2f M triangles/s (the ceiling)\n", ceiling / 1e6);
    printf("  rtDrawObject, one key frame:    %6.2f M triangles/s, %.2f of the ceiling\n", oneFrame / 1e6,
           oneFrame / ceiling);
    printf("  rtDrawObject, two frames blended: %4.2f M triangles/s, %.2f of the ceiling\n", blended / 1e6,
           blended / ceiling);

    printf("collision queries on %.0f triangles:\n", rtObjectTriangleCount(querySlot));
    auto spot = [](int i, double scale) { return std::fmod(i * 37.0, 200.0) * scale - 100 * scale; };
    double spheres = queriesPerSecond(
        [&](int i) { return rtObjectHitsSphere(querySlot, 0, 3, spot(i, 1), spot(i * 7, 1), 2); });
    printf("  sphere: %.0f queries/s\n", spheres);
    double boxes = queriesPerSecond(
        [&](int i) { return rtObjectHitsBox(querySlot, 0, spot(i, 1), spot(i * 7, 1), 2, 4, 4); });
    printf("  box:    %.0f queries/s\n", boxes);
    double rays = queriesPerSecond([&](int i) {
        return double(rtObjectRayDistance(querySlot, 0, spot(i, 1), spot(i * 7, 1), 50, 0.1, 0, -1) != 0);
    });
    printf("  ray:    %.0f queries/s\n", rays);
    rtEnd();
}

int main(int argc, char** argv)
{
    rtRunGame(argc, argv, benchWindow(argc, argv, "3D benchmark"), benchMain);
}
