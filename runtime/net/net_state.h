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
    std::thread thread;            // the network thread while it runs
};

// Creates the engine's network record (start-up).
void netCreateRecord();
// The end routine's network step: stops the network thread, announces every local player as leaving
// with a RemovePlayer frame on the link, shuts the socket layer down and frees the record.
void netShutdown();

// Starts the network thread for the current sockets of `net`.
void startNetworkThread(NetState& net);
// Asks the network thread to end and waits for it, looking every 100 ms.
void stopNetworkThread(NetState& net);
// Writes one whole frame on a socket; false when a write failed.
bool writeFrame(NLsocket socket, const NetFrame& frame);

} // namespace rt
