// The error log and the end routine.
#include "runtime/core/end.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "runtime/audio/sound.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/input/input.h"
#include "runtime/media/media.h"
#include "runtime/net/net_state.h"
#include "runtime/platform/paths.h"
#include "runtime/platform/window_sdl.h"

const char* errorLogPath()
{
    static char path[4096];
    snprintf(path, sizeof path, "%sErrorLog.txt", tempFolderPath().c_str());
    return path;
}

void rtLogError(const char* text)
{
    if (!text) text = "null";
    int file = open(errorLogPath(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file < 0) return;
    size_t length = strlen(text);
    // One write for text and line end, so a line is never split by another writer.
    char* line = static_cast<char*>(malloc(length + 2));
    if (line) {
        memcpy(line, text, length);
        memcpy(line + length, "\r\n", 2);
        ssize_t written = write(file, line, length + 2);
        (void)written; // a line that cannot be written is dropped
        free(line);
    }
    close(file);
}

void rtDebugText(const char* text)
{
    if (debuggerAttached()) fprintf(stderr, "TX%s", text ? text : "");
}

void rtErrorOrDebugText(const char* text)
{
    if (!engine.debugMode) {
        rtLogError(text);
        return;
    }
    char line[4096];
    snprintf(line, sizeof line, "%s\n", text ? text : "");
    rtDebugText(line);
}

double rtSetEndCode(double code)
{
    engine.endCode = code;
    engine.endLine = engine.sourceLine;
    return code;
}

void rtSetSourcePosition(double file, double line)
{
    engine.sourceFile = file;
    engine.sourceLine = line;
}

void rtEnd()
{
    rtSetEndCode(0);
    rtFatalEnd();
}

void rtEndWithCode(double code)
{
    rtSetEndCode(code);
    rtFatalEnd();
}

static void logEndNumber(double value)
{
    char text[64];
    snprintf(text, sizeof text, "%.2g", value);
    rtLogError(text);
}

void rtFatalEnd()
{
    // A release step that fails and ends again (a close event while the window goes) must not run
    // the releases twice.
    static bool ending = false;
    if (ending) _exit(0);
    ending = true;

    // The system timer period needs no giving back on this platform.
    rt::closeMedia();
    if (engine.debugMode) {
        rtLogError("-End On Line");
        logEndNumber(engine.endCode);
        logEndNumber(engine.endLine - 1);
        logEndNumber(engine.sourceLine);
        logEndNumber(engine.sourceFile);
    }
    rt::releaseScene3D(); // its GL objects go while the renderer's context lives
    delete engine.renderer;
    engine.renderer = nullptr;
    delete engine.inputSystem;
    engine.inputSystem = nullptr;
    delete[] engine.soundSlots; // array elements are destroyed from the last to the first
    engine.soundSlots = nullptr;
    delete engine.soundSystem;
    engine.soundSystem = nullptr;
    netShutdown();
    releaseArchiveResolver(engine.mediaResolver);
    engine.mediaResolver = nullptr;
    releaseArchiveResolver(engine.dataResolver);
    engine.dataResolver = nullptr;
    destroyMainWindow(engine.window);
    engine.window = nullptr;
    SDL_Quit();
    exit(0);
}
