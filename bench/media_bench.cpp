// Music and movies: how long rtPlayMusic takes to return (open a 1-second WAV file and start it),
// and movie playback of a 2-second 160 × 120 movie at 25 frames per second in client areas of
// 320 × 240 and 640 × 480: pictures shown per second against the movie's own 25, and the process's
// CPU time (all threads: decoding, the player's renderer, the GL driver) per picture shown.
// Needs a display:  xvfb-run -a -s "-screen 0 1024x768x24" build/bench/media_bench [MOVIE]
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "runtime/platform/clock.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static std::string movie =
    std::filesystem::path(__FILE__).parent_path().string() + "/../tests/media/colours.mkv";
constexpr double movieFramesPerSecond = 25;

// Every shown picture passes through the window's buffer swap: note when each one comes.
static double swapTimes[1 << 16];
static long swaps = 0;
extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    static auto real = reinterpret_cast<void (*)(SDL_Window*)>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    real(window);
    swapTimes[swaps++ % (1 << 16)] = nowMs();
}

static double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// A 1-second WAV file: 22050 Hz, 16-bit stereo, a quiet square wave.
static std::string writeTune()
{
    std::string path = tempFolderPath() + "media_bench_tune.wav";
    const uint32_t frames = 22050, dataSize = frames * 4;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4), u32(36 + dataSize), out.write("WAVEfmt ", 8), u32(16), u16(1), u16(2), u32(22050);
    u32(22050 * 4), u16(4), u16(16), out.write("data", 4), u32(dataSize);
    for (uint32_t i = 0; i < frames; ++i) {
        int16_t sample = (i / 50) % 2 ? 2000 : -2000;
        u16(uint16_t(sample)), u16(uint16_t(sample));
    }
    return path;
}

static void measureMusicStart()
{
    std::string tune = writeTune();
    std::vector<double> times;
    for (int run = 0; run < 10; ++run) {
        double start = nowMs();
        double result = rtPlayMusic(tune.c_str());
        times.push_back(nowMs() - start);
        if (result != 0) printf("rtPlayMusic failed: %g\n", result);
    }
    rtStopMusic();
    std::sort(times.begin(), times.end());
    printf("rtPlayMusic returns after: min %.1f ms, median %.1f ms, max %.1f ms (10 calls, 1 s WAV)\n",
           times.front(), times[times.size() / 2], times.back());
    std::filesystem::remove(tune);
}

static void measureMovie(int width, int height)
{
    rtSetScreenMode(width, height, 0);
    for (int i = 0; i < 10; ++i)
        rtShowFrame(); // let the window settle at its new size
    const int runs = 3;
    long shown = 0, intervals = 0;
    double playingMs = 0, cpu = 0;
    for (int run = 0; run < runs; ++run) {
        long swapsBefore = swaps;
        double cpuBefore = cpuMs();
        if (rtPlayMovieOnce(movie.c_str()) != 0) {
            printf("cannot play %s\n", movie.c_str());
            return;
        }
        cpu += cpuMs() - cpuBefore;
        // The first swap shows the window black; the pictures follow.
        long pictures = swaps - swapsBefore - 1;
        shown += pictures;
        if (pictures < 2) continue;
        intervals += pictures - 1;
        playingMs += swapTimes[(swaps - 1) % (1 << 16)] - swapTimes[(swapsBefore + 1) % (1 << 16)];
    }
    printf("%d x %d: %.1f pictures per second shown (the movie has %.0f), %.2f ms CPU per picture, "
           "opening included (%ld pictures over %d plays)\n",
           width, height, intervals / (playingMs / 1000), movieFramesPerSecond, cpu / std::max(shown, 1L),
           shown, runs);
}

static void benchMain()
{
    measureMusicStart();
    measureMovie(320, 240);
    measureMovie(640, 480);
    rtEnd();
}

int main(int argc, char** argv)
{
    if (argc > 1) movie = std::filesystem::absolute(argv[1]).string();
    GameSettings settings;
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, benchMain);
}
