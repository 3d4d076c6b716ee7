// The runtime's side of the drawing comparison: one workload of draw_workload.h drawn with the
// runtime's commands. Prints per frame "drawing-ms minor-faults processor-ms"; compare_drawing.sh
// runs it interleaved with draw_reference and prints the table.
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/draw_runtime_bench --test=sprites1 --size=320x240
#include <SDL_opengl.h>

#include <vector>

#include "bench/draw_workload.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static workload::Options options;
static workload::Places places;
static RtString lines[workload::textLines]; // made once: the text commands' cost, not the strings'

static void loadSprites(int count)
{
    using namespace workload;
    std::vector<uint8_t> bgr(spriteWidth * spriteHeight * 3);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < spriteHeight; ++y)
            for (int x = 0; x < spriteWidth; ++x) {
                uint8_t rgba[4], *p = &bgr[(y * spriteWidth + x) * 3];
                spritePixel(i, x, y, rgba);
                p[0] = rgba[2], p[1] = rgba[1], p[2] = rgba[0]; // transparent texels are the colour key
            }
        std::string path = tempFolderPath() + "draw_bench_sprite" + std::to_string(i) + ".bmp";
        writeImage(path.c_str(), bgr.data(), spriteWidth, spriteHeight, spriteWidth, true);
        rtLoadSprite(path.c_str(), i);
        remove(path.c_str());
    }
}

static void drawWorkload()
{
    using namespace workload;
    const std::string& test = options.test;
    if (test == "sprites1" || test == "sprites40") {
        int textures = test == "sprites1" ? 1 : textureCount;
        for (int i = 0; i < spriteCount; ++i)
            rtDrawSprite(i % textures, places.x[i], places.y[i]);
    } else if (test == "stretched1") {
        for (int i = 0; i < spriteCount; ++i)
            rtStretchSprite(0, places.x[i], places.y[i], stretchedWidth, stretchedHeight);
    } else if (test == "text") {
        for (int line = 0; line < textLines; ++line)
            rtPrint(lines[line], places.x[line], places.y[line]);
    } else if (test == "rects") {
        for (int i = 0; i < rectCount; ++i)
            rtDrawRect(places.x[i], places.y[i], places.x[i] + rectWidth - 1, places.y[i] + rectHeight - 1,
                       places.colour[i]);
    } else if (test == "lines") {
        for (int i = 0; i < lineCount; ++i)
            rtDrawLine(places.x[i], places.y[i], places.x2[i], places.y2[i], places.colour[i]);
    }
    glFinish();
}

static void benchMain()
{
    using namespace workload;
    loadSprites(options.test == "sprites40" ? textureCount : 1);
    places.fill(options);
    for (int line = 0; line < textLines; ++line)
        lines[line] = places.text[line];
    rtSetFrameRate(1000); // the frame grid must not pace the measurement
    measure(nowMs, drawWorkload, rtShowFrame);
    rtEnd();
}

int main(int argc, char** argv)
{
    options = workload::parseOptions(argc, argv);
    GameSettings settings;
    settings.fullScreen = false;
    settings.screenWidth = options.width;
    settings.screenHeight = options.height;
    rtRunGame(argc, argv, settings, benchMain);
}
