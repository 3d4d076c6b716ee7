// Line files: rtGetFileLine and rtPutFileLine over one cached file of up to 256 lines.
#include "runtime/files/line_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "runtime/core/end.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/files/host_path.h"
#include "runtime/files/line_splitter.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/files/resolve_for_reading.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

static LineFileCache lineFile;

void writeBackLineFile(LineFileCache& cache)
{
    if (cache.fileName.empty() || !cache.changed) return;
    int file = open(hostPath(cache.fileName.c_str()).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return; // skipped without a message
    std::string text;
    for (int32_t n = 0; n <= cache.lastLine; ++n) {
        text += cache.lines[n];
        text += "\r\n";
    }
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = write(file, text.data() + done, text.size() - done);
        if (written <= 0) break;
        done += size_t(written);
    }
    close(file);
}

static void writeBackHeldLineFile()
{
    writeBackLineFile(lineFile);
}

// Makes the named file the held one. True when it is held: already, or freshly loaded. A load
// that fails records end code 3 and leaves the name held with no lines, so a put still goes ahead.
static bool selectLineFile(const char* name)
{
    filesTeardown().writeBackLineFile = writeBackHeldLineFile;
    if (lineFile.fileName == name) return true;
    writeBackLineFile(lineFile);
    memset(lineFile.lines, 0, sizeof lineFile.lines);
    lineFile.changed = false;
    lineFile.lastLine = 0;
    lineFile.fileName = name;

    int file = openExistingFile(resolveForReading(name).c_str());
    if (file < 0) {
        rtSetEndCode(3);
        return false;
    }
    int32_t count = 0;
    LineSplitter splitter(LineSplitter::LongLines::Cut);
    splitFileLines(file, splitter, [&](const char* line, size_t length) {
        memcpy(lineFile.lines[count], line, length); // length <= lineSlotSize - 1
        lineFile.lines[count][length] = '\0';
        lineFile.lastLine = count;
        return ++count < lineFileSlots;
    });
    close(file);
    return true;
}

static bool validLineIndex(int n)
{
    if (n >= 0 && n < lineFileSlots) return true;
    rtSetEndCode(7);
    return false;
}

} // namespace rt

RtString rtGetFileLine(const RtString& name, double line)
{
    int n = toInt(line);
    if (!validLineIndex(n)) return "NO_DATA";
    if (!selectLineFile(name.c_str())) {
        rt::logLoadFailure("data file", name.c_str(), rt::LoadFailure::NotFound);
        return "NO_FILE";
    }
    const char* text = lineFile.lines[n];
    size_t length = strlen(text);
    // Trailing control bytes and bytes of 128 and above are not part of the line.
    while (length > 0 && (static_cast<unsigned char>(text[length - 1]) < 32 ||
                          static_cast<unsigned char>(text[length - 1]) >= 128))
        --length;
    if (length == 0) return "NO_DATA";
    RtString result;
    char* buffer = result.bufferOf(uint32_t(length));
    memcpy(buffer, text, length);
    buffer[length] = '\0';
    result.recount();
    return result;
}

void rtGetFileLineNumber(const RtString& name, double line, double& value)
{
    value = textToNumber(rtGetFileLine(name, line).c_str());
}

void rtPutFileLine(const RtString& name, double line, const RtString& text)
{
    int n = toInt(line);
    if (!validLineIndex(n)) return;
    selectLineFile(name.c_str()); // a file that failed to load is created at write-back
    size_t length = std::min<size_t>(text.length(), lineSlotSize - 1);
    memcpy(lineFile.lines[n], text.c_str(), length);
    lineFile.lines[n][length] = '\0';
    if (lineFile.lastLine < n) lineFile.lastLine = n;
    lineFile.changed = true;
}

void rtPutFileLineNumber(const RtString& name, double line, double number)
{
    char text[32];
    snprintf(text, sizeof text, "%.10g", number);
    rtPutFileLine(name, line, text);
}
