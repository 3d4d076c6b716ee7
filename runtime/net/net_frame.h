// NetFrame: the one message format of network games, and its reader and writer.
//
// On the wire a frame is 2065 bytes, integers little-endian:
//   offset    0  4 bytes     magic "ZOLT"
//   offset    4  int32       length: payload bytes in use (a text's length without its terminator)
//   offset    8  int32       to: destination player id; 0 = the server; -1 = all players
//   offset   12  int32       from: sender player id; 0 = the server
//   offset   16  2048 bytes  payload: NUL-terminated text or a small int32 value
//   offset 2064  uint8       kind
// Each frame travels as one packet of the socket layer: the packet mark 'N' 'L' and the 2-byte
// big-endian packet length (2065), followed by the frame's bytes (see nl_sockets.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

constexpr int netFrameSize = 2065;
constexpr int netPayloadSize = 2048;
constexpr int netMinimumFrame = 17; // a packet shorter than this is not a frame
constexpr int netMaxTextLength = netPayloadSize - 1;
constexpr int netNameSize = 131; // a player's name with its terminator
constexpr int netJoinImageSize = 152;
constexpr int netDefaultPort = 27013;

// Player ids and the markers of local players waiting for one.
constexpr int32_t netServerId = 0;
constexpr int32_t netAllPlayers = -1;
constexpr int32_t netIdNew = -1;       // join request not sent yet
constexpr int32_t netIdGivenUp = -2;   // no id came: the network thread removes the player
constexpr int32_t netIdRequested = -3; // join request sent, id awaited
constexpr int32_t netFirstPlayerId = 101;

enum NetFrameKind : uint8_t
{
    JoinRequest = 1,
    JoinReply = 2,
    Data = 3,
    RemovePlayer = 4,
    CountQuery = 101,
    IdAtQuery = 102,
    NameQuery = 103,
    AliveQuery = 104,
};
constexpr uint8_t netFirstReplyKind = 100;

struct NetFrame
{
    int32_t length = 0;
    int32_t to = 0;
    int32_t from = 0;
    uint8_t kind = 0;
    char payload[netPayloadSize] = {}; // payload[length] is always 0 in a frame built or read here
};

// A frame carrying a text, cut to netMaxTextLength bytes.
NetFrame makeTextFrame(uint8_t kind, int32_t to, int32_t from, const char* text);
// A frame carrying one int32 (length 4).
NetFrame makeValueFrame(uint8_t kind, int32_t to, int32_t from, int32_t value);
// The int32 at the start of the payload.
int32_t frameValue(const NetFrame& frame);

// The 2065 wire bytes of a frame.
void encodeFrame(const NetFrame& frame, uint8_t out[netFrameSize]);
// Reads one received packet. A packet is a frame when it has at least netMinimumFrame bytes, starts
// with the magic and its length lies within 0..2047; bytes the packet lacks read as zero (a short
// packet has kind 0). Returns false for anything else and leaves `frame` unspecified.
bool decodeFrame(const uint8_t* data, size_t size, NetFrame& frame);

// The JoinRequest payload: the image of a player record from its socket field on.
//   0 int32 socket (-1), 4 int32 id (-1), 8 uint8 hidden, 9 name (131 bytes, NUL-terminated),
//   140 twelve zero bytes (an empty inbox).
struct JoinImage
{
    int32_t socket = -1;
    int32_t id = netIdNew;
    bool hidden = false;
    char name[netNameSize] = {}; // always terminated
};
NetFrame makeJoinRequest(const char* name, bool hidden);
// Reads the image from a JoinRequest's payload; a name without its terminator is cut to 130 bytes.
JoinImage readJoinImage(const NetFrame& frame);

} // namespace rt
