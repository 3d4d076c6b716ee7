// rtPlatformInfo, rtFileDialog and rtShellCommand. The file dialog is whichever of
// zenity and kdialog is installed, run as a child process; shell commands run through /bin/sh.
#include "runtime/files/system_commands.h"

#include <SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/window_events.h"
#include "runtime/files/host_path.h"
#include "runtime/runtime.h"

extern char** environ;

using namespace rt;

namespace rt {

// ---- Platform facts

uint32_t machineSerial()
{
    for (const char* source : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::ifstream in(source);
        std::string id;
        if (!std::getline(in, id) || id.empty()) continue;
        uint32_t hash = 2166136261u; // FNV-1a
        for (unsigned char c : id)
            hash = (hash ^ c) * 16777619u;
        return hash;
    }
    return 0x2E6B41D7u;
}

} // namespace rt

RtString rtPlatformInfo(RtString& key)
{
    key = key.upperCase();
    if (key.empty()) return "WIN32";
    if (key == "DEVICE") return "DESKTOP";
    if (key == "ID") {
        uint32_t code = machineSerial() ^ 0x9C3A5F1Eu;
        char text[9];
        snprintf(text, sizeof text, "%02X%02X%02X%02X", code & 0xFF, code >> 8 & 0xFF, code >> 16 & 0xFF,
                 code >> 24);
        return text;
    }
    if (key == "TIME") {
        time_t now = time(nullptr);
        struct tm local;
        localtime_r(&now, &local);
        char text[64];
        snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", local.tm_year + 1900, local.tm_mon + 1,
                 local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        return text;
    }
    return "NO_DATA";
}

namespace rt {

// ---- Child processes

namespace {

struct SpawnActions
{
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
};

std::vector<char*> argumentPointers(std::vector<std::string>& arguments)
{
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return pointers;
}

int exitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int waitForExit(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return 0;
    return exitCodeOf(status);
}

// Runs the program (found on the PATH) with its standard output captured. False when it could not
// be started.
bool runCapturingOutput(std::vector<std::string> arguments, std::string& output, int& exitCode)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    SpawnActions spawn;
    posix_spawn_file_actions_adddup2(&spawn.actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv = argumentPointers(arguments);
    pid_t child;
    int failed = posix_spawnp(&child, argv[0], &spawn.actions, nullptr, argv.data(), environ);
    close(pipeEnds[1]);
    if (failed) {
        close(pipeEnds[0]);
        return false;
    }
    char chunk[4096];
    ssize_t got;
    while ((got = read(pipeEnds[0], chunk, sizeof chunk)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        output.append(chunk, size_t(got));
    }
    close(pipeEnds[0]);
    exitCode = waitForExit(child);
    return true;
}

} // namespace

// ---- File dialogs

// The dialog program's arguments for a filter of "description|pattern|..." pairs, in the given
// folder: zenity's when the program is zenity, kdialog's otherwise.
static std::vector<std::string> fileDialogArguments(const std::string& program, bool open,
                                                    const std::string& filter, const std::string& folder)
{
    // The filter holds description|pattern pairs; several patterns of one pair are split by ';'.
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t at = 0;
    while (at < filter.size()) {
        size_t bar = filter.find('|', at);
        std::string description = filter.substr(at, bar == std::string::npos ? std::string::npos : bar - at);
        std::string patterns;
        if (bar != std::string::npos) {
            size_t next = filter.find('|', bar + 1);
            patterns = filter.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1);
            at = next == std::string::npos ? filter.size() : next + 1;
        } else {
            at = filter.size();
        }
        for (char& c : patterns)
            if (c == ';') c = ' ';
        if (!patterns.empty()) pairs.push_back({description, patterns});
    }

    std::vector<std::string> arguments = {program};
    if (program == "zenity") {
        arguments.push_back("--file-selection");
        if (!open) arguments.insert(arguments.end(), {"--save", "--confirm-overwrite"});
        arguments.push_back("--filename=" + folder);
        for (const auto& [description, patterns] : pairs)
            arguments.push_back("--file-filter=" + description + " | " + patterns);
    } else {
        arguments.push_back(open ? "--getopenfilename" : "--getsavefilename");
        arguments.push_back(folder);
        std::string kdialogFilter;
        for (const auto& [description, patterns] : pairs)
            kdialogFilter += (kdialogFilter.empty() ? "" : "\n") + patterns + "|" + description;
        if (!kdialogFilter.empty()) arguments.push_back(kdialogFilter);
    }
    return arguments;
}

} // namespace rt

RtString rtFileDialog(double mode, const RtString& filter)
{
    RtString folder = rtGetCurrentDir();
    stepWindowAsideForDialog();

    std::string chosen;
    int exitCode = 1;
    for (const char* program : {"zenity", "kdialog"}) {
        std::string output;
        if (!runCapturingOutput(fileDialogArguments(program, mode != 0, filter.c_str(), folder.c_str()),
                                output, exitCode))
            continue; // not installed: try the next
        if (exitCode == 0) chosen = output.substr(0, output.find('\n'));
        break;
    }

    rtSetCurrentDir(folder);
    bringWindowBackAfterDialog();
    if (chosen.empty()) return "NO_FILE";
    return hostPath(chosen.c_str()).c_str();
}

namespace rt {

// ---- Shell commands

// True when the command's first word names something the shell can run: a shell word it knows
// itself, or a program found as execvp would find it. Commands whose start the shell must take
// apart (quotes, variables, redirections) are left to the shell.
static bool commandCanStart(const char* line)
{
    while (*line == ' ' || *line == '\t')
        ++line;
    std::string word;
    while (*line && *line != ' ' && *line != '\t' && *line != '\n' && *line != ';')
        word += *line++;
    if (word.empty()) return false;
    if (word.find_first_of("\"'`$\\=<>|&(){}*?[~#") != std::string::npos) return true;
    static const char* shellWords[] = {".",        ":",     "!",      "break", "case",  "cd",     "command",
                                       "continue", "echo",  "eval",   "exec",  "exit",  "export", "for",
                                       "if",       "read",  "return", "set",   "shift", "test",   "trap",
                                       "true",     "false", "umask",  "unset", "until", "wait",   "while"};
    for (const char* shellWord : shellWords)
        if (word == shellWord) return true;
    auto runnable = [](const std::string& path) {
        struct stat info;
        return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
    };
    if (word.find('/') != std::string::npos) return runnable(word);
    const char* path = getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t at = 0;
    for (;;) {
        size_t colon = folders.find(':', at);
        std::string folder = folders.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
        if (runnable((folder.empty() ? "." : folder) + "/" + word)) return true;
        if (colon == std::string::npos) return false;
        at = colon + 1;
    }
}

} // namespace rt

double rtShellCommand(const RtString& commandLine, double wait, double show, double& exitCode)
{
    (void)show; // programs open their own windows here; there is nothing to show or hide
    exitCode = 0;
    if (!commandCanStart(commandLine.c_str())) return 0;
    // Without waiting, an outer shell starts the command in the background and ends at once: the
    // command then belongs to the system, and no finished child is left behind unreaped.
    bool waits = wait != 0; // not-a-number counts as non-zero
    std::vector<std::string> arguments = {"sh", "-c", commandLine.c_str()};
    if (!waits) arguments = {"sh", "-c", "/bin/sh -c \"$1\" &", "sh", commandLine.c_str()};
    std::vector<char*> argv = argumentPointers(arguments);
    SpawnActions spawn;
    posix_spawn_file_actions_addclosefrom_np(&spawn.actions, 3); // the child inherits no files of ours
    pid_t child;
    if (posix_spawn(&child, "/bin/sh", &spawn.actions, nullptr, argv.data(), environ) != 0) return 0;
    int code = waitForExit(child);
    if (waits) exitCode = code;
    return 1;
}
