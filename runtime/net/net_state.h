// NetState: the network record of the engine, shared by the game thread (the commands) and the
// network thread under its one mutex.
//
// A program hosting a game runs the server inside its network thread and is at the same time a client
// of it: its link socket is connected to its own listening socket. Joiners have only the link.
// Every decision the frame format leaves open is made here:
// - A message to all players (to -1) is relayed by the server as one copy per server player, each
//   copy addressed to that player's id, so every player (the sender too) finds it in its inbox once.
//   Local delivery only ever matches real ids (above 0), never the markers of waiting players.
// - Texts are cut to 2047 bytes and names to 130 characters when sent; a received length outside
//   0..2047 makes the packet no frame; a received name is cut at 130 characters.
// - The server serves at most netMaxConnections connections; one accepted beyond them is closed at
//   once. A connection that breaks or ends takes every server player registered over it along.
// - An IdAtQuery past the last visible player (or before the first) is answered with id 0.
// - Server replies are taken only from the link, so a peer cannot pose as the server; a query takes
//   only a reply of its own kind. Inboxes hold at most netMaxInbox frames and the reply queue
//   netMaxReplies: beyond that new frames are dropped.
// - A connection acts only for the players that joined over it: the server relays a Data frame only
//   when its `from` is such a player, removes only such players, and answers a query only when the
//   asker is one, on the connection that asked. Refused frames are counted in refusedFrames.
// - A connection that has no player joined within netJoinTimeoutMs is closed; when every place is
//   taken, a newcomer replaces the oldest connection that never joined. A connection that cannot
//   take a frame (its peer stopped reading) is closed, and its players leave as if they had sent a
//   RemovePlayer.
// - The network thread sleeps until a socket has something to read or a command wakes it; each
//   pass reads at most netFramesPerPass frames from each connection, one from each in turn, so a
//   flooding peer cannot hold up the others.
#pragma once

#include <cstdint>
#include <list>
#include <mutex>
#include <thread>

#include "runtime/net/net_frame.h"
#include "runtime/net/nl_sockets.h"

namespace rt {

constexpr int netMaxConnections = 100;
constexpr size_t netMaxInbox = 4096;
constexpr size_t netMaxReplies = 64;
constexpr int netFramesPerPass = 32;
// The longest sleep of the network thread between passes when nothing happens (it still closes
// idle connections on time).
constexpr int netIdleWaitMs = 50;

// How long an accepted connection may stay without a player before the server closes it. Read when
// the network thread starts; tests shorten it.
inline int netJoinTimeoutMs = 3000;

// A frame in a queue or inbox, with the socket it was read from (the link or a server connection).
struct FrameNode
{
    NetFrame frame;
    NLsocket origin = NL_INVALID;
};

struct NetPlayer
{
    NLsocket socket = NL_INVALID; // server list: the connection its frames arrive on; local list: -1
    int32_t id = netIdNew;        // see the id markers in net_frame.h
    bool hidden = false;          // registered without a name: not counted or indexed by queries
    char name[netNameSize] = {};  // NUL-terminated, at most 130 characters
    std::list<FrameNode> inbox;   // Data frames for this local player, oldest first
};

struct NetState
{
    bool hosting = false;               // 1 after rtNetHost succeeded; 0 after rtNetJoin
    bool ready = false;                 // the socket layer is initialised
    NLsocket listenSocket = NL_INVALID; // the host's socket for joiners
    NLsocket linkSocket = NL_INVALID;   // connected to the server (the host's own for a host)
    std::list<NetPlayer> localPlayers;  // registered by this program, in order of registration
    std::list<NetPlayer> serverPlayers; // known to the server (host only), in order of joining
    int32_t networkType = NL_IP;
    int32_t connectionType = NL_RELIABLE_PACKETS;
    bool stopRequest = true;       // asks the network thread to end
    bool threadRunning = false;    // the network thread is running
    std::mutex mutex;              // guards every field of this record
    std::list<FrameNode> incoming; // frames read during the network thread's current pass
    std::list<FrameNode> replies;  // server replies (kinds 100 and above) awaiting a query
    int32_t lastSender = 0;        // `from` of the message rtNetReceiveMessage took last
    uint64_t refusedFrames = 0;    // frames that acted for a player of another connection
    NLint group = -1;              // the sockets the network thread waits on, and its wake-up
    std::thread thread;            // the network thread while it runs
};

// Creates the engine's network record (start-up).
void netCreateRecord();
// The end routine's network step: stops the network thread, announces every local player as leaving
// with a RemovePlayer frame on the link, shuts the socket layer down and frees the record.
void netShutdown();

// Starts the network thread for the current sockets of `net`; false when no thread can be started.
bool startNetworkThread(NetState& net);
// Ends the network thread's wait at once (a local player awaits its join request, or a stop).
void wakeNetworkThread(NetState& net);
// Asks the network thread to end and waits for it, looking every 100 ms.
void stopNetworkThread(NetState& net);
// Writes one whole frame on a socket; false when a write failed.
bool writeFrame(NLsocket socket, const NetFrame& frame);

} // namespace rt
