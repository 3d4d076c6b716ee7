// The socket layer under the network games and the HTTP download: numbered sockets over POSIX TCP,
// socket groups with polling, address look-up and text form, and a per-thread error number.
//
// Two socket types:
// - NL_RELIABLE (16): a plain TCP byte stream.
// - NL_RELIABLE_PACKETS (17): TCP that keeps packet boundaries. On the wire every packet is
//     ['N' 'L'][2 bytes: payload length, unsigned big-endian, 1..nlMaxPacketSize][payload bytes]
//   the framing other programs built on this socket interface use, so that they can take part. A zero
//   length is skipped by the reader; a header without the mark, or a length above nlMaxPacketSize,
//   means the stream cannot be trusted any more and reads as a lost connection. nlRead returns one whole
//   packet or 0 while its bytes are still arriving (the part that came is kept with the socket, so a peer
//   that stalls half way costs nothing but that buffer). nlWrite sends one whole packet or fails; writes from
//   several threads on one socket never interleave. A packet that a non-blocking socket cannot send within
//   nlPacketWriteTimeoutMs breaks the connection: further reads and writes fail with
//   NL_ERR_CONNECTION_LOST, so a peer that stops reading cannot hold up its sender for long.
//
// Sockets are non-blocking unless NL_BLOCKING_IO was enabled on the thread that opened them: a read
// with nothing pending returns 0, an accept with nothing pending returns NL_INVALID with the error
// NL_ERR_NO_PENDING. Blocking reads give up after nlBlockingTimeoutMs of silence (NL_ERR_TIMED_OUT).
#pragma once

#include <cstdint>

namespace rt {

using NLsocket = int32_t;
using NLint = int32_t;

constexpr NLsocket NL_INVALID = -1;

// Network and socket types.
constexpr NLint NL_IP = 3;
constexpr NLint NL_RELIABLE = 16;
constexpr NLint NL_RELIABLE_PACKETS = 17;

// nlEnable / nlDisable switches (per calling thread).
constexpr NLint NL_BLOCKING_IO = 64;

// nlPollGroup status.
constexpr NLint NL_READ_STATUS = 1;

// Error numbers from nlGetError (per calling thread).
constexpr NLint NL_NO_ERROR = 0;
constexpr NLint NL_ERR_SYSTEM = 256;           // a system call failed for another reason
constexpr NLint NL_ERR_NO_NETWORK = 257;       // nlInit was not called, or a network other than NL_IP
constexpr NLint NL_ERR_BAD_ARGUMENT = 258;     // a null pointer, a bad type or a negative size
constexpr NLint NL_ERR_INVALID_SOCKET = 262;   // not an open socket
constexpr NLint NL_ERR_CONNECTION_LOST = 263;  // reset by the peer, broken, or packet framing lost
constexpr NLint NL_ERR_NOT_LISTENING = 264;    // accept on a socket that does not listen
constexpr NLint NL_ERR_NO_PENDING = 265;       // no connection waiting to be accepted
constexpr NLint NL_ERR_HOST_NOT_FOUND = 266;   // the name does not resolve to an IPv4 address
constexpr NLint NL_ERR_PACKET_TOO_LARGE = 267; // the packet did not fit the read buffer (it is dropped)
constexpr NLint NL_ERR_STREAM_ENDED = 268;     // the peer closed the stream
constexpr NLint NL_ERR_TIMED_OUT = 269;        // a blocking call waited too long
constexpr NLint NL_ERR_GROUP = 270;            // not a group, or the group is full

constexpr int nlMaxPacketSize = 16384;      // bytes of payload in one packet
constexpr int nlMaxGroupSockets = 128;      // sockets in one group
constexpr int nlConnectTimeoutMs = 5000;    // nlConnect gives up after this
constexpr int nlPacketWriteTimeoutMs = 250; // a packet that cannot be sent in this time fails
constexpr int nlBlockingTimeoutMs = 30000;  // blocking reads and writes give up after this silence

// An IPv4 address and port.
struct NLaddress
{
    uint32_t host = 0; // network byte order
    uint16_t port = 0; // host byte order
    bool valid = false;
};

bool nlInit();
// Closes every socket and group; nlInit starts afresh.
void nlShutdown();
bool nlSelectNetwork(NLint network);
void nlEnable(NLint what);
void nlDisable(NLint what);
NLint nlGetError();

// A socket bound to `port` (0: any free port) on the bind address (see nlSetLocalAddr).
NLsocket nlOpen(uint16_t port, NLint type);
bool nlListen(NLsocket socket);
NLsocket nlAcceptConnection(NLsocket socket);
// Connects within nlConnectTimeoutMs; the socket keeps its blocking mode.
bool nlConnect(NLsocket socket, const NLaddress* address);
bool nlClose(NLsocket socket);
// Bytes (stream) or one packet's bytes (packet socket); 0 when nothing is complete yet; -1 on failure.
NLint nlRead(NLsocket socket, void* buffer, NLint bytes);
// Bytes written (a stream socket may take fewer than offered); -1 on failure.
NLint nlWrite(NLsocket socket, const void* buffer, NLint bytes);

// The address of the other end of a connected socket.
bool nlGetRemoteAddr(NLsocket socket, NLaddress* address);
// The socket's own address; a socket bound to all interfaces reports the loopback address, the one
// address that always reaches this machine.
bool nlGetLocalAddr(NLsocket socket, NLaddress* address);
// Every IPv4 address of this machine's interfaces, with the port of the socket opened last;
// `count` receives their number. The array stays valid until the next call on this thread.
const NLaddress* nlGetAllLocalAddr(NLint* count);
// The interface new sockets bind to; an invalid address (the start value) means all interfaces.
void nlSetLocalAddr(const NLaddress* address);
bool nlSetAddrPort(NLaddress* address, uint16_t port);
// "a.b.c.d" or "a.b.c.d:port" (the port part is read when present).
bool nlGetAddrFromName(const char* name, NLaddress* address);
// "a.b.c.d:port" into `text` (room for 22 bytes); returns text.
char* nlAddrToString(const NLaddress* address, char* text);

NLint nlGroupCreate();
bool nlGroupDestroy(NLint group);
bool nlGroupAddSocket(NLint group, NLsocket socket);
bool nlGroupDeleteSocket(NLint group, NLsocket socket);
// Overwrites `sockets` with up to `number` members that are ready for reading (data, end of stream
// or error) and returns their count; -1 on failure. Waits up to `timeoutMs` (0: not at all) for a
// ready member or a wake-up of the group; a wake-up alone returns 0.
NLint nlPollGroup(NLint group, NLint status, NLsocket* sockets, NLint number, NLint timeoutMs);
// Ends the current wait of nlPollGroup on this group at once, or the next one when none is waiting.
// Any thread may call it.
bool nlGroupWake(NLint group);

} // namespace rt
