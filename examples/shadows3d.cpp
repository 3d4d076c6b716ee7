// The effect light's three modes on one small scene: a stone floor, a ball and a spinning box under a
// light that circles above them. Space steps through plain lighting, bump mapping (the floor and the
// ball get a normal map), ramp shading with black outlines, and stencil shadows.
//
//   shadows3d [--mode=0..3] [--frames=N] [--screenshot=FILE]   (N frames, then the screen saved to FILE)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

static int framesToRun = 0; // 0: until Escape
static int mode = 0;
static std::string screenshotFile;

constexpr int floorSlot = 0, ballSlot = 1, boxSlot = 2;
constexpr int stoneSlot = 1, stoneBumpsSlot = 2;
const char* const modeNames[4] = {"plain lighting", "bump mapping", "ramp shading", "stencil shadows"};

// A floor of 16 × 16 cells, each a strip facing up, with the texture repeated once per cell; wide enough
// to catch every shadow the circling light casts.
static void buildFloor()
{
    rtSetNormalMode(1);
    rtStartObject(floorSlot);
    for (int row = 0; row < 16; ++row) {
        rtNewObjectStrip();
        for (int column = 0; column <= 16; ++column)
            for (int edge = 0; edge <= 1; ++edge)
                rtAddObjectVertex(column * 25 - 200, 0, (row + edge) * 25 - 200, column, row + edge,
                                  0xB0B0B0);
    }
    rtEndObject();
}

// A ball of radius 20 in strips from pole to pole, wound counter-clockwise seen from outside.
static void buildBall()
{
    constexpr int rings = 18, sectors = 32;
    rtSetNormalMode(2);
    rtStartObject(ballSlot);
    auto point = [](int ring, int sector) {
        double polar = M_PI * ring / rings, around = 2 * M_PI * sector / sectors;
        rtAddObjectVertex(20 * std::sin(polar) * std::sin(around), 20 * std::cos(polar),
                          20 * std::sin(polar) * std::cos(around), 4.0 * sector / sectors, 2.0 * ring / rings,
                          0x3070E0);
    };
    for (int ring = 0; ring < rings; ++ring) {
        rtNewObjectStrip();
        for (int sector = 0; sector <= sectors; ++sector)
            point(ring, sector), point(ring + 1, sector);
    }
    rtEndObject();
}

// A box from -16 to 16, one strip per face, each face its own colour and flat normal. (Built at its
// size rather than scaled: lighting takes normals as the transform leaves them.)
static void buildBox()
{
    const int colours[6] = {0x30C030, 0x30C030, 0x20A0F0, 0x20A0F0, 0xD06040, 0xD06040};
    rtSetNormalMode(1);
    rtStartObject(boxSlot);
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            int a = (axis + 1) % 3, b = (axis + 2) % 3;
            const double square[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
            const int order[2][4] = {{0, 2, 1, 3}, {0, 1, 2, 3}};
            rtNewObjectStrip();
            for (int i : order[side]) {
                double p[3];
                p[axis] = side ? 16 : -16, p[a] = 16 * square[i][0], p[b] = 16 * square[i][1];
                rtAddObjectVertex(p[0], p[1], p[2], 0, 0, colours[axis * 2 + side]);
            }
        }
    rtEndObject();
}

// Stone slabs drawn on the screen, grabbed and saved as pictures: their colours, and the heights (blue
// channel) the normal map is made from, low along the joints and grained on top.
static void makeStoneTextures()
{
    constexpr int size = 64;
    auto drawSlabs = [](bool heights) {
        rtDrawRect(0, 0, size - 1, size - 1, heights ? 0x000000 : 0x404850);
        for (int slab = 0; slab < 4; ++slab) {
            int left = (slab % 2) * 32 + 3, top = (slab / 2) * 32 + 3;
            for (int line = 0; line < 29; ++line) {
                double grain = 0.5 + 0.5 * std::sin(line * 1.3 + slab * 2.0);
                int level = int((heights ? 180 : 140) + 60 * grain);
                rtDrawLine(left, top + line, left + 28, top + line, heights ? level << 16 : level * 0x010101);
            }
        }
    };
    std::string heightFile = rt::tempFolderPath() + "stone_heights.bmp";
    drawSlabs(false);
    rtGrabSprite(stoneSlot, 0, 0, size, size);
    drawSlabs(true);
    rtGrabSprite(stoneBumpsSlot, 0, 0, size, size);
    rtSaveSprite(stoneBumpsSlot, heightFile.c_str());
    rtLoadNormalMap(heightFile.c_str(), stoneBumpsSlot);
    rtClearScreen();
}

static void drawScene(int frame)
{
    double turn = frame * 0.02;
    double lightX = 70 * std::cos(turn), lightZ = 70 * std::sin(turn), lightY = 120;
    rtStart3D(2, 800, 60);
    rtSetCamera(0, 110, 190, 0, 10, 0);
    rtSetCulling(-1);
    rtSetLight(0, 0xE0E0E0, lightX, lightY, lightZ, 0, 0, 0, 120);
    if (mode == 1) rtSetLight(-1, 0xFFFFFF, lightX, lightY, lightZ, 0, 0, 0, 1);
    if (mode == 2) rtSetLight(-2, 0xFFFFFF, lightX, lightY, lightZ, 0, 0, 0, 1);

    // The floor in stone (bumpy under bump mapping), the ball plain orange (bumpy stone under bump
    // mapping), the box in its face colours.
    auto drawObjects = [&](bool forShadows) {
        if (!forShadows) {
            rtBind3DTextures(stoneSlot, mode == 1 ? stoneBumpsSlot : -1);
            rtDrawObjectFrame(floorSlot, 0);
        }
        rtBind3DTextures(mode == 1 ? stoneBumpsSlot : -1, -1);
        rtTranslate(-35, 25, 0);
        rtDrawObjectFrame(ballSlot, 0);
        rtBind3DTextures(-1, -1);
        rtTranslate(40, 30, 10);
        rtRotate(frame * 1.5, 0, 1, 0);
        rtRotate(30, 1, 0, 1);
        rtDrawObjectFrame(boxSlot, 0);
        rtTranslate(0, 0, 0);
    };
    drawObjects(false);
    if (mode == 3) {
        // The casters again, now counted into the stencil as shadow volumes.
        rtSetLight(-3, 0xFFFFFF, lightX, lightY, lightZ, 0, 0, 0, 1);
        drawObjects(true);
    }
    rtEnd3D();
}

static void gameMain()
{
    buildFloor();
    buildBall();
    buildBox();
    makeStoneTextures();
    bool spaceWasDown = false;
    for (int frame = 0; framesToRun == 0 || frame < framesToRun; ++frame) {
        bool spaceDown = rtKeyState(rtKeySpace) != 0;
        if (spaceDown && !spaceWasDown) mode = (mode + 1) % 4;
        spaceWasDown = spaceDown;
        drawScene(frame);
        rtPrint((std::string("Space: ") + modeNames[mode] + ", Esc ends").c_str(), 4, 4);
        if (framesToRun && frame == framesToRun - 1 && !screenshotFile.empty())
            rtSaveScreen(screenshotFile.c_str());
        rtShowFrame();
    }
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "3D lights and shadows";
    settings.fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], "--frames=", 9) == 0) framesToRun = atoi(argv[i] + 9);
        if (strncmp(argv[i], "--mode=", 7) == 0) mode = atoi(argv[i] + 7) & 3;
        if (strncmp(argv[i], "--screenshot=", 13) == 0) screenshotFile = argv[i] + 13;
    }
    rtRunGame(argc, argv, settings, gameMain);
}
