// The error log and the debugger's output.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/platform/paths.h"

using namespace rt;

namespace rt {

const char* errorLogPath()
{
    static char path[4096];
    snprintf(path, sizeof path, "%sErrorLog.txt", tempFolderPath().c_str());
    return path;
}

} // namespace rt

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
    // As long as it is: a shader's messages can run past any fixed buffer.
    std::string line = text ? text : "";
    line += '\n';
    rtDebugText(line.c_str());
}
