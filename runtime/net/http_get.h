// HTTP download: one HTTP/1.0 GET whose body is stored in a file.
#pragma once

#include <cstddef>

namespace rt {

// Finds the end of a response header across the chunks of a stream: carriage returns are ignored,
// a line feed counts, any other byte resets the count, and the header ends at the second line feed
// in a row. Feed the chunks in order.
struct HttpHeaderSplitter
{
    int lineFeeds = 0;
    bool headerDone = false;
};
// How many bytes at the start of this chunk still belong to the header (all of them while it goes
// on, none once it has ended); the rest of the chunk is body.
size_t splitHttpHeader(HttpHeaderSplitter& splitter, const char* chunk, size_t size);

} // namespace rt
