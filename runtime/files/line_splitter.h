// Splitting a stream of bytes into text lines, for the INI and line-file readers. A line ends at
// LF, a CR just before the LF is dropped, and a line's text ends at its first zero byte. Files are
// untrusted, so a line's length is bounded: either long lines come out in pieces of 1024 bytes (as
// rtReadLine returns them), or each line is cut to a slot's size and the rest of it is dropped.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <unistd.h>

namespace rt {

class LineSplitter
{
  public:
    enum class LongLines
    {
        InPieces, // a line of more than 1024 bytes gives pieces of 1024, then the rest
        Cut,      // a line keeps its first maxCutLength bytes
    };
    static constexpr size_t pieceLength = 1024;
    static constexpr size_t maxCutLength = 1023;

    explicit LineSplitter(LongLines mode) : mode_(mode) {}

    // Splits the next bytes, calling onLine(const char* text, size_t length) for each finished line;
    // onLine returns false to stop. Returns false once stopped.
    template <class OnLine> bool feed(const char* bytes, size_t size, OnLine&& onLine)
    {
        while (size > 0 && !stopped_) {
            const char* lineEnd = static_cast<const char*>(memchr(bytes, '\n', size));
            size_t take = lineEnd ? size_t(lineEnd - bytes) : size;
            size_t room = pieceLength - pending_.size(); // pending_ never holds more than a piece
            if (take >= room && (mode_ == LongLines::InPieces || !lineEnd || take > room)) {
                if (mode_ == LongLines::InPieces) {
                    // No LF within the next 1024 bytes: they are a line of their own.
                    pending_.append(bytes, room);
                    bytes += room;
                    size -= room;
                    emit(pending_.size(), onLine);
                    continue;
                }
                // Cut: keep what fits, drop the rest of this line.
                pending_.append(bytes, room);
                overflowed_ = true;
            } else {
                pending_.append(bytes, take);
            }
            if (!lineEnd) return !stopped_;
            size_t length = pending_.size();
            if (!overflowed_ && length > 0 && pending_[length - 1] == '\r') --length;
            emit(length, onLine);
            bytes += take + 1;
            size -= take + 1;
        }
        return !stopped_;
    }

    // The bytes after the last LF, when there are any, form the last line.
    template <class OnLine> void finish(OnLine&& onLine)
    {
        if (!stopped_ && (!pending_.empty() || overflowed_)) emit(pending_.size(), onLine);
    }

  private:
    template <class OnLine> void emit(size_t length, OnLine& onLine)
    {
        if (mode_ == LongLines::Cut && length > maxCutLength) length = maxCutLength;
        length = strnlen(pending_.data(), length);
        if (!onLine(pending_.data(), length)) stopped_ = true;
        pending_.clear();
        overflowed_ = false;
    }

    LongLines mode_;
    std::string pending_;
    bool overflowed_ = false; // Cut: the current line is longer than a piece
    bool stopped_ = false;
};

// Reads the open file through the splitter to its end, or until onLine stops it.
template <class OnLine> void splitFileLines(int file, LineSplitter& splitter, OnLine&& onLine)
{
    char chunk[65536];
    for (;;) {
        ssize_t got = read(file, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (!splitter.feed(chunk, size_t(got), onLine)) return;
    }
    splitter.finish(onLine);
}

} // namespace rt
