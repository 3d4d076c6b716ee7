// Start-up: runs the game 10 times on an X server of its own (Xvfb, 1024 × 768) for each sound set-up
// (the machine's own, which may have no sound device, and SDL's dummy driver) and prints the time from
// exec to the first frame the game draws itself (its third: start-up shows a cleared screen and
// "Loading..." before it), median and maximum, and the resident memory at the end of start-up and
// after the game has loaded its 53 files (its fourth frame, the title menu). The processor time the
// game's threads took until its first frame is printed too: on a busy machine it tells what start-up
// costs when the wall clock cannot. The frames are seen by startup_probe, preloaded into the game.
// For comparison the last row is the hand-written SDL2 + OpenGL program draw_reference, from exec to
// its first frame (what any GL program pays here: the GL driver's loading and set-up), in a window
// as large as the game's: the driver's window buffers alone take several MiB at 1024 × 768.
//
//   cmake --build build --target startup_bench && build/bench/startup_bench
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int runs = 10;
constexpr int framesToSee = 4;

double monotonicMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

std::string ownFolder()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string self(path, size_t(length));
    return self.substr(0, self.rfind('/'));
}

// Starts a program with the given environment, its output thrown away; keepFd stays open in it.
pid_t spawn(const std::vector<std::string>& command, const std::vector<std::string>& environment,
            const std::string& folder = "", int keepFd = -1)
{
    pid_t pid = fork();
    if (pid != 0) return pid;
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd) close(fd);
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    std::vector<char*> argv, envp;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    for (const std::string& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

// Waits up to timeoutMs for the process to end; kills it when it does not.
void waitOrKill(pid_t pid, double timeoutMs)
{
    for (double end = monotonicMs() + timeoutMs; monotonicMs() < end; usleep(2000))
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// This process's environment without the variables a run sets itself.
std::vector<std::string> baseEnvironment()
{
    std::vector<std::string> kept;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        bool own = false;
        for (const char* name :
             {"DISPLAY=", "SDL_AUDIODRIVER=", "LD_PRELOAD=", "STARTUP_PROBE_", "RT_UNATTENDED="})
            own = own || text.rfind(name, 0) == 0;
        if (!own) kept.push_back(text);
    }
    return kept;
}

struct Run
{
    double firstGameFrameMs = -1;
    double processorMs = -1; // of all the game's threads until then
    long startUpKiB = -1;    // at "Loading...", the end of start-up
    long loadedKiB = -1;     // at the title menu, every file loaded
};

// What the program shows: the first frame it draws itself, the frame that ends its start-up, the
// frame with every file loaded (0 for none), and how many frames to see before ending it.
struct Frames
{
    int firstOwn, startUpEnd, loaded, toSee;
};
constexpr Frames gameFrames{3, 2, 4, framesToSee};
constexpr Frames referenceFrames{1, 1, 0, 1};

Run runProgram(const std::vector<std::string>& command, const Frames& frames, const std::string& probe,
               const std::string& display, const char* audioDriver)
{
    char logPath[] = "/tmp/startup-bench-XXXXXX";
    int logFd = mkstemp(logPath);
    if (logFd < 0) return {};
    close(logFd);
    std::vector<std::string> environment = baseEnvironment();
    environment.push_back("DISPLAY=" + display);
    environment.push_back("RT_UNATTENDED=1");
    environment.push_back("LD_PRELOAD=" + probe);
    environment.push_back(std::string("STARTUP_PROBE_LOG=") + logPath);
    environment.push_back("STARTUP_PROBE_FRAMES=" + std::to_string(frames.toSee));
    if (audioDriver) environment.push_back(std::string("SDL_AUDIODRIVER=") + audioDriver);

    std::string folder = command[0].substr(0, command[0].rfind('/'));
    double start = monotonicMs();
    pid_t pid = spawn(command, environment, folder);
    waitOrKill(pid, 30000);

    Run run;
    FILE* log = fopen(logPath, "r");
    int frame;
    double at, processor;
    long kib;
    while (log && fscanf(log, "%d %lf %lf %ld", &frame, &at, &processor, &kib) == 4) {
        if (frame == frames.startUpEnd) run.startUpKiB = kib;
        if (frame == frames.firstOwn) {
            run.firstGameFrameMs = at - start;
            run.processorMs = processor;
        }
        if (frame == frames.loaded) run.loadedKiB = kib;
    }
    if (log) fclose(log);
    unlink(logPath);
    return run;
}

// Starts Xvfb on a free display; its name (":N"), or empty.
std::string startXvfb(pid_t& server)
{
    int fds[2];
    if (pipe(fds) != 0) return "";
    server = spawn(
        {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
        baseEnvironment(), "", fds[1]);
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    return number.empty() ? "" : ":" + number;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder = ownFolder();
    std::string game = argc > 1 ? argv[1] : folder + "/../game/flipmatics";
    std::string probe = folder + "/libstartup_probe.so";
    if (access(game.c_str(), X_OK) != 0 || access(probe.c_str(), R_OK) != 0) {
        fprintf(stderr, "needs %s and %s\n", game.c_str(), probe.c_str());
        return 1;
    }
    pid_t server = -1;
    std::string display = startXvfb(server);
    if (display.empty()) {
        fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }

    printf("%-28s | %-19s | %-9s | %s\n", "sound", "exec to 1st frame", "processor", "resident MiB, median");
    printf("%-28s | %9s %9s | %9s | %10s %12s\n", "", "median ms", "max ms", "median ms", "start-up",
           "53 files");
    struct Setup
    {
        const char* name;
        std::vector<std::string> command;
        Frames frames;
        const char* driver;
    };
    std::vector<Setup> setups = {
        {"machine's own (no device?)", {game}, gameFrames, nullptr},
        {"SDL dummy driver", {game}, gameFrames, "dummy"},
        {"bare SDL2 + GL, dummy driver",
         {folder + "/draw_reference", "--test=rects", "--window=1024x768"},
         referenceFrames,
         "dummy"},
    };
    for (const Setup& setup : setups) {
        runProgram(setup.command, setup.frames, probe, display, setup.driver); // warms the file cache
        std::vector<double> times, processor, startUp, loaded;
        for (int i = 0; i < runs; ++i) {
            Run run = runProgram(setup.command, setup.frames, probe, display, setup.driver);
            if (run.firstGameFrameMs < 0) {
                fprintf(stderr, "a run of %s showed fewer than %d frames\n", setup.command[0].c_str(),
                        setup.frames.toSee);
                continue;
            }
            times.push_back(run.firstGameFrameMs);
            processor.push_back(run.processorMs);
            startUp.push_back(run.startUpKiB / 1024.0);
            loaded.push_back(run.loadedKiB / 1024.0);
        }
        if (times.empty()) continue;
        std::string all;
        for (double t : times)
            all += std::to_string(int(t + 0.5)) + " ";
        printf("%-28s | %9.1f %9.1f | %9.1f | %10.1f ", setup.name, median(times),
               *std::max_element(times.begin(), times.end()), median(processor), median(startUp));
        if (setup.frames.loaded)
            printf("%12.1f\n", median(loaded));
        else
            printf("%12s\n", "-");
        printf("%-28s   runs: %s\n", "", all.c_str());
    }
    double load[3];
    if (getloadavg(load, 3) == 3) printf("load average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return 0;
}
