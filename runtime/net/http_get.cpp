// rtNetHttpGet: a blocking HTTP/1.0 GET on the calling thread. The status line and the header are
// not examined (an error page is stored like any body); redirects and chunked transfer encoding
// are not handled. The socket layer stays up afterwards, so a network game in progress keeps its
// sockets.
#include "runtime/net/http_get.h"

#include <cstdio>
#include <string>

#include "runtime/net/nl_sockets.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

size_t splitHttpHeader(HttpHeaderSplitter& splitter, const char* chunk, size_t size)
{
    if (splitter.headerDone) return 0;
    for (size_t i = 0; i < size; ++i) {
        char byte = chunk[i];
        if (byte == '\r') continue;
        if (byte != '\n') {
            splitter.lineFeeds = 0;
            continue;
        }
        if (++splitter.lineFeeds == 2) {
            splitter.headerDone = true;
            return i + 1;
        }
    }
    return size;
}

// Game code written elsewhere may separate folders with '\'.
static std::string filePath(const RtString& name)
{
    std::string path = name.c_str();
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// Reads the response into `file` (which may be null: the data is dropped) until the stream ends;
// true when the server closed it normally.
static bool receiveBody(NLsocket socket, FILE* file)
{
    HttpHeaderSplitter splitter;
    char chunk[4095];
    for (;;) {
        NLint count = nlRead(socket, chunk, sizeof chunk);
        if (count < 0) return nlGetError() == NL_ERR_STREAM_ENDED;
        size_t header = splitHttpHeader(splitter, chunk, size_t(count));
        if (file && size_t(count) > header) fwrite(chunk + header, 1, size_t(count) - header, file);
    }
}

} // namespace rt

double rtNetHttpGet(const RtString& host, const RtString& path, double port, const RtString& outputFile)
{
    if (!nlInit() || !nlSelectNetwork(NL_IP)) return 0;
    nlEnable(NL_BLOCKING_IO);
    NLaddress server;
    NLsocket socket = NL_INVALID;
    double result = 0;
    if (nlGetAddrFromName(host.c_str(), &server) &&
        nlSetAddrPort(&server, uint16_t(toUint32Wrapping(port))) &&
        (socket = nlOpen(0, NL_RELIABLE)) != NL_INVALID && nlConnect(socket, &server)) {
        FILE* file = fopen(filePath(outputFile).c_str(), "wb");
        std::string request = std::string("GET ") + path.c_str() + " HTTP/1.0\r\nHost:" + host.c_str() +
                              "\r\nAccept: */*\r\nUser-Agent: Tembric game\r\n\r\n";
        if (nlWrite(socket, request.data(), NLint(request.size())) == NLint(request.size()))
            result = receiveBody(socket, file) ? 1 : 0;
        if (file) fclose(file);
    }
    if (socket != NL_INVALID) nlClose(socket);
    nlDisable(NL_BLOCKING_IO);
    return result;
}
