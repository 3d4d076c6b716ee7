// Fuzzes the frame reader with arbitrary packets: a packet it accepts must carry a length within the
// payload, end its text there, and survive writing and reading again unchanged. The join image read
// from any accepted frame must have a terminated name.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/net/net_frame.h"

using namespace rt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NetFrame frame;
    if (!decodeFrame(data, size, frame)) return 0;
    if (frame.length < 0 || frame.length > netMaxTextLength || frame.payload[frame.length] != '\0') abort();

    uint8_t bytes[netFrameSize];
    encodeFrame(frame, bytes);
    NetFrame again;
    if (!decodeFrame(bytes, sizeof bytes, again)) abort();
    if (again.length != frame.length || again.to != frame.to || again.from != frame.from ||
        again.kind != frame.kind || memcmp(again.payload, frame.payload, netPayloadSize) != 0)
        abort();

    JoinImage image = readJoinImage(frame);
    if (strnlen(image.name, netNameSize) >= size_t(netNameSize)) abort();
    return 0;
}
