// A small game for the display tests of the effect light's modes. It runs one scenario, checks its
// pixels against what it works out itself and writes what it found to results.txt in its temp folder,
// one "name value" line each, then ends.
//   effect_light_host --scenario=shadows|ramp|bump
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx2d/image_writer.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"
#include "support/host_pixels.h"

using namespace rt;

static FILE* results = nullptr;

static void report(const std::string& name, double value)
{
    fprintf(results, "%s %.0f\n", name.c_str(), value);
}

static int red(double colour)
{
    return int(colour) & 0xFF;
}

// A square from -half to half in x and z at height y, wound to face up, as strips of cells × cells with
// texture coordinates 0..1 across it.
static void buildFloor(int slot, double half, double y, int cells, int colour)
{
    rtStartObject(slot);
    for (int row = 0; row < cells; ++row) {
        rtNewObjectStrip();
        for (int column = 0; column <= cells; ++column)
            for (int edge = 0; edge <= 1; ++edge) {
                double u = double(column) / cells, v = double(row + edge) / cells;
                rtAddObjectVertex(-half + 2 * half * u, y, -half + 2 * half * v, u, v, colour);
            }
    }
    rtEndObject();
}

// The box from -1 to 1 on each axis, six faces of two triangles, wound counter-clockwise seen from
// outside.
static void buildCube(int slot, int colour)
{
    rtStartObject(slot);
    for (int axis = 0; axis < 3; ++axis)
        for (int side : {-1, 1}) {
            int a = (axis + 1) % 3, b = (axis + 2) % 3;
            const double square[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
            rtNewObjectStrip();
            for (int i : side > 0 ? std::vector<int>{0, 1, 2, 3} : std::vector<int>{0, 2, 1, 3}) {
                double p[3];
                p[axis] = side, p[a] = square[i][0], p[b] = square[i][1];
                rtAddObjectVertex(p[0], p[1], p[2], 0, 0, colour);
            }
        }
    rtEndObject();
}

struct Box
{
    double low[3], high[3];
};

// Whether the segment from p to q passes through the box (slab test).
static bool segmentHits(const double p[3], const double q[3], const Box& box)
{
    double enter = 0, leave = 1;
    for (int axis = 0; axis < 3; ++axis) {
        double d = q[axis] - p[axis];
        if (std::fabs(d) < 1e-12) {
            if (p[axis] < box.low[axis] || p[axis] > box.high[axis]) return false;
            continue;
        }
        double t1 = (box.low[axis] - p[axis]) / d, t2 = (box.high[axis] - p[axis]) / d;
        enter = std::max(enter, std::min(t1, t2));
        leave = std::min(leave, std::max(t1, t2));
    }
    return enter < leave;
}

static void draw2D()
{
    rtDrawRect(100, 20, 140, 60, 0x336699);
    rtDrawLine(0, 100, 300, 130, 0xFFFFFF);
    rtPrint("Shadows", 20, 150);
    rtSetAlphaMode(-0.5);
    rtDrawRect(120, 40, 200, 90, 0x00FF00);
    rtSetAlphaMode(0);
}

// A grey floor with two boxes over it, one above the other so their shadows overlap, and light -3
// above: every floor pixel seen well away from a shadow edge must be halved exactly where a ray to the
// light is blocked.
static void shadows()
{
    draw2D();
    std::vector<uint8_t> without3D = screenBytes(320, 240);
    rtShowFrame();

    const double light[3] = {6, 30, 4};
    const Box boxes[2] = {{{-2, 3, -2}, {2, 6, 2}}, {{-1, 9, -3}, {3, 10, 1}}};
    buildFloor(1, 20, 0, 4, 0xC8C8C8);
    buildCube(2, 0x0000FF);
    rtStart3D(1, 200, 60);
    rtSetCamera(0, 28, 26, 0, 0, -2);
    rtDrawObjectFrame(1, 0);
    auto drawBoxes = [&] {
        for (const Box& box : boxes) {
            rtTranslate((box.low[0] + box.high[0]) / 2, (box.low[1] + box.high[1]) / 2,
                        (box.low[2] + box.high[2]) / 2);
            rtPushMatrix();
            rtScale((box.high[0] - box.low[0]) / 2, (box.high[1] - box.low[1]) / 2,
                    (box.high[2] - box.low[2]) / 2);
            rtDrawObjectFrame(2, 0);
            rtPopMatrix();
        }
        rtTranslate(0, 0, 0);
    };
    drawBoxes();
    rtSetLight(-3, 0xFFFFFF, light[0], light[1], light[2], 0, 0, 0, 1);
    drawBoxes();
    rtEnd3D();

    // Floor points on a grid: those the camera sees unblocked and whose light ray stays clear of the
    // shadow edges by a margin.
    rtStart3D(1, 200, 60);
    rtSetCamera(0, 28, 26, 0, 0, -2);
    const double eye[3] = {0, 28, 26};
    int checked = 0, wrong = 0, inside = 0, overlap = 0;
    for (double x = -12; x <= 12; x += 0.25)
        for (double z = -12; z <= 12; z += 0.25) {
            const double floor[3] = {x, 0, z};
            auto blockedNear = [&](const double to[3], double margin) {
                int blocked = 0;
                for (const Box& box : boxes) {
                    Box grown = box, shrunk = box;
                    for (int axis = 0; axis < 3; ++axis) {
                        grown.low[axis] -= margin, grown.high[axis] += margin;
                        shrunk.low[axis] += margin, shrunk.high[axis] -= margin;
                    }
                    if (segmentHits(floor, to, shrunk))
                        blocked += 2;
                    else if (segmentHits(floor, to, grown))
                        return -1; // too close to an edge to call
                }
                return blocked / 2;
            };
            if (blockedNear(eye, 0.4) != 0) continue;
            int blocked = blockedNear(light, 0.3);
            if (blocked < 0) continue;
            double sx = -1, sy = -1, depth = 0;
            rtProjectPoint(x, 0, z, sx, sy, depth);
            if (sx < 0 || sy < 0 || sx >= 320 || sy >= 240) continue;
            int value = red(rtReadPixel(std::floor(sx), std::floor(sy)));
            int want = blocked ? 164 : 200; // 200 blended half with grey 128
            ++checked;
            inside += blocked > 0;
            overlap += blocked > 1;
            if (std::abs(value - want) > 1) ++wrong;
        }
    report("shadow.checked", checked);
    report("shadow.inside", inside);
    report("shadow.overlap", overlap);
    report("shadow.wrong", wrong);

    // The pass left nothing behind: the stencil is clear and 2D drawing looks as it did before.
    std::vector<uint8_t> stencil(320 * 240);
    glReadPixels(0, 0, 320, 240, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
    report("stencil.nonZero",
           double(std::count_if(stencil.begin(), stencil.end(), [](uint8_t s) { return s; })));
    rtEnd3D();
    rtClearScreen();
    draw2D();
    report("after.differences", differentBytes(without3D, screenBytes(320, 240)));
    rtShowFrame();

    // A new viewport ends a pass still open: what is drawn after it shows.
    rtStart3D(1, 200, 60);
    rtSetLight(-3, 0xFFFFFF, light[0], light[1], light[2], 0, 0, 0, 1);
    rtSetViewport(0, 0, 0, 0);
    rtDrawRect(0, 0, 9, 9, 0x0000FF);
    report("viewport.drawnAfterPass", red(rtReadPixel(5, 5)));
    rtEnd3D();
}

// A sphere of radius 3 at the origin in strips from pole to pole, wound counter-clockwise seen from
// outside, with smoothed normals.
static void buildSphere(int slot, int colour)
{
    constexpr int rings = 16, sectors = 24;
    rtSetNormalMode(2);
    rtStartObject(slot);
    auto point = [&](int ring, int sector) {
        double polar = M_PI * ring / rings, around = 2 * M_PI * sector / sectors;
        rtAddObjectVertex(3 * std::sin(polar) * std::sin(around), 3 * std::cos(polar),
                          3 * std::sin(polar) * std::cos(around), 0, 0, colour);
    };
    for (int ring = 0; ring < rings; ++ring) {
        rtNewObjectStrip();
        for (int sector = 0; sector <= sectors; ++sector)
            point(ring, sector), point(ring + 1, sector);
    }
    rtEndObject();
    rtSetNormalMode(0);
}

// A white sphere in ramp shading over a blue backdrop: inside, only intensities the ramp gives (its
// steps and the blends between neighbouring steps); around it, a black ring between sphere and
// backdrop.
static void ramp()
{
    buildSphere(3, 0xFFFFFF);
    rtDrawRect(0, 0, 320, 240, 0xFF0000);
    rtStart3D(1, 100, 60);
    rtClearDepth();
    rtSetCamera(0, 0, 12, 0, 0, 0);
    rtSetCulling(-1);
    rtSetLight(0, 0xFFFFFF, 0, 0, 0, 0, 0, -1, 180); // plain lighting, which ramp shading replaces
    rtSetLight(-2, 0xFFFFFF, 20, 10, 30, 0, 0, 0, 1);
    rtDrawObjectFrame(3, 0);
    double cx = 0, cy = 0, depth = 0, ex = 0, ey = 0;
    rtProjectPoint(0, 0, 0, cx, cy, depth);
    rtProjectPoint(3, 0, 0, ex, ey, depth);
    double radius = ex - cx;
    int pixels = 0, onSteps = 0, outOfRange = 0;
    for (int y = int(cy - radius); y <= int(cy + radius); ++y)
        for (int x = int(cx - radius); x <= int(cx + radius); ++x) {
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) > radius * 0.85) continue;
            int r = red(rtReadPixel(x, y));
            ++pixels;
            outOfRange += r < 100;
            for (int step : {100, 160, 207, 255})
                onSteps += std::abs(r - step) <= 1;
        }
    report("ramp.pixels", pixels);
    report("ramp.onSteps", onSteps);
    report("ramp.outOfRange", outOfRange);

    // Along rays outwards from the centre: sphere, then black, then the backdrop.
    int ringed = 0;
    for (int ray = 0; ray < 16; ++ray) {
        double dx = std::cos(ray * M_PI / 8), dy = std::sin(ray * M_PI / 8);
        int state = 0; // 0 on the sphere, 1 on the ring, 2 on the backdrop
        for (double d = radius * 0.8; d < radius * 1.5 && state < 2; d += 0.25) {
            int colour = int(rtReadPixel(std::floor(cx + dx * d), std::floor(cy + dy * d)));
            if (colour == 0 && state == 0) state = 1;
            if (colour == 0xFF0000) state = state == 1 ? 2 : 3;
        }
        ringed += state == 2;
    }
    report("outline.rays", ringed);
    rtEnd3D();
    rtShowFrame();
}

// A height picture: flat black, or with a white line down the middle.
static std::string writeHeights(const char* name, bool ridge)
{
    constexpr int size = 64;
    std::vector<uint8_t> bgr(size * size * 3, 0);
    if (ridge)
        for (int y = 0; y < size; ++y)
            for (int x = 31; x <= 32; ++x)
                for (int c = 0; c < 3; ++c)
                    bgr[size_t(y * size + x) * 3 + size_t(c)] = 255;
    std::string path = tempFolderPath() + name;
    writeImage(path.c_str(), bgr.data(), size, size, size, true);
    return path;
}

// Bump mapping a floor seen from above: with a flat normal map it shows N.L of a point light at every
// pixel; a ridge in the map shows as a brighter and a darker line beside each other.
static void bump()
{
    rtLoadNormalMap(writeHeights("flat.bmp", false).c_str(), 20);
    rtLoadNormalMap(writeHeights("ridge.bmp", true).c_str(), 21);
    rtSetNormalMode(1);
    buildFloor(4, 4, 0, 16, 0xFFFFFF);
    rtSetNormalMode(0);
    const double light[3] = {5, 3, 2};
    auto drawWith = [&](int normalMap) {
        rtStart3D(1, 100, 60);
        rtSetCameraUp(0, 0, -1);
        rtSetCamera(0, 12, 0, 0, 0, 0);
        rtBind3DTextures(normalMap, -1);
        rtSetLight(-1, 0xFFFFFF, light[0], light[1], light[2], 0, 0, 0, 1);
        rtDrawObjectFrame(4, 0);
    };
    drawWith(20);
    int worst = 0;
    for (double x = -3.5; x <= 3.5; x += 0.5)
        for (double z = -3.5; z <= 3.5; z += 0.5) {
            double l[3] = {light[0] - x, light[1], light[2] - z};
            double lit = l[1] / std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
            worst = std::max(worst, std::abs(red(pixelAtPoint(x, 0, z)) - int(std::lround(255 * lit))));
        }
    report("bump.flatWorst", worst);

    double sx = 0, sy = 0, depth = 0;
    rtProjectPoint(0, 0, 0, sx, sy, depth);
    int row = int(sy), centre = int(sx);
    std::vector<int> flat(320);
    for (int x = 0; x < 320; ++x)
        flat[size_t(x)] = red(rtReadPixel(x, row));
    rtEnd3D();
    rtShowFrame();

    drawWith(21);
    int brighter = 0, darker = 0, far = 0;
    for (int x = 0; x < 320; ++x) {
        int difference = red(rtReadPixel(x, row)) - flat[size_t(x)];
        if (std::abs(x - centre) <= 8) {
            brighter = std::max(brighter, difference);
            darker = std::max(darker, -difference);
        } else if (std::abs(x - centre) > 16 && flat[size_t(x)] != 0) {
            far = std::max(far, std::abs(difference));
        }
    }
    report("ridge.brighter", brighter);
    report("ridge.darker", darker);
    report("ridge.far", far);
    rtEnd3D();
    rtShowFrame();
}

static void hostMain(const std::string& scenario)
{
    results = fopen((tempFolderPath() + "results.txt").c_str(), "w");
    if (scenario == "shadows") shadows();
    if (scenario == "ramp") ramp();
    if (scenario == "bump") bump();
    report("done", 1);
    fclose(results);
    rtEnd();
}

static std::string chosenScenario;

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--scenario=", 11) == 0) chosenScenario = argv[i] + 11;
    rtRunGame(argc, argv, settings, [] { hostMain(chosenScenario); });
}
