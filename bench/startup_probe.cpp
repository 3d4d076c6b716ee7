// Preloaded into the game by startup_bench: notes the time (CLOCK_MONOTONIC), the processor time of
// all its threads and the resident memory of the process at each of the first frames it shows, into the file
// STARTUP_PROBE_LOG names, and ends the process once STARTUP_PROBE_FRAMES frames were shown.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

struct SDL_Window;

namespace {

long residentKiB()
{
    long kib = -1;
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    while (status && fgets(line, sizeof line, status))
        if (strncmp(line, "VmRSS:", 6) == 0) kib = atol(line + 6);
    if (status) fclose(status);
    return kib;
}

double processorMs()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    static auto next = reinterpret_cast<void (*)(SDL_Window*)>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static int shown = 0;
    next(window);
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* logPath = getenv("STARTUP_PROBE_LOG");
    if (FILE* log = logPath ? fopen(logPath, "a") : nullptr) {
        fprintf(log, "%d %.3f %.3f %ld\n", ++shown, now.tv_sec * 1e3 + now.tv_nsec / 1e6, processorMs(),
                residentKiB());
        fclose(log);
    }
    const char* frames = getenv("STARTUP_PROBE_FRAMES");
    if (frames && shown >= atoi(frames)) _exit(0);
}
