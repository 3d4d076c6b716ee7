// File channels and the whole-file commands: size, existence, deletion, copying, the current
// folder. Typed values are stored little-endian with nothing between them; a read or write that
// moves fewer bytes than asked ends the program with code 3, a channel number outside 0..7 with 7.
#include "runtime/files/file_channels.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/core/end.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/files/host_path.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

int fileChannels[fileChannelCount] = {-1, -1, -1, -1, -1, -1, -1, -1};

void closeAllFileChannels()
{
    for (int channel = fileChannelCount - 1; channel >= 0; --channel) {
        if (fileChannels[channel] >= 0) close(fileChannels[channel]);
        fileChannels[channel] = -1;
    }
}

// The channel's descriptor (-1 when closed); a number outside 0..7 ends the program with code 7.
static int channelFile(double channel)
{
    int number = toInt(channel);
    if (number < 0 || number >= fileChannelCount) rtEndWithCode(7);
    return fileChannels[number];
}

// Moves exactly count bytes or ends the program with code 3 (also on a closed channel).
static void readExactly(int file, void* bytes, size_t count)
{
    size_t done = 0;
    while (done < count) {
        ssize_t got = file < 0 ? -1 : read(file, static_cast<char*>(bytes) + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) rtEndWithCode(3);
        done += size_t(got);
    }
}

static void writeExactly(int file, const void* bytes, size_t count)
{
    size_t done = 0;
    while (done < count) {
        ssize_t put = file < 0 ? -1 : write(file, static_cast<const char*>(bytes) + done, count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) rtEndWithCode(3);
        done += size_t(put);
    }
}

static uint64_t readUnsigned(double channel, int byteCount)
{
    int file = channelFile(channel);
    unsigned char bytes[4];
    readExactly(file, bytes, size_t(byteCount));
    uint64_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

static void writeUnsigned(double channel, double value, int byteCount)
{
    int file = channelFile(channel);
    uint32_t bits = toUint32Wrapping(value); // the value truncated toward zero, its low bits kept
    unsigned char bytes[4];
    for (int i = 0; i < byteCount; ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    writeExactly(file, bytes, size_t(byteCount));
}

} // namespace rt

// ---- Opening and closing

double rtOpenFile(double channel, const RtString& name, double mode)
{
    int number = toInt(channel);
    if (number < 0 || number >= fileChannelCount) rtEndWithCode(7);
    filesTeardown().closeFileChannels = closeAllFileChannels;
    if (fileChannels[number] >= 0) close(fileChannels[number]);
    fileChannels[number] = -1;
    if (mode != 0) { // reading; not-a-number counts as non-zero
        fileChannels[number] = openExistingFile(name.c_str());
    } else {
        fileChannels[number] =
            open(hostPath(name.c_str()).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    return fileChannels[number] >= 0 ? 1 : 0;
}

void rtCloseFile(double channel)
{
    int file = channelFile(channel);
    if (file >= 0) close(file);
    fileChannels[toInt(channel)] = -1;
}

double rtEndOfFile(double channel)
{
    // Any number outside 0..7 reads as a closed channel here: at its end.
    int number = toInt(channel);
    if (number < 0 || number >= fileChannelCount || fileChannels[number] < 0) return 1;
    unsigned char byte;
    ssize_t got;
    do {
        got = read(fileChannels[number], &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got != 1) return 1;
    lseek(fileChannels[number], -1, SEEK_CUR);
    return 0;
}

// ---- Typed values

void rtReadUInt8(double channel, double& value)
{
    value = double(readUnsigned(channel, 1));
}

void rtReadUInt16(double channel, double& value)
{
    value = double(readUnsigned(channel, 2));
}

void rtReadUInt32(double channel, double& value)
{
    value = double(readUnsigned(channel, 4));
}

void rtReadFloat64(double channel, double& value)
{
    int file = channelFile(channel);
    unsigned char bytes[8];
    readExactly(file, bytes, 8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | bytes[i];
    memcpy(&value, &bits, 8);
}

void rtWriteUInt8(double channel, double value)
{
    writeUnsigned(channel, value, 1);
}

void rtWriteUInt16(double channel, double value)
{
    writeUnsigned(channel, value, 2);
}

void rtWriteUInt32(double channel, double value)
{
    writeUnsigned(channel, value, 4);
}

void rtWriteFloat64(double channel, double value)
{
    int file = channelFile(channel);
    uint64_t bits;
    memcpy(&bits, &value, 8);
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    writeExactly(file, bytes, 8);
}

// ---- Texts

void rtReadChars(double channel, RtString& text, double count)
{
    int file = channelFile(channel);
    int wanted = toInt(count);
    if (wanted <= 0) {
        text = "";
        return;
    }
    // A count beyond the rest of the file would only end in a short read: end before asking for
    // the memory, so a damaged count in a save game cannot exhaust it.
    struct stat info;
    off_t position = file < 0 ? -1 : lseek(file, 0, SEEK_CUR);
    if (file < 0 || position < 0 || fstat(file, &info) != 0 ||
        (S_ISREG(info.st_mode) && info.st_size - position < wanted))
        rtEndWithCode(3);
    char* buffer = text.bufferOf(uint32_t(wanted));
    readExactly(file, buffer, size_t(wanted));
    buffer[wanted] = '\0';
    text.recount(); // the text ends at the first zero byte
}

void rtReadLine(double channel, RtString& text)
{
    int file = channelFile(channel);
    char bytes[1024];
    ssize_t got;
    do {
        got = file < 0 ? -1 : read(file, bytes, sizeof bytes);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) rtEndWithCode(3);
    size_t length = size_t(got);
    if (const char* lineEnd = static_cast<const char*>(memchr(bytes, '\n', length))) {
        size_t end = size_t(lineEnd - bytes);
        lseek(file, off_t(end + 1) - off_t(length), SEEK_CUR); // stand just behind the LF
        length = (end > 0 && bytes[end - 1] == '\r') ? end - 1 : end;
    }
    char* buffer = text.bufferOf(uint32_t(length));
    memcpy(buffer, bytes, length);
    buffer[length] = '\0';
    text.recount();
}

void rtWriteChars(double channel, const RtString& text)
{
    int file = channelFile(channel);
    writeExactly(file, text.c_str(), text.length());
}

void rtWriteLine(double channel, const RtString& text)
{
    int file = channelFile(channel);
    std::string line(text.c_str(), text.length());
    line += "\r\n";
    writeExactly(file, line.data(), line.size());
}

// ---- Whole files

double rtFileSize(const RtString& name)
{
    int file = openExistingFile(name.c_str());
    if (file < 0) return 0;
    struct stat info;
    double size = fstat(file, &info) == 0 ? double(uint32_t(uint64_t(info.st_size))) : 0;
    close(file);
    return size;
}

double rtFileExists(const RtString& name)
{
    int file = openExistingFile(name.c_str());
    if (file < 0) return 0;
    close(file);
    return 1;
}

double rtDeleteFile(const RtString& name)
{
    return unlink(hostPath(name.c_str()).c_str()) == 0 ? 1 : 0;
}

void rtCopyFile(const RtString& source, const RtString& destination)
{
    int from = openExistingFile(source.c_str());
    if (from < 0) return;
    std::string target = hostPath(destination.c_str());
    // Copying a file onto itself would empty it before the first block is read.
    struct stat sourceInfo, targetInfo;
    if (fstat(from, &sourceInfo) != 0 ||
        (stat(target.c_str(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev &&
         targetInfo.st_ino == sourceInfo.st_ino)) {
        close(from);
        return;
    }
    int to = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (to < 0) {
        close(from);
        return;
    }
    // The size taken at the start is copied in blocks of 4096 bytes, each moved whole; at the first
    // block that fails the copy is removed, so no partial file remains.
    char block[4096];
    off_t left = sourceInfo.st_size;
    bool copied = true;
    while (left > 0 && copied) {
        size_t size = left < off_t(sizeof block) ? size_t(left) : sizeof block;
        copied = read(from, block, size) == ssize_t(size) && write(to, block, size) == ssize_t(size);
        left -= off_t(size);
    }
    close(from);
    if (close(to) != 0) copied = false;
    if (!copied) unlink(target.c_str());
}

RtString rtGetCurrentDir()
{
    char* current = getcwd(nullptr, 0);
    std::string folder = hostPath(current ? current : "");
    free(current);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return RtString(folder.c_str());
}

double rtSetCurrentDir(const RtString& folder)
{
    return chdir(hostPath(folder.c_str()).c_str()) == 0 ? 1 : 0;
}

void rtForwardSlashes(RtString& text)
{
    for (uint32_t i = 0; i < text.length(); ++i)
        if (text.charAt(i) == '\\') text.setCharAt(i, '/');
}
