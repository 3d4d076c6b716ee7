// NetFrame reading and writing: the wire layout is in net_frame.h.
#include "runtime/net/net_frame.h"

#include <algorithm>
#include <cstring>

using namespace rt;

namespace rt {

static const char frameMagic[4] = {'Z', 'O', 'L', 'T'};

static void putInt(uint8_t* out, int32_t value)
{
    uint32_t bits = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        out[i] = uint8_t(bits >> (8 * i));
}

static int32_t getInt(const uint8_t* in)
{
    return int32_t(uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24);
}

NetFrame makeTextFrame(uint8_t kind, int32_t to, int32_t from, const char* text)
{
    NetFrame frame;
    frame.kind = kind;
    frame.to = to;
    frame.from = from;
    size_t length = text ? strnlen(text, netMaxTextLength) : 0;
    if (length) memcpy(frame.payload, text, length);
    frame.length = int32_t(length);
    return frame;
}

NetFrame makeValueFrame(uint8_t kind, int32_t to, int32_t from, int32_t value)
{
    NetFrame frame;
    frame.kind = kind;
    frame.to = to;
    frame.from = from;
    frame.length = 4;
    putInt(reinterpret_cast<uint8_t*>(frame.payload), value);
    return frame;
}

int32_t frameValue(const NetFrame& frame)
{
    return getInt(reinterpret_cast<const uint8_t*>(frame.payload));
}

void encodeFrame(const NetFrame& frame, uint8_t out[netFrameSize])
{
    memcpy(out, frameMagic, 4);
    putInt(out + 4, frame.length);
    putInt(out + 8, frame.to);
    putInt(out + 12, frame.from);
    memcpy(out + 16, frame.payload, netPayloadSize);
    out[2064] = frame.kind;
}

bool decodeFrame(const uint8_t* data, size_t size, NetFrame& frame)
{
    if (!data || size < size_t(netMinimumFrame) || memcmp(data, frameMagic, 4) != 0) return false;
    int32_t length = getInt(data + 4);
    if (length < 0 || length > netMaxTextLength) return false;
    // The packet may be shorter (or longer) than a frame: take what is there, zeros for the rest.
    uint8_t bytes[netFrameSize] = {};
    memcpy(bytes, data, std::min(size, size_t(netFrameSize)));
    frame.length = length;
    frame.to = getInt(bytes + 8);
    frame.from = getInt(bytes + 12);
    memcpy(frame.payload, bytes + 16, netPayloadSize);
    frame.payload[length] = '\0';
    frame.kind = bytes[2064];
    return true;
}

NetFrame makeJoinRequest(const char* name, bool hidden)
{
    NetFrame frame;
    frame.kind = JoinRequest;
    frame.to = netServerId;
    frame.from = 0;
    frame.length = netJoinImageSize;
    uint8_t* image = reinterpret_cast<uint8_t*>(frame.payload);
    putInt(image, -1);
    putInt(image + 4, netIdNew);
    image[8] = hidden ? 1 : 0;
    if (!hidden && name) memcpy(image + 9, name, strnlen(name, netNameSize - 1));
    return frame; // name terminator and the empty inbox are the payload's zeros
}

JoinImage readJoinImage(const NetFrame& frame)
{
    const uint8_t* image = reinterpret_cast<const uint8_t*>(frame.payload);
    JoinImage result;
    result.socket = getInt(image);
    result.id = getInt(image + 4);
    result.hidden = image[8] != 0;
    memcpy(result.name, image + 9, netNameSize - 1);
    result.name[netNameSize - 1] = '\0';
    return result;
}

} // namespace rt
