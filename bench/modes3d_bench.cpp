// The effect light's modes against plain drawing, on the display it runs on (run it under
// `xvfb-run -a` for software OpenGL): the time of one 3D frame drawing a closed 10 000-triangle mesh
// plainly, bump-mapped, ramp-shaded with its outline, and plainly with its stencil shadow volume and
// the closing darkening, each as a ratio to the plain frame. Prints figures; asserts nothing.
//   xvfb-run -a build/bench/modes3d_bench [--size=640x480]
#include <cmath>
#include <string>
#include <vector>

#include "bench/bench3d.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/platform/paths.h"

using namespace rt;

constexpr int meshSlot = 0, floorSlot = 1, normalMapSlot = 10;

// A ball of 50 rings × 100 sectors (10 000 triangles), closed, with smoothed normals and texture
// coordinates wrapped around it.
static void buildBall()
{
    constexpr int rings = 50, sectors = 100;
    rtSetNormalMode(2);
    rtStartObject(meshSlot);
    auto point = [](int ring, int sector) {
        double polar = M_PI * ring / rings, around = 2 * M_PI * sector / sectors;
        rtAddObjectVertex(30 * std::sin(polar) * std::sin(around), 30 * std::cos(polar),
                          30 * std::sin(polar) * std::cos(around), 4.0 * sector / sectors, 2.0 * ring / rings,
                          0x60A0E0);
    };
    for (int ring = 0; ring < rings; ++ring) {
        rtNewObjectStrip();
        for (int sector = 0; sector <= sectors; ++sector)
            point(ring, sector), point(ring + 1, sector);
    }
    rtEndObject();

    rtStartObject(floorSlot);
    rtNewObjectStrip();
    for (int i = 0; i < 4; ++i)
        rtAddObjectVertex(i % 2 ? 150 : -150, -40, i < 2 ? 150 : -150, 0, 0, 0xC0C0C0);
    rtEndObject();
}

// Rings of bumps as a height picture, loaded as a normal map.
static void loadNormalMap()
{
    constexpr int size = 128;
    std::vector<uint8_t> bgr(size * size * 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double height = 127.5 + 127.5 * std::sin(x * 0.3) * std::sin(y * 0.3);
            for (int c = 0; c < 3; ++c)
                bgr[size_t(y * size + x) * 3 + size_t(c)] = uint8_t(height);
        }
    std::string path = tempFolderPath() + "bench_bumps.bmp";
    writeImage(path.c_str(), bgr.data(), size, size, size, true);
    rtLoadNormalMap(path.c_str(), normalMapSlot);
    remove(path.c_str());
}

enum class Mode
{
    plain,
    bump,
    ramp,
    shadows,
};

static void drawFrame(Mode mode, int frame)
{
    rtStart3D(1, 1000, 60);
    rtSetCamera(0, 60, 140, 0, 0, 0);
    rtSetCulling(-1);
    rtSetLight(0, 0xFFFFFF, 0, 0, 0, -0.5, -1, -0.3, 180);
    if (mode == Mode::bump) {
        rtBind3DTextures(normalMapSlot, -1);
        rtSetLight(-1, 0xFFFFFF, 80, 90, 60, 0, 0, 0, 1);
    }
    if (mode == Mode::ramp) rtSetLight(-2, 0xFFFFFF, 80, 90, 60, 0, 0, 0, 1);
    rtDrawObjectFrame(floorSlot, 0);
    rtRotate(frame * 3.0, 0, 1, 0); // turned a little every frame: the per-vertex work is redone
    rtDrawObjectFrame(meshSlot, 0);
    if (mode == Mode::shadows) {
        rtSetLight(-3, 0xFFFFFF, 80, 90, 60, 0, 0, 0, 1);
        rtDrawObjectFrame(meshSlot, 0);
    }
    rtEnd3D();
}

// Milliseconds per frame over `frames` frames, each finished before the next.
static double frameMs(Mode mode, int frames)
{
    double ms = finishedMsPerRound(frames, [&](int frame) { drawFrame(mode, frame); });
    rtShowFrame();
    return ms;
}

static void benchMain()
{
    buildBall();
    loadNormalMap();
    const Mode modes[] = {Mode::plain, Mode::bump, Mode::ramp, Mode::shadows};
    const char* names[] = {"plain drawing", "bump mapping", "ramp shading and outline",
                           "plain + shadow volume and darkening"};
    // The machine may be shared: the modes are measured in turn, several times, and each keeps its best.
    double best[4] = {1e30, 1e30, 1e30, 1e30};
    for (int repeat = 0; repeat < 5; ++repeat)
        for (int m = 0; m < 4; ++m)
            best[m] = std::fmin(best[m], frameMs(modes[m], 20));
    printSetup(rtObjectTriangleCount(meshSlot));
    for (int m = 0; m < 4; ++m)
        printf("  %-36s %7.3f ms per frame, %.2f x plain\n", names[m], best[m], best[m] / best[0]);
    rtEnd();
}

int main(int argc, char** argv)
{
    rtRunGame(argc, argv, benchWindow(argc, argv, "3D modes benchmark"), benchMain);
}
