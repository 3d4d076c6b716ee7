// A small game for the 2D display tests. It runs one scenario, reads the pixels it drew back from the
// screen and writes what it found to results.txt in its temp folder, one "name value" line each, then
// ends. Scenario "startup" instead leaves the start-up screen showing until it is killed.
//   gfx2d_host --scenario=NAME
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/images.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/sprite_drawing.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static std::string scenario;
static FILE* results = nullptr;

static void report(const std::string& name, double value)
{
    fprintf(results, "%s %.0f\n", name.c_str(), value);
}
static void reportPixel(const std::string& name, int x, int y)
{
    report(name, rtReadPixel(x, y));
}
static std::string tempFile(const char* name)
{
    return tempFolderPath() + name;
}

// A picture as a BMP in the temp folder; colourAt gives 0xRRGGBB for each pixel.
template <class ColourAt>
static std::string writePicture(const char* name, int width, int height, ColourAt colourAt)
{
    std::vector<uint8_t> bgr(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t colour = colourAt(x, y);
            uint8_t* p = &bgr[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(colour), p[1] = uint8_t(colour >> 8), p[2] = uint8_t(colour >> 16);
        }
    std::string path = tempFile(name);
    writeImage(path.c_str(), bgr.data(), width, height, width, true);
    return path;
}

// A 20 × 10 sprite: left half red, right half green, its top-left pixel the transparent key colour.
static void loadTestSprite(int slot)
{
    std::string path = writePicture("sprite.bmp", 20, 10, [](int x, int y) -> uint32_t {
        if (x == 0 && y == 0) return 0xFF0080;
        return x < 10 ? 0xFF0000 : 0x00FF00;
    });
    rtLoadSprite(path.c_str(), slot);
}

static void sprites()
{
    loadTestSprite(3);
    double width, height;
    rtSpriteSize(3, width, height);
    report("size.width", width);
    report("size.height", height);
    rtSpriteSize(70000, width, height);
    report("size.outside", width + height);
    rtSpriteSize(9, width, height);
    report("size.empty", width + height);

    rtClearScreen();
    rtDrawSprite(3, 10.2, 5.0);
    reportPixel("plain.first", 11, 5); // the key pixel: nothing drawn
    reportPixel("plain.second", 12, 5);
    reportPixel("plain.left", 10, 6);
    reportPixel("plain.last", 30, 14);
    reportPixel("plain.right", 31, 14);
    reportPixel("plain.below", 30, 15);
    rtDrawSprite(-5, 0, 0);
    rtDrawSprite(1e12, 0, 0);

    rtClearScreen();
    rtZoomSprite(3, 100, 100, 2, 2); // 40 × 20 at (90, 95)
    reportPixel("zoom.inside", 95, 105);
    reportPixel("zoom.topLeft", 90, 96);
    reportPixel("zoom.leftOut", 89, 100);
    reportPixel("zoom.aboveOut", 100, 94);
    reportPixel("zoom.bottomRight", 129, 114);
    reportPixel("zoom.rightOut", 130, 110);
    reportPixel("zoom.belowOut", 120, 115);

    rtClearScreen();
    rtZoomSprite(3, 100, 100, -1, 1);
    reportPixel("mirror.left", 102, 105);
    reportPixel("mirror.right", 117, 105);

    rtClearScreen();
    rtDrawSpriteRotated(3, 0, 0, 90); // turned about pixel (10, 5): the green right half points up
    reportPixel("rotated.top", 7, 0);
    reportPixel("rotated.bottom", 7, 12);
    reportPixel("rotated.leftOut", 3, 8);
    reportPixel("rotated.rightOut", 17, 8);

    rtClearScreen();
    rtDrawSpriteRotatedScaled(3, 0, 0, 0, 2); // 40 × 20 from (-10, -5) to (30, 15)
    reportPixel("scaled.inside", 25, 10);
    reportPixel("scaled.last", 29, 14);
    reportPixel("scaled.rightOut", 30, 10);
    reportPixel("scaled.belowOut", 10, 15);

    // In the scene with the 2D model-view (right = x, up = -y on the screen): standing on (100, 100),
    // scale 2 × a quarter of the width to each side and 2 × half the height up: columns 90 to 109,
    // rows 90 to 99, the picture at its natural size.
    rtClearScreen();
    drawSpriteInScene(*engine.renderer, 3, 100, -100, 0, 2);
    reportPixel("scene.left", 95, 95);
    reportPixel("scene.right", 105, 95);
    reportPixel("scene.leftOut", 89, 95);
    reportPixel("scene.belowOut", 95, 100);
    reportPixel("scene.aboveOut", 95, 89);

    rtClearScreen();
    rtStretchSprite(3, 50, 50, -20, 10);
    rtStretchSprite(3, 50, 50, 20, -10);
    reportPixel("stretch.negative", 45, 55);

    // Collisions: the key pixel of B does not count; touching rectangles do not collide.
    report("collide.overlap", rtSpriteCollision(3, 0, 0, 3, 10, 5));
    report("collide.touching", rtSpriteCollision(3, 0, 0, 3, 20, 0));
    report("collide.keyPixelOnly", rtSpriteCollision(3, 19, 9, 3, 0, 0)); // A's corner on B's key pixel
    report("collide.keyPixelOfB", rtSpriteCollision(3, 0, 0, 3, 19, 9));  // B's key pixel on A's corner
    report("collide.onePixel", rtSpriteCollision(3, 0, 0, 3, 19, 8));     // B's (0, 1) on A's (19, 9)
    report("collide.empty", rtSpriteCollision(3, 0, 0, 9, 0, 0));

    // Grabbing a 20 × 20 square makes a 32 × 32 texture that a second grab reuses.
    rtClearScreen();
    rtDrawRect(0, 0, 19, 19, 0x0000FF);
    rtGrabSprite(4, 0, 0, 20, 20);
    const SpriteSlot& grabbed = *engine.renderer->sprites.slot(4);
    GLuint texture = grabbed.textures[0];
    report("grab.textureWidth", grabbed.textureWidth);
    rtGrabSprite(4, 0, 0, 20, 20);
    report("grab.reused", grabbed.textures[0] == texture);
    report("grab.empty", rtGrabSprite(5, 0, 0, 0, 10));
    // Rectangles reaching past the screen keep their size, transparent beyond the screen.
    report("grab.offRight", rtGrabSprite(5, 320, 10, 20, 20));
    report("grab.corner", rtGrabSprite(6, -10, -12, 20, 20));
    rtSpriteSize(6, width, height);
    report("grab.corner.size", width * 1000 + height);
    report("grab.huge", rtGrabSprite(7, 300, 230, 600, 600));
    rtSpriteSize(7, width, height);
    report("grab.huge.size", width * 1000 + height);
    rtClearScreen();
    rtDrawSprite(4, 100, 100);
    reportPixel("grab.drawn", 110, 110);
    rtClearScreen();
    rtDrawSprite(6, 200, 200); // the screen's own corner, 10 × 8, at (10, 12) of the sprite
    reportPixel("grab.corner.first", 210, 212);
    reportPixel("grab.corner.last", 219, 219);
    reportPixel("grab.corner.before", 209, 211);
    rtDrawSprite(5, 100, 100);
    reportPixel("grab.offRight.drawn", 110, 110);
    report("save.emptySprite", rtSaveSprite(9, tempFile("empty.bmp").c_str()));
    report("save.sprite", rtSaveSprite(3, tempFile("sprite-saved.png").c_str()));
    ImageBuffer saved;
    readPng(tempFile("sprite-saved.png").c_str(), noColourKey, saved);
    report("save.sprite.width", saved.width);
    report("save.sprite.green", saved.pixels.empty() ? -1 : saved.pixel(15, 9)[1]);
}

static void primitives()
{
    rtClearScreen();
    rtDrawRect(10, 10, 10, 10, 0xFFFFFF);
    reportPixel("rect.one", 10, 10);
    reportPixel("rect.oneRight", 11, 10);
    reportPixel("rect.oneBelow", 10, 11);
    rtDrawRect(30, 20, 30, 25, 0xFFFFFF); // one pixel wide
    reportPixel("rect.oneWide", 30, 25);
    rtDrawRect(20, 5, 10, 1, 192);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{10, 1}, {20, 5}, {9, 3}, {21, 3}, {15, 0}, {15, 6}})
        reportPixel("rect." + std::to_string(x) + "." + std::to_string(y), x, y);

    rtDrawLine(0, 7, 319, 7, 0x00FF00);
    int lit = 0;
    for (int x = 0; x < 320; ++x)
        lit += rtReadPixel(x, 7) == 0x00FF00;
    report("line.lit", lit);
    reportPixel("line.above", 5, 6);
    rtDrawLine(40, 20, 40, 30, 0xFFFFFF);
    reportPixel("line.start", 40, 20);
    reportPixel("line.end", 40, 30);
    reportPixel("line.pastEnd", 40, 31);

    rtDrawPixel(5, 50, 0x8000FF);
    reportPixel("point.keyOpaque", 5, 50);
    reportPixel("point.beside", 6, 50);
    rtSetAlphaMode(-1);
    rtDrawPixel(5, 52, 0x8000FF);
    reportPixel("point.keyBlended", 5, 52);
    rtDrawPixel(7, 52, 0x123456);
    reportPixel("point.alphaOpaque", 7, 52);
    rtSetAlphaMode(0.5);
    rtDrawRect(60, 60, 70, 70, 0xFFFFFF);
    reportPixel("alpha.half", 65, 65);
    rtDrawRect(60, 60, 70, 70, 0xFFFFFF); // added again
    reportPixel("alpha.twice", 65, 65);
    rtSetAlphaMode(-3); // alpha blending at full strength
    report("alpha.intensity", engine.renderer->intensity * 100);
    rtSetAlphaMode(0);

    // Polygons: counter-clockwise on the screen is drawn, clockwise faces away.
    rtBeginPolygon(-1);
    rtPolygonVertex(100, 100, 0, 0, 0xFF0000);
    rtPolygonVertex(100, 140, 0, 0, 0xFF0000);
    rtPolygonVertex(140, 140, 0, 0, 0xFF0000);
    rtPolygonVertex(140, 100, 0, 0, 0xFF0000);
    rtEndPolygon();
    reportPixel("polygon.ccw", 120, 120);
    rtBeginPolygon(-1);
    rtPolygonVertex(200, 100, 0, 0, 0xFF0000);
    rtPolygonVertex(240, 100, 0, 0, 0xFF0000);
    rtPolygonVertex(240, 140, 0, 0, 0xFF0000);
    rtPolygonVertex(200, 140, 0, 0, 0xFF0000);
    rtEndPolygon();
    reportPixel("polygon.cw", 220, 120);
    // A textured polygon over the sprite's green half, tinted white, with many corners.
    loadTestSprite(3);
    rtBeginPolygon(3);
    rtPolygonVertex(150, 200, 12, 0, 0xFFFFFF);
    for (int i = 0; i < 10; ++i)
        rtPolygonVertex(150, 230, 12, 9, 0xFFFFFF);
    rtPolygonVertex(180, 230, 18, 9, 0xFFFFFF);
    rtPolygonVertex(180, 200, 18, 0, 0xFFFFFF);
    rtEndPolygon();
    reportPixel("polygon.textured", 170, 210);
    rtBeginPolygon(99999); // outside the table: untextured
    rtPolygonVertex(0, 0, 0, 0, 0xFF0000);
    rtEndPolygon();

    rtDrawRect(300, 200, 300, 200, 192);
    reportPixel("read.192", 300, 200);
    report("read.outside", rtReadPixel(-1, 5) + rtReadPixel(320, 5) + rtReadPixel(5, 1e9));
}

static void fonts()
{
    double width, height;
    rtFontSize(width, height); // start-up found no smalfont.bmp here: the built-in font
    report("builtin.width", width);
    report("builtin.height", height);
    rtClearScreen();
    rtPrint("AB", 10.5, 3);
    reportPixel("ab.aTop", 13, 4); // A's top bar: glyph columns 1 to 3 of row 0
    reportPixel("ab.bTop", 21, 4); // B starts 8 pixels on
    reportPixel("ab.aOutline", 12, 4);
    reportPixel("ab.gap", 18, 4); // the eighth column of A's cell
    rtPrint("!", 0, 20);
    for (int row = 0; row < 8; ++row)
        reportPixel("bang." + std::to_string(row), 3, 20 + row);
    rtPrintNumber(42, 0, 40);
    reportPixel("number.four", 2, 41); // the 4's top row lights glyph columns 1 and 3
    // Text in the scene, centred on the point: a strip of square cells, and (scale 0) screen text
    // above the point's projection. Both put "AB" around (50, 150) or (50, 200) with A from column 42.
    drawTextInScene(*engine.renderer, 0, "AB", 50, -150, 0, 1);
    reportPixel("sceneText.aTop", 44, 143);
    reportPixel("sceneText.bTop", 52, 143);
    drawTextInScene(*engine.renderer, 0, "AB", 50, -200, 0, 0);
    reportPixel("projectedText.aTop", 44, 193);
    reportPixel("projectedText.bTop", 52, 193);
    reportPixel("projectedText.before", 41, 193);
    rtPrint("", 0, 0);

    // A 256 × 128 font: 16 × 8 cells of 16 × 16; code 65 (and 193) in column 1, row 4.
    std::string path = writePicture("wide.bmp", 256, 128, [](int x, int y) -> uint32_t {
        return x >= 16 && x < 32 && y >= 64 && y < 80 ? 0x0000FF : 0;
    });
    rtLoadFont(path.c_str(), 2);
    rtFontSize(width, height);
    report("wide.width", width);
    report("wide.height", height);
    rtClearScreen();
    rtPrint("A\xC1"
            "B",
            100, 100);
    reportPixel("wide.a", 108, 108);
    reportPixel("wide.a193", 124, 108);
    reportPixel("wide.b", 140, 108);
    rtLoadFont("no such font.bmp", 20);
    rtFontSize(width, height);
    report("missing.font", engine.currentFont);
    report("missing.width", width);
    rtSetFont(-3);
    report("setFont.negative", engine.currentFont);
}

static void backgrounds()
{
    std::string path = writePicture("background.bmp", 700, 500, [](int x, int y) -> uint32_t {
        if (x == 5 && y == 5) return 0xFF0080; // the sprite key stays opaque in a background
        return x < 600 ? 0x3060A0 : 0xA06030;
    });
    rtLoadBackground(path.c_str());
    const BackgroundPicture& picture = engine.renderer->backgroundPictures[0];
    report("tiles.columns", picture.columns);
    report("tiles.rows", picture.rows);
    report("tiles.size", picture.tileTextureWidths[0]);
    reportPixel("drawn.at.once", 100, 100);
    rtDrawRect(0, 0, 319, 239, 0xFFFFFF);
    rtShowFrame();
    reportPixel("redrawn", 100, 100);
    reportPixel("key.opaque", 5, 5);

    report("save.bmp", rtSaveScreen(tempFile("shot.bmp").c_str()));
    report("save.png", rtSaveScreen(tempFile("shot.PNG").c_str()));
    report("save.unwritable", rtSaveScreen(tempFile("no/folder/shot.bmp").c_str()));
    ImageBuffer shot;
    readBmp(tempFile("shot.bmp").c_str(), noColourKey, shot);
    report("bmp.width", shot.width);
    report("bmp.height", shot.height);
    auto packed = [](const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16; };
    report("bmp.pixel", shot.pixels.empty() ? -1 : packed(shot.pixel(100, 100)));
    report("bmp.key", shot.pixels.empty() ? -1 : packed(shot.pixel(5, 5)));
    readPng(tempFile("shot.PNG").c_str(), noColourKey, shot);
    report("png.pixel", shot.pixels.empty() ? -1 : packed(shot.pixel(100, 100)));
    report("png.pixelAlpha", shot.pixels.empty() ? -1 : shot.pixel(100, 100)[3]);
    report("png.keyAlpha", shot.pixels.empty() ? -1 : shot.pixel(5, 5)[3]);

    rtLoadBackground("");
    report("empty.columns", engine.renderer->backgroundPictures[0].columns);
    reportPixel("empty.cleared", 100, 100);
    rtShowFrame();
    reportPixel("empty.nextFrame", 100, 100);

    // A grabbed screen becomes the background of the following frames.
    rtDrawRect(0, 0, 319, 239, 0x00C000);
    rtGrabBackground();
    rtShowFrame();
    reportPixel("grabbed", 200, 200);
    rtClearScreen();
    report("cleared.columns", engine.renderer->backgroundPictures[0].columns);

    double start = SDL_GetTicks();
    report("fade.missing", rtFadeInBackground(tempFile("missing.bmp").c_str()));
    report("fade.result", rtFadeInBackground(path.c_str()));
    report("fade.ms", SDL_GetTicks() - start);
    rtShowFrame();
    reportPixel("fade.background", 100, 100);
}

// Failed loads, each retried as a game that loads every frame would: the test counts the log lines.
static void loadFailures()
{
    FILE* junk = fopen(tempFile("junk.bmp").c_str(), "wb");
    fputs("not a picture", junk);
    fclose(junk);
    for (int i = 0; i < 100; ++i) {
        rtLoadSprite("missing_sprite.bmp", 1);
        rtLoadSprite(tempFile("junk.bmp").c_str(), 2);
        rtLoadFont("missing_font.bmp", 1);
        rtLoadBackground("missing_background.png");
    }
    rtLoadFont("", 1); // an empty name asks for the built-in font, which is no failure
}

// Handing GL to code that calls it directly (as the 3D scene does) and taking it back.
static void handOver()
{
    OpenGLRainbows& renderer = *engine.renderer;
    loadTestSprite(3);
    rtClearScreen();
    rtSetAlphaMode(-0.5);
    rtDrawSprite(3, 0, 0);
    rtDrawRect(50, 50, 60, 60, 0x00FF00); // a primitive leaves its own state behind
    renderer.prepareForDirectGl();
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    report("given.alphaTest", glIsEnabled(GL_ALPHA_TEST));
    report("given.texturing", glIsEnabled(GL_TEXTURE_2D));
    GLuint spriteTexture = renderer.sprites.slot(3)->textures[0];
    report("given.spriteBound", GLuint(texture) == spriteTexture);
    report("given.colour", colour[0] * 100 + colour[3] * 1000);

    // Direct calls change what the renderer set; after forgetGlState it sets it again.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTextureARB_(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, spriteTexture);
    glEnable(GL_TEXTURE_2D);
    glActiveTextureARB_(GL_TEXTURE0_ARB);
    glDisable(GL_BLEND);
    renderer.forgetGlState();
    rtSetAlphaMode(0);
    rtClearScreen();
    rtDrawSprite(3, 100, 100);
    reportPixel("taken.key", 100, 100);
    reportPixel("taken.red", 101, 100);
    reportPixel("taken.green", 110, 109);
}

static void hostMain()
{
    if (scenario == "startup") {
        for (;;)
            SDL_Delay(50); // the start-up screen stays until the test ends the program
    }
    results = fopen(tempFile("results.txt").c_str(), "w");
    if (scenario == "sprites") sprites();
    if (scenario == "primitives") primitives();
    if (scenario == "fonts") fonts();
    if (scenario == "backgrounds") backgrounds();
    if (scenario == "load_failures") loadFailures();
    if (scenario == "handOver") handOver();
    report("done", 1);
    fclose(results);
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    settings.frameRate = 60;
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--scenario=", 11) == 0) scenario = argv[i] + 11;
    rtRunGame(argc, argv, settings, hostMain);
}
