// Fuzzes the HTTP header splitter: the input is cut into chunks at the positions its first byte
// chooses; the body found chunk by chunk must equal the body found in one piece, and no chunk may
// report more header bytes than it has.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/net/http_get.h"

using namespace rt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    size_t step = size_t(data[0] % 16) + 1;
    const char* text = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;

    HttpHeaderSplitter whole;
    size_t header = splitHttpHeader(whole, text, length);
    if (header > length) abort();
    std::string expected(text + header, length - header);

    HttpHeaderSplitter chunked;
    std::string body;
    for (size_t at = 0; at < length; at += step) {
        size_t count = length - at < step ? length - at : step;
        size_t inHeader = splitHttpHeader(chunked, text + at, count);
        if (inHeader > count) abort();
        body.append(text + at + inHeader, count - inHeader);
    }
    if (body != expected || chunked.headerDone != whole.headerDone) abort();
    return 0;
}
