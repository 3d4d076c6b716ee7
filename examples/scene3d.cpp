// A small 3D scene: a terrain built from vertices, a crystal loaded from a mesh file, two lights, fog,
// a camera that orbits with the arrow keys, and a line of 2D text over it all.
//
//   scene3d [--frames=N] [--screenshot=FILE]   (N frames, then the screen saved to FILE and the end)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static int framesToRun = 0; // 0: until Escape
static std::string screenshotFile;

constexpr int terrainSlot = 0;
constexpr int crystalSlot = 1;
constexpr int gridSize = 32;      // terrain cells per side
constexpr double cellSize = 10.0; // world units per cell

static double terrainHeight(double x, double z)
{
    return 12 * std::sin(x * 0.035) * std::cos(z * 0.03) + 4 * std::sin((x + z) * 0.09);
}

// Packed colour red + green × 256 + blue × 65536: green valleys, brown slopes, white tops.
static int terrainColour(double height)
{
    if (height > 10) return 0xF0F0F0;
    if (height > 2) return 0x2A5A8A;
    return 0x2A9A3A;
}

// One triangle strip per row of cells; rtEndObject smooths the normals across the strips.
static void buildTerrain()
{
    rtSetNormalMode(2);
    rtStartObject(terrainSlot);
    double half = gridSize * cellSize / 2;
    for (int row = 0; row < gridSize; ++row) {
        rtNewObjectStrip();
        for (int column = 0; column <= gridSize; ++column) {
            double x = column * cellSize - half;
            for (int edge = 0; edge <= 1; ++edge) {
                double z = (row + edge) * cellSize - half;
                double y = terrainHeight(x, z);
                rtAddObjectVertex(x, y, z, column, row + edge, terrainColour(y));
            }
        }
    }
    rtEndObject();
}

// An eight-sided crystal as a text mesh: two four-sided pyramids base to base, one fan per face.
static std::string writeCrystal()
{
    std::string path = tempFolderPath() + "crystal.dda";
    FILE* file = fopen(path.c_str(), "w");
    if (!file) return path;
    fprintf(file, "DDDA 1.1\n1 0 0\n8\n");
    const int faces[8][3] = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 1},
                             {5, 2, 1}, {5, 3, 2}, {5, 4, 3}, {5, 1, 4}};
    for (int face = 0; face < 8; ++face)
        fprintf(file, "%d %d 255 3 %d 0 %d 0 %d 0\n", 120 + face * 15, 80 + face * 10, faces[face][0],
                faces[face][1], faces[face][2]);
    fprintf(file, "1\n6\n");
    const double corners[6][3] = {{0, 30, 0}, {12, 0, 0}, {0, 0, -12}, {-12, 0, 0}, {0, 0, 12}, {0, -30, 0}};
    for (const auto& c : corners) {
        double length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        fprintf(file, "%g %g %g %g %g %g\n", c[0], c[1], c[2], c[0] / length, c[1] / length, c[2] / length);
    }
    fclose(file);
    return path;
}

static void drawScene(double orbit, double height, double frame)
{
    double distance = 260;
    double eyeX = distance * std::sin(orbit / 57.2957795), eyeZ = distance * std::cos(orbit / 57.2957795);
    rtStart3D(2, 600, 60);
    rtSetCamera(eyeX, height, eyeZ, 0, 10, 0);
    rtSetFog(0x806040, 0, 150, 520);
    rtSetLight(0, 0xD0E0FF, 0, 0, 0, -0.4, -1, -0.3, 180); // the sun: parallel light from above
    rtSetLight(1, 0x3080FF, 0, 45, 0, 0, 0, 0, 120);       // a warm point light over the crystal
    rtSetCulling(0);

    rtDrawObjectFrame(terrainSlot, 0);

    rtTranslate(0, 40 + 6 * std::sin(frame * 0.05), 0);
    rtRotate(frame * 1.5, 0, 1, 0);
    rtDrawObjectFrame(crystalSlot, 0);
    rtTranslate(0, 0, 0);
    rtEnd3D();
}

static void gameMain()
{
    buildTerrain();
    rtLoadObject(writeCrystal().c_str(), crystalSlot);
    double orbit = 30, height = 120;
    for (int frame = 0; framesToRun == 0 || frame < framesToRun; ++frame) {
        if (rtKeyState(rtKeyLeft)) orbit -= 2;
        if (rtKeyState(rtKeyRight)) orbit += 2;
        if (rtKeyState(rtKeyUp)) height = std::fmin(height + 2, 300);
        if (rtKeyState(rtKeyDown)) height = std::fmax(height - 2, 20);
        drawScene(orbit, height, frame);
        rtPrint("3D scene - arrows orbit, Esc ends", 4, 4);
        if (framesToRun && frame == framesToRun - 1 && !screenshotFile.empty())
            rtSaveScreen(screenshotFile.c_str());
        rtShowFrame();
    }
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "3D scene";
    settings.fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], "--frames=", 9) == 0) framesToRun = atoi(argv[i] + 9);
        if (strncmp(argv[i], "--screenshot=", 13) == 0) screenshotFile = argv[i] + 13;
    }
    rtRunGame(argc, argv, settings, gameMain);
}
