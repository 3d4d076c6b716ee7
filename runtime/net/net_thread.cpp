// The network thread: one pass every 10 ms reads the link and, on the host, accepts joiners, reads
// their connections and serves them; then it delivers messages into local inboxes and hands server
// replies to the waiting commands. See net_state.h for the rules it keeps.
#include <algorithm>
#include <chrono>
#include <vector>

#include "runtime/net/net_state.h"

using namespace rt;

namespace rt {

// ---- Types -------------------------------------------------------------------------------------

namespace {

// What only the network thread knows: the server's connections and its id counter.
struct ServerSide
{
    NLint group = -1;
    std::vector<NLsocket> connections;        // accepted, in the group, at most netMaxConnections
    NLsocket readySockets[netMaxConnections]; // filled by each poll
    int32_t nextId = netFirstPlayerId;        // ids are not reused while the thread lives
};

using Lock = std::unique_lock<std::mutex>;

// A hostile server must not keep the thread in one pass for ever.
constexpr int maxLinkFramesPerPass = 1000;
// The server forgets nobody who does not leave, so its list has a ceiling against join floods.
constexpr size_t maxServerPlayers = 4096;

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

void dropConnection(NetState& net, ServerSide& server, NLsocket socket)
{
    nlGroupDeleteSocket(server.group, socket);
    nlClose(socket);
    std::erase(server.connections, socket);
    Lock lock(net.mutex);
    net.serverPlayers.remove_if([socket](const NetPlayer& p) { return p.socket == socket; });
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

// Step 3: everything the server sent.
void readLink(NetState& net, NLsocket link)
{
    NetFrame frame;
    for (int i = 0; i < maxLinkFramesPerPass && readFrame(link, frame) == 1; ++i) {
        Lock lock(net.mutex);
        net.incoming.push_back({frame, link});
    }
}

// Step 4: one new joiner, then one frame from each connection that has something. False when the
// listening socket is gone and the thread must end.
bool readConnections(NetState& net, ServerSide& server, NLsocket listen)
{
    NLsocket fresh = nlAcceptConnection(listen);
    if (fresh != NL_INVALID) {
        if (server.connections.size() < size_t(netMaxConnections) && nlGroupAddSocket(server.group, fresh))
            server.connections.push_back(fresh);
        else
            nlClose(fresh); // full: the peer sees its stream end
    } else if (nlGetError() == NL_ERR_INVALID_SOCKET || nlGetError() == NL_ERR_NOT_LISTENING) {
        return false;
    }

    NLint count = nlPollGroup(server.group, NL_READ_STATUS, server.readySockets, netMaxConnections, 0);
    for (NLint i = 0; i < count; ++i) {
        NLsocket socket = server.readySockets[i];
        NetFrame frame;
        int result = readFrame(socket, frame);
        if (result == 1) {
            Lock lock(net.mutex);
            net.incoming.push_back({frame, socket});
        } else if (result < 0 &&
                   (nlGetError() == NL_ERR_CONNECTION_LOST || nlGetError() == NL_ERR_STREAM_ENDED)) {
            dropConnection(net, server, socket);
        }
    }
    return true;
}

// Step 5: messages for this program's players go into their inboxes.
void deliverLocally(NetState& net)
{
    Lock lock(net.mutex);
    for (auto it = net.incoming.begin(); it != net.incoming.end();) {
        NetPlayer* target = nullptr;
        if (it->frame.kind == Data && it->frame.to > 0) {
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

// Step 6, host only: relay messages, register joiners, remove leavers and answer queries, for the
// frames that came in over the server's connections.
void serve(NetState& net, ServerSide& server, NLsocket link)
{
    Lock lock(net.mutex);
    for (auto it = net.incoming.begin(); it != net.incoming.end();) {
        const NetFrame& frame = it->frame;
        std::vector<std::pair<NLsocket, NetFrame>> writes;
        bool handled = it->origin != link;
        if (handled && frame.kind == Data) {
            if (frame.to == netAllPlayers) {
                for (const NetPlayer& player : net.serverPlayers) {
                    if (player.socket == NL_INVALID) continue;
                    NetFrame copy = frame;
                    copy.to = player.id; // each copy is addressed to its player: delivered once
                    writes.push_back({player.socket, copy});
                }
            } else if (const NetPlayer* player = serverPlayerWithId(net, frame.to)) {
                writes.push_back({player->socket, frame});
            }
        } else if (handled && frame.to != netServerId) {
            handled = false;
        } else if (handled && frame.kind == JoinRequest) {
            if (net.serverPlayers.size() < maxServerPlayers && server.nextId < INT32_MAX) {
                JoinImage image = readJoinImage(frame);
                NetPlayer& player = net.serverPlayers.emplace_back();
                player.socket = it->origin; // the connection the request came on
                player.id = server.nextId++;
                player.hidden = image.hidden;
                std::copy(std::begin(image.name), std::end(image.name), player.name);
                NetFrame reply;
                reply.kind = JoinReply;
                reply.to = player.id;
                reply.from = netServerId;
                writes.push_back({it->origin, reply});
            }
        } else if (handled && frame.kind == RemovePlayer) {
            int32_t leaving = frame.from;
            net.serverPlayers.remove_if([leaving](const NetPlayer& p) { return p.id == leaving; });
        } else if (handled && frame.kind >= CountQuery && frame.kind <= AliveQuery) {
            if (const NetPlayer* asker = serverPlayerWithId(net, frame.from))
                writes.push_back({asker->socket, answerQuery(net, frame)});
        } else {
            handled = false;
        }
        if (!handled) {
            ++it;
            continue;
        }
        it = net.incoming.erase(it);
        if (writes.empty()) continue;
        lock.unlock(); // only this thread changes the queue, so `it` stays valid
        for (auto& [socket, reply] : writes)
            writeFrame(socket, reply);
        lock.lock();
    }
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
    readLink(net, link);
    if (listen != NL_INVALID && !readConnections(net, server, listen)) {
        Lock lock(net.mutex);
        net.stopRequest = true;
        net.ready = false;
        return false;
    }
    deliverLocally(net);
    if (listen != NL_INVALID) serve(net, server, link);
    takeServerReplies(net, link);
    return true;
}

void networkThread(NetState* net)
{
    ServerSide server;
    server.group = nlGroupCreate();
    while (networkPass(*net, server))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // The server's connections end with the thread that served them.
    for (NLsocket socket : server.connections)
        nlClose(socket);
    nlGroupDestroy(server.group);
    Lock lock(net->mutex);
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

void startNetworkThread(NetState& net)
{
    {
        Lock lock(net.mutex);
        net.stopRequest = false;
        net.threadRunning = true;
        // A new server knows nobody yet, and nothing of an earlier game is pending.
        net.serverPlayers.clear();
        net.incoming.clear();
        net.replies.clear();
    }
    net.thread = std::thread(networkThread, &net);
}

void stopNetworkThread(NetState& net)
{
    Lock lock(net.mutex);
    net.stopRequest = true;
    while (net.threadRunning) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        lock.lock();
    }
    lock.unlock();
    if (net.thread.joinable()) net.thread.join();
}

} // namespace rt
