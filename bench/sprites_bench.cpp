// Sprite figures on the display it runs on (run it under `xvfb-run -a` for software OpenGL):
// the time to load 40 sprites of 64 × 60 from BMP and from PNG files, and how many 64 × 60 sprites
// can be drawn per frame before a 60 Hz frame rate drops. Prints figures; asserts nothing.
//   xvfb-run -a build/bench/sprites_bench
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/gfx2d/image_writer.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static constexpr int spriteCount = 40, spriteWidth = 64, spriteHeight = 60;

// 40 different pictures with a transparent border, as the game's cards have.
static std::vector<std::string> writeSprites(const char* extension)
{
    std::vector<std::string> paths;
    std::vector<uint8_t> bgr(spriteWidth * spriteHeight * 3);
    for (int i = 0; i < spriteCount; ++i) {
        for (int y = 0; y < spriteHeight; ++y)
            for (int x = 0; x < spriteWidth; ++x) {
                uint8_t* p = &bgr[(y * spriteWidth + x) * 3];
                bool border = x < 2 || y < 2 || x >= spriteWidth - 2 || y >= spriteHeight - 2;
                p[0] = border ? 128 : uint8_t(x * 4 + i);
                p[1] = border ? 0 : uint8_t(y * 4);
                p[2] = border ? 255 : uint8_t(i * 6);
            }
        paths.push_back(tempFolderPath() + "bench_sprite" + std::to_string(i) + extension);
        writeImage(paths.back().c_str(), bgr.data(), spriteWidth, spriteHeight, spriteWidth, true);
    }
    return paths;
}

static double loadAll(const std::vector<std::string>& paths)
{
    double start = nowMs();
    for (int i = 0; i < spriteCount; ++i)
        rtLoadSprite(paths[i].c_str(), i);
    return nowMs() - start;
}

static void reportLoadTimes(const char* extension)
{
    std::vector<std::string> paths = writeSprites(extension);
    const int rounds = 10;
    double best = 1e9, total = 0;
    for (int round = 0; round < rounds; ++round) {
        double ms = loadAll(paths);
        best = std::min(best, ms);
        total += ms;
    }
    printf("load 40 sprites of 64 x 60 (%s): mean %.2f ms, best %.2f ms over %d rounds\n", extension,
           total / rounds, best, rounds);
    for (const std::string& path : paths)
        remove(path.c_str());
}

// Frames per second with `count` sprites drawn per frame at the 60 Hz frame grid.
static double framesPerSecondWith(int count, int frames)
{
    rtShowFrame();
    double start = nowMs();
    for (int frame = 0; frame < frames; ++frame) {
        for (int i = 0; i < count; ++i)
            rtDrawSprite(i % spriteCount, (i * 7) % 256, (i * 13) % 180);
        rtShowFrame();
    }
    return frames * 1000.0 / (nowMs() - start);
}

// Drawing cost alone: milliseconds to draw and finish 1000 sprites into the game screen (best of 10).
static double msPerThousandSprites()
{
    double best = 1e9;
    for (int round = 0; round < 10; ++round) {
        glFinish();
        double start = nowMs();
        for (int i = 0; i < 1000; ++i)
            rtDrawSprite(i % spriteCount, (i * 7) % 256, (i * 13) % 180);
        glFinish();
        best = std::min(best, nowMs() - start);
        rtShowFrame();
    }
    return best;
}

static void benchMain()
{
    reportLoadTimes(".bmp");
    reportLoadTimes(".png");

    double ms = msPerThousandSprites();
    printf("draw 1000 sprites of 64 x 60: %.2f ms (%.0f sprites in a 16.7 ms frame)\n", ms,
           1000 * 16.667 / ms);

    // A frame rate that falls below 57 (5 % under 60) counts as dropped.
    const int frames = 60;
    printf("     0 sprites per frame: %.1f frames per second\n", framesPerSecondWith(0, frames));
    int low = 0, high = 0;
    for (int count = 100;; count *= 2) {
        double fps = framesPerSecondWith(count, frames);
        printf("%6d sprites per frame: %.1f frames per second\n", count, fps);
        if (fps < 57) {
            high = count;
            break;
        }
        low = count;
        if (count > 1 << 20) break;
    }
    // Narrow the step down to 5 % between the last count that held 60 Hz and the first that did not.
    while (high > 0 && high - low > low / 20 + 1) {
        int middle = (low + high) / 2;
        if (framesPerSecondWith(middle, frames) >= 57)
            low = middle;
        else
            high = middle;
    }
    printf("sprites of 64 x 60 per 60 Hz frame before the frame rate drops: about %d\n", low);
    fflush(stdout);
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, benchMain);
}
