// Draws one fixed scene that uses every kind of 2D drawing in every alpha mode, in an order that keeps
// switching between them, and saves the game screen as a PNG. The display tests compare that picture
// byte for byte with a stored one, so any change to how drawing reaches OpenGL that alters a pixel
// shows up.
//   drawing_scene_host --save=PATH
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx2d/image_writer.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static std::string savePath;

// A picture as a BMP in the temp folder; colourAt gives 0xRRGGBB for each pixel.
template <class ColourAt>
static RtString writePicture(const char* name, int width, int height, ColourAt colourAt)
{
    std::vector<uint8_t> bgr(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t colour = colourAt(x, y);
            uint8_t* p = &bgr[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(colour), p[1] = uint8_t(colour >> 8), p[2] = uint8_t(colour >> 16);
        }
    std::string path = tempFolderPath() + name;
    writeImage(path.c_str(), bgr.data(), width, height, width, true);
    return RtString(path.c_str());
}

constexpr uint32_t key = 0xFF0080; // the sprite colour key as 0xRRGGBB

enum Slot
{
    card = 1,
    small = 2,
    odd = 3,
    grabbed = 4
};

static void loadPictures()
{
    rtLoadBackground(writePicture("scene_background.bmp", 320, 240, [](int x, int y) -> uint32_t {
        return uint32_t((x / 40 * 36) << 16 | (y / 30 * 32) << 8 | 0x60);
    }));
    // A card: keyed border, a face whose every texel differs from its neighbours, a diagonal stripe.
    rtLoadSprite(writePicture("scene_card.bmp", 64, 60,
                              [](int x, int y) -> uint32_t {
                                  if (x < 2 || y < 2 || x >= 62 || y >= 58) return key;
                                  if ((x + y) % 11 == 0) return 0xFFFFFF;
                                  return uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | 0x40;
                              }),
                 card);
    // Two halves, red and green, and a keyed corner.
    rtLoadSprite(writePicture("scene_small.bmp", 20, 10,
                              [](int x, int y) -> uint32_t {
                                  if (x == 0 && y == 0) return key;
                                  return x < 10 ? 0xFF0000 : 0x00FF00;
                              }),
                 small);
    // Odd sizes and sharp texel changes: filtering and half-pixel centres show.
    rtLoadSprite(writePicture("scene_odd.bmp", 13, 7,
                              [](int x, int y) -> uint32_t {
                                  if ((x ^ y) & 1) return key;
                                  return (x * 19 + y * 37) % 3 == 0 ? 0x2040FF : 0xFFD020;
                              }),
                 odd);
}

// One band of the scene: every kind of drawing, alternating textured and untextured.
static void drawBand(double alphaMode, double top)
{
    rtSetAlphaMode(alphaMode);
    rtDrawSprite(card, 2, top - 6);
    rtDrawRect(30, top + 2, 50, top + 20, 0x3080C0);
    rtDrawSprite(small, 10.2, top + 30.7);
    rtDrawSprite(odd, -0.5, top + 3);
    rtDrawLine(0, top, 90, top + 40, 0xFFFFFF);
    rtStretchSprite(small, 70, top + 2, 33, 17);
    rtDrawPixel(60, top + 25, 0x00FFFF);
    rtDrawPixel(62, top + 25, 0x8000FF);
    rtZoomSprite(odd, 80, top + 25, 1.7, 2.3);
    rtPrint("Ag!", 104.5, top + 1);
    rtDrawRect(130, top + 30, 118, top + 24, 0x8000FF);
    rtPrintNumber(-12.5, 100, top + 12);
    rtDrawSpriteRotated(card, 140, top - 8, 30);
    rtDrawLine(200, top + 5, 150, top + 44, 0xFF8000);
    rtDrawSpriteRotatedScaled(small, 210, top + 10, 135, 1.5);
    rtZoomSprite(small, 240, top + 20, -1, 1);

    rtBeginPolygon(-1);
    rtPolygonVertex(250, top, 0, 0, 0xFF0000);
    rtPolygonVertex(255, top + 40, 0, 0, 0x00FF00);
    rtPolygonVertex(285, top + 35, 0, 0, 0x0000FF);
    rtPolygonVertex(280, top + 5, 0, 0, 0x8000FF);
    rtEndPolygon();
    rtDrawSprite(small, 262, top + 14);
    rtBeginPolygon(card);
    rtPolygonVertex(288, top, 0, 0, 0xFFFFFF);
    rtPolygonVertex(288, top + 44, 0, 60, 0xFFFFFF);
    rtPolygonVertex(318, top + 44, 64, 60, 0x80FF80);
    rtPolygonVertex(318, top, 64, 0, 0xFFFFFF);
    rtEndPolygon();
    rtDrawRect(300, top + 40, 319, top + 42, 0xC0C0C0);
    rtDrawSprite(odd, 306, top + 20);
}

static void drawScene()
{
    // A frame that leaves odd state behind: the next frame must start as described all the same.
    rtSetAlphaMode(0.5);
    rtDrawRect(0, 0, 50, 50, 0xFFFFFF);
    rtDrawSprite(card, 10, 10);
    rtShowFrame();

    const double alphaModes[] = {0, 0.6, -0.6, -1, 2};
    for (int band = 0; band < 5; ++band)
        drawBand(alphaModes[band], 8 + band * 46);
    // A star of lines in every direction, blended so that a pixel drawn twice shows, and one with
    // fractional ends.
    rtSetAlphaMode(0.5);
    for (int i = 0; i < 40; ++i) {
        double angle = i * 2 * 3.14159265358979 / 40;
        rtDrawLine(160, 120, std::round(160 + 90 * std::cos(angle)), std::round(120 + 90 * std::sin(angle)),
                   0x4060A0 + i * 3);
    }
    rtDrawLine(20.3, 150.6, 70.8, 170.2, 0xA0A0A0);
    rtSetAlphaMode(0);

    // Reading textures back and grabbing the screen between draws.
    rtSpriteCollision(card, 0, 0, small, 5, 5);
    rtDrawSprite(small, 150, 2);
    rtGrabSprite(grabbed, 0, 0, 40, 30);
    rtSetAlphaMode(-0.7);
    rtDrawSprite(grabbed, 276, 200);
    rtDrawRect(270, 228, 300, 235, 0x00FF00);

    // A viewport moves the origin of everything drawn until the next frame.
    rtSetViewport(160, 200, 100, 40);
    rtSetAlphaMode(0);
    rtDrawSprite(odd, 3, 4);
    rtDrawLine(0, 0, 99, 39, 0xFFFF00);
    rtPrint("vp", 20, 20);
    rtDrawSprite(small, 90, 30);
}

static void hostMain()
{
    loadPictures();
    drawScene();
    rtSaveScreen(savePath.c_str());
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    settings.frameRate = 60;
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--save=", 7) == 0) savePath = argv[i] + 7;
    rtRunGame(argc, argv, settings, hostMain);
}
