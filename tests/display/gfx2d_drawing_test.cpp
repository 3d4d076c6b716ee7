// 2D drawing on a real X display with software OpenGL: the host draws, reads its pixels back from the
// game screen and reports them; the start-up screen is checked in the window itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "support/host_results.h"
#include "support/x_session.h"

namespace {

const std::string host = RT_BUILD_DIR "/tests/hosts/gfx2d_host";
constexpr int timeoutMs = 60000;
// Packed colours as the game sees them: red + green × 256 + blue × 65536.
constexpr double black = 0, red = 0xFF, green = 0xFF00, blue = 0xFF0000, white = 0xFFFFFF, outline = 0x080808;

} // namespace

TEST(Gfx2dDrawing, SpritesArePlacedZoomedRotatedAndCollidedToThePixel)
{
    auto v = runHostScenario(host, "sprites");
    EXPECT_EQ(v["size.width"], 20);
    EXPECT_EQ(v["size.height"], 10);
    EXPECT_EQ(v["size.outside"], 0);
    EXPECT_EQ(v["size.empty"], 0);

    // rtDrawSprite(s, 10.2, 5): columns 11 to 30, rows 5 to 14; the key pixel is not drawn.
    EXPECT_EQ(v["plain.first"], black);
    EXPECT_EQ(v["plain.second"], red);
    EXPECT_EQ(v["plain.left"], black);
    EXPECT_EQ(v["plain.last"], green);
    EXPECT_EQ(v["plain.right"], black);
    EXPECT_EQ(v["plain.below"], black);

    // Zoom 2 about the centre: 40 × 20 from (90, 95); the edge pixels are filtered but drawn.
    EXPECT_EQ(v["zoom.inside"], red);
    EXPECT_NE(v["zoom.topLeft"], black);
    EXPECT_NE(v["zoom.bottomRight"], black);
    EXPECT_EQ(v["zoom.leftOut"], black);
    EXPECT_EQ(v["zoom.aboveOut"], black);
    EXPECT_EQ(v["zoom.rightOut"], black);
    EXPECT_EQ(v["zoom.belowOut"], black);
    EXPECT_EQ(v["mirror.left"], red) << "a negative zoom does not mirror";
    EXPECT_EQ(v["mirror.right"], green);

    // 90 degrees counter-clockwise about pixel (10, 5): columns 5 to 14, green half on top.
    EXPECT_EQ(v["rotated.top"], green);
    EXPECT_EQ(v["rotated.bottom"], red);
    EXPECT_EQ(v["rotated.leftOut"], black);
    EXPECT_EQ(v["rotated.rightOut"], black);
    // Zoom 2 without turning: from (-10, -5) to (30, 15).
    EXPECT_EQ(v["scaled.inside"], green);
    EXPECT_NE(v["scaled.last"], black);
    EXPECT_EQ(v["scaled.rightOut"], black);
    EXPECT_EQ(v["scaled.belowOut"], black);
    EXPECT_EQ(v["stretch.negative"], black);
    EXPECT_EQ(v["scene.left"], red);
    EXPECT_EQ(v["scene.right"], green);
    EXPECT_EQ(v["scene.leftOut"], black);
    EXPECT_EQ(v["scene.belowOut"], black);
    EXPECT_EQ(v["scene.aboveOut"], black);

    EXPECT_EQ(v["collide.overlap"], 1);
    EXPECT_EQ(v["collide.touching"], 0);
    EXPECT_EQ(v["collide.keyPixelOnly"], 0);
    EXPECT_EQ(v["collide.keyPixelOfB"], 0);
    EXPECT_EQ(v["collide.onePixel"], 1);
    EXPECT_EQ(v["collide.empty"], 0);

    EXPECT_EQ(v["grab.textureWidth"], 32);
    EXPECT_EQ(v["grab.reused"], 1);
    EXPECT_EQ(v["grab.empty"], 0);
    EXPECT_EQ(v["grab.drawn"], red);
    EXPECT_EQ(v["grab.offRight"], 1);
    EXPECT_EQ(v["grab.offRight.drawn"], black);
    EXPECT_EQ(v["grab.corner"], 1);
    EXPECT_EQ(v["grab.corner.size"], 20020);
    EXPECT_EQ(v["grab.huge"], 1);
    EXPECT_EQ(v["grab.huge.size"], 600600);
    EXPECT_EQ(v["grab.corner.first"], red);
    EXPECT_EQ(v["grab.corner.last"], red);
    EXPECT_EQ(v["grab.corner.before"], black);
    EXPECT_EQ(v["save.emptySprite"], 0);
    EXPECT_EQ(v["save.sprite"], 1);
    EXPECT_EQ(v["save.sprite.width"], 20);
    EXPECT_EQ(v["save.sprite.green"], 255);
}

TEST(Gfx2dDrawing, PrimitivesHitTheirEndPixelsAndBlendAsTheAlphaModeSays)
{
    auto v = runHostScenario(host, "primitives");
    EXPECT_EQ(v["rect.one"], white);
    EXPECT_EQ(v["rect.oneRight"], black);
    EXPECT_EQ(v["rect.oneBelow"], black);
    EXPECT_EQ(v["rect.oneWide"], white);
    EXPECT_EQ(v["rect.10.1"], 192);
    EXPECT_EQ(v["rect.20.5"], 192);
    EXPECT_EQ(v["rect.9.3"], black);
    EXPECT_EQ(v["rect.21.3"], black);
    EXPECT_EQ(v["rect.15.0"], black);
    EXPECT_EQ(v["rect.15.6"], black);

    EXPECT_EQ(v["line.lit"], 320);
    EXPECT_EQ(v["line.above"], black);
    EXPECT_EQ(v["line.start"], white);
    EXPECT_EQ(v["line.end"], white);
    EXPECT_EQ(v["line.pastEnd"], black);

    EXPECT_EQ(v["point.keyOpaque"], 0x8000FF) << "without blending the transparent colour shows";
    EXPECT_EQ(v["point.beside"], black);
    EXPECT_EQ(v["point.keyBlended"], black);
    EXPECT_EQ(v["point.alphaOpaque"], 0x123456);
    EXPECT_EQ(v["alpha.half"], 0x7F7F7F);
    EXPECT_EQ(v["alpha.twice"], 0xFEFEFE);
    EXPECT_EQ(v["alpha.intensity"], 100);

    EXPECT_EQ(v["polygon.ccw"], blue);
    EXPECT_EQ(v["polygon.cw"], black);
    EXPECT_EQ(v["polygon.textured"], green);
    EXPECT_EQ(v["read.192"], 192);
    EXPECT_EQ(v["read.outside"], 0);
}

TEST(Gfx2dDrawing, FontsDrawTheirCellsAtAFixedAdvance)
{
    auto v = runHostScenario(host, "fonts");
    EXPECT_EQ(v["builtin.width"], 8);
    EXPECT_EQ(v["builtin.height"], 8);
    // "AB" at (10.5, 3): A in columns 11 to 18, B from 19.
    EXPECT_EQ(v["ab.aTop"], white);
    EXPECT_EQ(v["ab.bTop"], white);
    EXPECT_EQ(v["ab.aOutline"], outline);
    EXPECT_EQ(v["ab.gap"], black);
    // "!" at (0, 20): glyph column 2 is lit in glyph rows 1, 2, 3 and 5, outlined around them.
    double bang[8] = {black, outline, white, white, white, outline, white, outline};
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(v["bang." + std::to_string(row)], bang[row]) << "row " << row;
    EXPECT_EQ(v["number.four"], white);
    EXPECT_EQ(v["sceneText.aTop"], white);
    EXPECT_EQ(v["sceneText.bTop"], white);
    EXPECT_EQ(v["projectedText.aTop"], white);
    EXPECT_EQ(v["projectedText.bTop"], white);
    EXPECT_EQ(v["projectedText.before"], black);

    EXPECT_EQ(v["wide.width"], 16);
    EXPECT_EQ(v["wide.height"], 16);
    EXPECT_EQ(v["wide.a"], blue);
    EXPECT_EQ(v["wide.a193"], blue) << "193 uses glyph 65 in a font of 128 glyphs";
    EXPECT_EQ(v["wide.b"], black);
    EXPECT_EQ(v["missing.font"], 15);
    EXPECT_EQ(v["missing.width"], 8);
    EXPECT_EQ(v["setFont.negative"], 0);
}

TEST(Gfx2dDrawing, BackgroundPicturesAreTiledRedrawnSavedAndCleared)
{
    auto v = runHostScenario(host, "backgrounds");
    constexpr double picture = 0xA06030, key = 0x8000FF;
    EXPECT_EQ(v["tiles.columns"], 2);
    EXPECT_EQ(v["tiles.rows"], 1);
    EXPECT_EQ(v["tiles.size"], 512);
    EXPECT_EQ(v["drawn.at.once"], picture);
    EXPECT_EQ(v["redrawn"], picture);
    EXPECT_EQ(v["key.opaque"], key);

    EXPECT_EQ(v["save.bmp"], 1);
    EXPECT_EQ(v["save.png"], 1);
    EXPECT_EQ(v["save.unwritable"], 0);
    EXPECT_EQ(v["bmp.width"], 320);
    EXPECT_EQ(v["bmp.height"], 240);
    EXPECT_EQ(v["bmp.pixel"], picture);
    EXPECT_EQ(v["bmp.key"], key);
    EXPECT_EQ(v["png.pixel"], picture);
    EXPECT_EQ(v["png.pixelAlpha"], 255);
    EXPECT_EQ(v["png.keyAlpha"], 0);

    EXPECT_EQ(v["empty.columns"], 0);
    EXPECT_EQ(v["empty.cleared"], black);
    EXPECT_EQ(v["empty.nextFrame"], black);
    EXPECT_EQ(v["grabbed"], 0x00C000);
    EXPECT_EQ(v["cleared.columns"], 0);
    EXPECT_EQ(v["fade.missing"], 0);
    EXPECT_EQ(v["fade.result"], 1);
    EXPECT_GE(v["fade.ms"], 1500);
    EXPECT_EQ(v["fade.background"], picture);
}

TEST(Gfx2dDrawing, EachFailedLoadIsLoggedOnceWithItsNameAndTheWorkingFolder)
{
    XSession x(320, 240);
    ASSERT_TRUE(x.ready());
    ASSERT_EQ(x.waitForExit(x.start(host, {"--scenario=load_failures"}), timeoutMs), 0);
    std::string log = x.readTempFile("ErrorLog.txt");
    // The one line that names the file (each was asked for a hundred times).
    auto lineNaming = [&](const std::string& name) {
        std::string found;
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);)
            if (line.find("\"" + name + "\"") != std::string::npos) found += line + "\n";
        return found;
    };
    std::string sprite = lineNaming("missing_sprite.bmp");
    EXPECT_EQ(sprite.rfind("Cannot load sprite \"missing_sprite.bmp\": not found on disk", 0), 0u) << sprite;
    EXPECT_NE(sprite.find("; working folder " RT_BUILD_DIR "/tests/hosts"), std::string::npos) << sprite;
    EXPECT_EQ(std::count(sprite.begin(), sprite.end(), '\n'), 1) << sprite;
    std::string junk = lineNaming(x.tempFolder() + "junk.bmp");
    EXPECT_NE(junk.find("found but not readable as a sprite"), std::string::npos) << log;
    EXPECT_EQ(std::count(junk.begin(), junk.end(), '\n'), 1) << junk;
    EXPECT_EQ(lineNaming("missing_font.bmp").rfind("Cannot load font ", 0), 0u) << log;
    EXPECT_EQ(lineNaming("missing_background.png").rfind("Cannot load background ", 0), 0u) << log;
    EXPECT_EQ(lineNaming("").find("Cannot load"), std::string::npos) << log;
}

TEST(Gfx2dDrawing, DirectGlCallersGetTheDescribedStateAndTheRendererSetsItsOwnAgain)
{
    auto v = runHostScenario(host, "handOver");
    EXPECT_EQ(v["given.alphaTest"], 1);
    EXPECT_EQ(v["given.texturing"], 1);
    EXPECT_EQ(v["given.spriteBound"], 1);
    EXPECT_EQ(v["given.colour"], 50 + 500) << "red and alpha at the intensity 0.5";
    EXPECT_EQ(v["taken.key"], black);
    EXPECT_EQ(v["taken.red"], red);
    EXPECT_EQ(v["taken.green"], green);
}

TEST(Gfx2dDrawing, StartUpShowsLoadingCentredInTheBuiltInFont)
{
    XSession x(640, 480);
    ASSERT_TRUE(x.ready());
    pid_t pid = x.start(host, {"--scenario=startup"});
    unsigned long window = x.waitForWindow("Game", timeoutMs);
    ASSERT_NE(window, 0u);
    int left, top, width, height;
    x.windowArea(window, left, top, width, height);
    // "Loading..." is 10 cells of 8: it starts at ((320 - 80) / 2, (240 - 8) / 2) = (120, 116). The L's
    // stroke is glyph column 1, rows 0 to 4, with its foot to the right in row 4.
    bool shown = x.waitForScreen(
        [&](const Screenshot& s) {
            auto at = [&](int px, int py) { return s.at(left + px, top + py); };
            return at(122, 117) == 0xFFFFFF && at(122, 121) == 0xFFFFFF && at(124, 121) == 0xFFFFFF &&
                   at(121, 117) == 0x080808 && at(123, 117) == 0x080808 && at(122, 116) == 0x080808 &&
                   at(119, 117) == 0 && at(10, 10) == 0;
        },
        timeoutMs);
    EXPECT_TRUE(shown);
    if (!shown) x.grab().save(x.tempFolder() + "startup.ppm");
    kill(pid, SIGTERM);
    x.waitForExit(pid, 5000);
}
