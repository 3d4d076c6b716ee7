// The network thread: each pass reads the link and, on the host, accepts joiners, reads their
// connections and serves them; then it delivers messages into local inboxes and hands server replies
// to the waiting commands. Between passes it sleeps until there is something to do. See net_state.h
// for the rules it keeps.
#include <algorithm>
#include <chrono>
#include <system_error>
#include <vector>

#include "runtime/net/net_state.h"

using namespace rt;

namespace rt {

// ---- Types -------------------------------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;
using Lock = std::unique_lock<std::mutex>;

// An accepted connection of the server.
struct Connection
{
    NLsocket socket = NL_INVALID;
    Clock::time_point acceptedAt;
    bool joined = false; // a player joined over it, or it is the host's own link: never idle
};

// What only the network thread knows: the server's connections and its id counter.
struct ServerSide
{
    NLint group = -1;                    // the link, the listening socket and every connection
    std::vector<Connection> connections; // accepted, in the group, at most netMaxConnections
    NLsocket readySockets[nlMaxGroupSockets];
    NLaddress linkAddress;             // the host's own link as the server sees it connect
    int32_t nextId = netFirstPlayerId; // ids are not reused while the thread lives
    std::chrono::milliseconds joinTimeout{rt::netJoinTimeoutMs};
    std::vector<NLsocket> reading; // connections still being read in this pass
    std::vector<NLsocket> stalled; // connections a write failed on, closed after the serving
};

// A hostile server must not keep the thread in one pass for ever.
constexpr int maxLinkFramesPerPass = 1000;
// The server forgets nobody who does not leave, so its list has a ceiling against join floods.
constexpr size_t maxServerPlayers = 4096;
// Frames read from all connections in one pass. Everything they cause is written before the link is
// read again, so this also bounds what piles up in the host's own link meanwhile.
constexpr int maxFramesPerPass = 256;

// ---- Helpers -----------------------------------------------------------------------------------

// One read: 1 with a frame, 0 when nothing came or the packet is not a frame, -1 when the read
// failed (nlGetError says why).
int readFrame(NLsocket socket, NetFrame& frame)
{
    uint8_t packet[netFrameSize];
    NLint count = nlRead(socket, packet, netFrameSize);
    if (count < 0) return -1;
    return decodeFrame(packet, size_t(count), frame) ? 1 : 0;
}

NetPlayer* serverPlayerWithId(NetState& net, int32_t id)
{
    for (NetPlayer& player : net.serverPlayers)
        if (player.id == id) return &player;
    return nullptr;
}

// The server's answer to a query (kinds 101 to 104); the caller sends it to the asker.
NetFrame answerQuery(NetState& net, const NetFrame& query)
{
    switch (query.kind) {
    case CountQuery: {
        int32_t count = int32_t(std::count_if(net.serverPlayers.begin(), net.serverPlayers.end(),
                                              [](const NetPlayer& p) { return !p.hidden; }));
        return makeValueFrame(CountQuery, query.from, netServerId, count);
    }
    case IdAtQuery: {
        int32_t wanted = frameValue(query), index = 0, id = 0;
        for (const NetPlayer& player : net.serverPlayers) {
            if (player.hidden) continue;
            if (index++ == wanted) {
                id = player.id;
                break;
            }
        }
        return makeValueFrame(IdAtQuery, query.from, netServerId, id);
    }
    case NameQuery: {
        const NetPlayer* player = serverPlayerWithId(net, frameValue(query));
        return makeTextFrame(NameQuery, query.from, netServerId, player ? player->name : "");
    }
    default: // AliveQuery
        return makeValueFrame(AliveQuery, query.from, netServerId, 1);
    }
}

// The server player `id` if it joined over `connection`.
NetPlayer* playerOf(NetState& net, int32_t id, NLsocket connection)
{
    NetPlayer* player = serverPlayerWithId(net, id);
    return player && player->socket == connection ? player : nullptr;
}

// Closes a server connection; its players leave as if they had sent a RemovePlayer.
void dropConnection(NetState& net, ServerSide& server, NLsocket socket)
{
    nlGroupDeleteSocket(server.group, socket);
    nlClose(socket);
    std::erase_if(server.connections, [socket](const Connection& c) { return c.socket == socket; });
    Lock lock(net.mutex);
    net.serverPlayers.remove_if([socket](const NetPlayer& p) { return p.socket == socket; });
}

void markJoined(ServerSide& server, NLsocket socket)
{
    for (Connection& connection : server.connections)
        if (connection.socket == socket) connection.joined = true;
}

// ---- The pass ----------------------------------------------------------------------------------

// Step 2: players that gave up go; new players ask the server for an id.
void registerLocalPlayers(NetState& net)
{
    Lock lock(net.mutex);
    for (auto it = net.localPlayers.begin(); it != net.localPlayers.end();) {
        if (it->id == netIdGivenUp) {
            it = net.localPlayers.erase(it);
            continue;
        }
        if (it->id == netIdNew) {
            NetFrame request = makeJoinRequest(it->name, it->hidden);
            NLsocket link = net.linkSocket;
            lock.unlock(); // commands only append players, so `it` stays valid
            writeFrame(link, request);
            lock.lock();
            if (it->id == netIdNew) it->id = netIdRequested;
        }
        ++it;
    }
}

// Step 3: everything the server sent. A link that broke or ended is no longer waited on.
void readLink(NetState& net, ServerSide& server, NLsocket link)
{
    NetFrame frame;
    for (int i = 0; i < maxLinkFramesPerPass; ++i) {
        int result = readFrame(link, frame);
        if (result < 0 && nlGetError() != NL_ERR_PACKET_TOO_LARGE) nlGroupDeleteSocket(server.group, link);
        if (result != 1) return;
        Lock lock(net.mutex);
        net.incoming.push_back({frame, link});
    }
}

// Step 4.1: one new joiner. When every place is taken, the oldest connection that never joined makes
// room; without one the newcomer is closed at once (its peer sees the stream end). False when the
// listening socket is gone and the thread must end.
bool acceptJoiner(NetState& net, ServerSide& server, NLsocket listen)
{
    NLsocket fresh = nlAcceptConnection(listen);
    if (fresh == NL_INVALID)
        return nlGetError() != NL_ERR_INVALID_SOCKET && nlGetError() != NL_ERR_NOT_LISTENING;
    auto& connections = server.connections;
    if (connections.size() >= size_t(netMaxConnections)) {
        auto idle = std::find_if(connections.begin(), connections.end(),
                                 [](const Connection& c) { return !c.joined; });
        if (idle != connections.end()) dropConnection(net, server, idle->socket);
    }
    if (connections.size() >= size_t(netMaxConnections) || !nlGroupAddSocket(server.group, fresh)) {
        nlClose(fresh);
        return true;
    }
    NLaddress remote;
    bool ownLink = nlGetRemoteAddr(fresh, &remote) && remote.host == server.linkAddress.host &&
                   remote.port == server.linkAddress.port;
    connections.push_back({fresh, Clock::now(), ownLink});
    return true;
}

// Step 4.2: the frames of every connection with something to read, one from each in turn, at most
// netFramesPerPass from one connection and maxFramesPerPass in all. Connections that fail are
// dropped with their players.
void readConnections(NetState& net, ServerSide& server, NLsocket link, NLsocket listen)
{
    NLint count = nlPollGroup(server.group, NL_READ_STATUS, server.readySockets, nlMaxGroupSockets, 0);
    server.reading.clear();
    for (NLint i = 0; i < count; ++i)
        if (server.readySockets[i] != link && server.readySockets[i] != listen)
            server.reading.push_back(server.readySockets[i]);
    int total = 0;
    for (int round = 0; round < netFramesPerPass && !server.reading.empty(); ++round) {
        for (auto it = server.reading.begin(); it != server.reading.end() && total < maxFramesPerPass;) {
            NetFrame frame;
            int result = readFrame(*it, frame);
            if (result == 1) {
                Lock lock(net.mutex);
                net.incoming.push_back({frame, *it});
                ++total;
                ++it;
                continue;
            }
            // Nothing complete, or no frame (which ends this connection's turn for the pass).
            if (result < 0 && nlGetError() != NL_ERR_PACKET_TOO_LARGE) dropConnection(net, server, *it);
            it = server.reading.erase(it);
        }
    }
}

// Connections that had their time to join and did not are closed.
void closeIdleConnections(NetState& net, ServerSide& server)
{
    auto now = Clock::now();
    for (size_t i = 0; i < server.connections.size();) {
        const Connection& connection = server.connections[i];
        if (!connection.joined && now - connection.acceptedAt > server.joinTimeout)
            dropConnection(net, server, connection.socket); // takes it out of the list
        else
            ++i;
    }
}

// Step 5: messages for this program's players go into their inboxes. On the host, a message that
// came over a server connection is taken only from one of that connection's players (the others
// are left for serve, which refuses them).
void deliverLocally(NetState& net, NLsocket link)
{
    Lock lock(net.mutex);
    for (auto it = net.incoming.begin(); it != net.incoming.end();) {
        NetPlayer* target = nullptr;
        bool trusted = it->origin == link || playerOf(net, it->frame.from, it->origin);
        if (it->frame.kind == Data && it->frame.to > 0 && trusted) {
            for (NetPlayer& player : net.localPlayers)
                if (player.id == it->frame.to) {
                    target = &player;
                    break;
                }
        }
        if (!target) {
            ++it;
            continue;
        }
        if (target->inbox.size() < netMaxInbox) target->inbox.push_back(*it);
        it = net.incoming.erase(it);
    }
}

using Writes = std::vector<std::pair<NLsocket, NetFrame>>;

// A Data frame from one of the connection's own players goes to its addressee, or to every player
// (one copy each, addressed to its player); any other sender is refused.
void relay(NetState& net, const FrameNode& node, Writes& writes)
{
    const NetFrame& frame = node.frame;
    if (!playerOf(net, frame.from, node.origin)) {
        ++net.refusedFrames;
        return;
    }
    if (frame.to != netAllPlayers) {
        if (const NetPlayer* player = serverPlayerWithId(net, frame.to))
            writes.push_back({player->socket, frame});
        return;
    }
    for (const NetPlayer& player : net.serverPlayers) {
        if (player.socket == NL_INVALID) continue;
        NetFrame copy = frame;
        copy.to = player.id; // each copy is addressed to its player: delivered once
        writes.push_back({player.socket, copy});
    }
}

void registerJoiner(NetState& net, ServerSide& server, const FrameNode& node, Writes& writes)
{
    if (net.serverPlayers.size() >= maxServerPlayers || server.nextId == INT32_MAX) return;
    JoinImage image = readJoinImage(node.frame);
    NetPlayer& player = net.serverPlayers.emplace_back();
    player.socket = node.origin; // the connection the request came on
    player.id = server.nextId++;
    player.hidden = image.hidden;
    std::copy(std::begin(image.name), std::end(image.name), player.name);
    markJoined(server, node.origin);
    NetFrame reply;
    reply.kind = JoinReply;
    reply.to = player.id;
    reply.from = netServerId;
    writes.push_back({node.origin, reply});
}

// A connection removes only its own players; a removal of another connection's player is refused.
void removePlayer(NetState& net, const FrameNode& node)
{
    int32_t leaving = node.frame.from;
    NLsocket origin = node.origin;
    if (serverPlayerWithId(net, leaving) && !playerOf(net, leaving, origin)) ++net.refusedFrames;
    net.serverPlayers.remove_if([&](const NetPlayer& p) { return p.id == leaving && p.socket == origin; });
}

// The answer goes back on the connection that asked, and only when the asker is its own player.
void answer(NetState& net, const FrameNode& node, Writes& writes)
{
    if (playerOf(net, node.frame.from, node.origin))
        writes.push_back({node.origin, answerQuery(net, node.frame)});
    else if (serverPlayerWithId(net, node.frame.from))
        ++net.refusedFrames;
}

// Step 6, host only: relay messages, register joiners, remove leavers and answer queries, for the
// frames that came in over the server's connections. A connection that cannot take a frame is
// closed afterwards.
void serve(NetState& net, ServerSide& server, NLsocket link)
{
    Lock lock(net.mutex);
    Writes writes;
    for (auto it = net.incoming.begin(); it != net.incoming.end();) {
        const NetFrame& frame = it->frame;
        bool fromServerSide = it->origin != link;
        if (fromServerSide && frame.kind == Data) {
            relay(net, *it, writes);
        } else if (!fromServerSide || frame.to != netServerId) {
            ++it; // left for the link's own handling
            continue;
        } else if (frame.kind == JoinRequest) {
            registerJoiner(net, server, *it, writes);
        } else if (frame.kind == RemovePlayer) {
            removePlayer(net, *it);
        } else if (frame.kind >= CountQuery && frame.kind <= AliveQuery) {
            answer(net, *it, writes);
        } else {
            ++it;
            continue;
        }
        it = net.incoming.erase(it);
        if (writes.empty()) continue;
        lock.unlock(); // only this thread changes the queue, so `it` stays valid
        for (auto& [socket, reply] : writes)
            if (!writeFrame(socket, reply)) server.stalled.push_back(socket);
        writes.clear();
        lock.lock();
    }
    lock.unlock();
    for (NLsocket socket : server.stalled)
        dropConnection(net, server, socket);
    server.stalled.clear();
}
// Steps 7 and 8: the server's join replies and query replies; whatever is left goes.
void takeServerReplies(NetState& net, NLsocket link)
{
    Lock lock(net.mutex);
    for (const FrameNode& node : net.incoming) {
        const NetFrame& frame = node.frame;
        if (node.origin != link || frame.from != netServerId) continue;
        if (frame.kind == JoinReply && frame.to > 0) {
            for (NetPlayer& player : net.localPlayers)
                if (player.id == netIdRequested) {
                    player.id = frame.to;
                    break;
                }
        } else if (frame.kind >= netFirstReplyKind && net.replies.size() < netMaxReplies) {
            net.replies.push_back(node);
        }
    }
    net.incoming.clear();
}

// One pass; false when the thread is to end.
bool networkPass(NetState& net, ServerSide& server)
{
    NLsocket link, listen;
    {
        Lock lock(net.mutex);
        if (net.stopRequest) return false;
        link = net.linkSocket;
        listen = net.listenSocket;
    }
    registerLocalPlayers(net);
    readLink(net, server, link);
    if (listen != NL_INVALID) {
        if (!acceptJoiner(net, server, listen)) {
            Lock lock(net.mutex);
            net.stopRequest = true;
            net.ready = false;
            return false;
        }
        readConnections(net, server, link, listen);
    }
    deliverLocally(net, link);
    if (listen != NL_INVALID) serve(net, server, link);
    takeServerReplies(net, link);
    if (listen != NL_INVALID) closeIdleConnections(net, server);
    return true;
}

// Sleeps until a socket has something to read, a joiner knocks or a command wakes the thread; at
// most netIdleWaitMs.
void awaitWork(ServerSide& server)
{
    if (nlPollGroup(server.group, NL_READ_STATUS, server.readySockets, nlMaxGroupSockets, netIdleWaitMs) < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(netIdleWaitMs));
}

void networkThread(NetState* net)
{
    ServerSide server;
    {
        Lock lock(net->mutex);
        server.group = net->group;
        nlGroupAddSocket(server.group, net->linkSocket);
        if (net->listenSocket != NL_INVALID) nlGroupAddSocket(server.group, net->listenSocket);
        nlGetLocalAddr(net->linkSocket, &server.linkAddress);
    }
    while (networkPass(*net, server))
        awaitWork(server);
    // The server's connections end with the thread that served them.
    for (const Connection& connection : server.connections)
        nlClose(connection.socket);
    Lock lock(net->mutex);
    nlGroupDestroy(net->group);
    net->group = -1;
    net->threadRunning = false;
    net->stopRequest = true;
}

} // namespace

// ---- Module functions --------------------------------------------------------------------------

bool writeFrame(NLsocket socket, const NetFrame& frame)
{
    uint8_t bytes[netFrameSize];
    encodeFrame(frame, bytes);
    // A packet socket takes the whole frame in one write or fails.
    return nlWrite(socket, bytes, netFrameSize) == netFrameSize;
}

bool startNetworkThread(NetState& net)
{
    Lock lock(net.mutex);
    net.stopRequest = false;
    net.threadRunning = true;
    // A new server knows nobody yet, and nothing of an earlier game is pending.
    net.serverPlayers.clear();
    net.incoming.clear();
    net.replies.clear();
    net.group = nlGroupCreate();
    if (net.group >= 0) {
        try {
            net.thread = std::thread(networkThread, &net);
            return true;
        } catch (const std::system_error&) { // the system has no thread to spare
            nlGroupDestroy(net.group);
            net.group = -1;
        }
    }
    net.stopRequest = true;
    net.threadRunning = false;
    return false;
}

void wakeNetworkThread(NetState& net)
{
    Lock lock(net.mutex);
    if (net.group >= 0) nlGroupWake(net.group);
}

void stopNetworkThread(NetState& net)
{
    Lock lock(net.mutex);
    net.stopRequest = true;
    if (net.group >= 0) nlGroupWake(net.group);
    while (net.threadRunning) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        lock.lock();
    }
    lock.unlock();
    if (net.thread.joinable()) net.thread.join();
}

} // namespace rt
