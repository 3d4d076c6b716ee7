// The drawing workloads that draw_runtime_bench and draw_reference_bench both run, so that their
// figures compare: the same pictures, places, counts and measurement. No runtime code here; the
// reference program must stay a bare SDL2 + OpenGL program.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace workload {

// --test=NAME:
//   sprites1, sprites40  1000 sprites of 64 × 60 at random whole-pixel places, from 1 or 40 textures
//   stretched1           the same, each stretched to 72 × 68 (so both sides filter bilinearly)
//   text                 50 lines of 40 characters from an 8 × 8 font
//   rects                2000 filled rectangles of 16 × 12, each its own colour
//   lines                2000 lines, each its own colour, with their last pixel
constexpr int spriteCount = 1000, textureCount = 40, spriteWidth = 64, spriteHeight = 60;
constexpr int stretchedWidth = 72, stretchedHeight = 68;
constexpr int textLines = 50, textColumns = 40;
constexpr int rectCount = 2000, rectWidth = 16, rectHeight = 12;
constexpr int lineCount = 2000;
// Frames drawn before measuring, and the least measured: measuring goes on until frames and
// measuredMs have both been reached, so that quick workloads are averaged over as long as slow ones.
constexpr int warmUpFrames = 30, measuredFrames = 60;
constexpr double measuredMs = 1000;

struct Options
{
    std::string test = "sprites1";
    int width = 320, height = 240;
    int windowWidth = 0, windowHeight = 0; // the reference's window; 0 × 0: the size above
    bool nearest = false;                  // the reference's filter (the runtime chooses its own)
};

inline Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (strncmp(a, "--test=", 7) == 0) options.test = a + 7;
        if (strncmp(a, "--size=", 7) == 0 && sscanf(a + 7, "%dx%d", &options.width, &options.height) != 2)
            options.width = 320, options.height = 240;
        if (strncmp(a, "--window=", 9) == 0 &&
            sscanf(a + 9, "%dx%d", &options.windowWidth, &options.windowHeight) != 2)
            options.windowWidth = options.windowHeight = 0;
        if (strcmp(a, "--filter=nearest") == 0) options.nearest = true;
    }
    return options;
}

// Sprite picture i: a transparent 2-pixel border (the cards' shape) around a face of its own.
// Red, green, blue, alpha.
inline void spritePixel(int i, int x, int y, uint8_t rgba[4])
{
    bool border = x < 2 || y < 2 || x >= spriteWidth - 2 || y >= spriteHeight - 2;
    rgba[0] = border ? 255 : uint8_t(i * 6);
    rgba[1] = border ? 0 : uint8_t(y * 4);
    rgba[2] = border ? 128 : uint8_t(x * 4 + i);
    rgba[3] = border ? 0 : 255;
}

// Places and colours from a fixed sequence, the same in both programs.
struct Sequence
{
    uint32_t state = 12345;
    int next(int limit) // 0 .. limit - 1
    {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % uint32_t(std::max(limit, 1)));
    }
};

struct Places
{
    int x[std::max({spriteCount, rectCount, lineCount})];
    int y[std::max({spriteCount, rectCount, lineCount})];
    int x2[lineCount], y2[lineCount];
    int colour[std::max(rectCount, lineCount)]; // red + green × 256 + blue × 65536
    char text[textLines][textColumns + 1];

    // Whole places where the test's items fit on the screen.
    void fill(const Options& options)
    {
        int itemWidth = spriteWidth, itemHeight = spriteHeight;
        if (options.test == "stretched1") itemWidth = stretchedWidth, itemHeight = stretchedHeight;
        if (options.test == "text") itemWidth = textColumns * 8, itemHeight = 8;
        if (options.test == "rects") itemWidth = rectWidth, itemHeight = rectHeight;
        Sequence random;
        for (int i = 0; i < int(std::size(x)); ++i) {
            x[i] = random.next(options.width - itemWidth + 1);
            y[i] = random.next(options.height - itemHeight + 1);
        }
        for (int i = 0; i < lineCount; ++i) {
            x2[i] = random.next(options.width);
            y2[i] = random.next(options.height);
        }
        for (int& c : colour)
            c = random.next(1 << 24);
        for (auto& line : text) {
            for (int c = 0; c < textColumns; ++c)
                line[c] = char(32 + random.next(95));
            line[textColumns] = 0;
        }
    }
};

inline long minorFaults()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Milliseconds of processor time of all the process's threads (the GL driver's included). On a
// loaded machine this varies less than the wall clock.
inline double processorMs()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Runs the frames and prints "drawing-ms minor-faults processor-ms", each per frame: the wall time of
// drawing the workload until the GL has finished it, the page faults of the whole frame, and the
// processor time of drawing. drawFrame draws and waits for the GL; present shows the frame.
template <class Now, class DrawFrame, class Present>
void measure(Now now, DrawFrame drawFrame, Present present)
{
    for (int frame = 0; frame < warmUpFrames; ++frame) {
        drawFrame();
        present();
    }
    double drawing = 0, processor = 0;
    long faults = minorFaults();
    int frames = 0;
    for (; frames < measuredFrames || drawing < measuredMs; ++frames) {
        double start = now(), processorStart = processorMs();
        drawFrame();
        drawing += now() - start;
        processor += processorMs() - processorStart;
        present();
    }
    faults = minorFaults() - faults;
    printf("%.4f %.2f %.4f\n", drawing / frames, double(faults) / frames, processor / frames);
    fflush(stdout);
}

} // namespace workload
