// The network game commands: hosting and joining, players, messages and server queries. They run on
// the game thread, write frames on the link themselves and wait (bounded) for what the network thread
// brings back. Player ids and ports arrive as texts and are rounded to whole numbers.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "runtime/core/engine_state.h"
#include "runtime/net/net_state.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

namespace {

using Lock = std::unique_lock<std::mutex>;

constexpr int waitLooks = 250; // looks for an id or a reply,
constexpr int waitStepMs = 20; // one every 20 ms: about 5 seconds
constexpr int localAddressesLimit = 4096;

void sleepMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int32_t idFromText(const RtString& text)
{
    return toInt(std::round(textToNumber(text.c_str())));
}

// The port of a host or join command: 0 or less means the default; -1 when it is no port at all.
int portFromText(const RtString& text)
{
    int port = idFromText(text);
    if (port <= 0) return netDefaultPort;
    return port > 65535 ? -1 : port;
}

void closeGameSockets(NetState& net)
{
    if (net.listenSocket != NL_INVALID) nlClose(net.listenSocket);
    if (net.linkSocket != NL_INVALID) nlClose(net.linkSocket);
    net.listenSocket = net.linkSocket = NL_INVALID;
}

// Ends the current game, if any, and readies the socket layer for a new one.
void prepareGame(NetState& net)
{
    stopNetworkThread(net);
    closeGameSockets(net); // the sockets of an earlier game would otherwise stay open
    net.networkType = NL_IP;
    net.connectionType = NL_RELIABLE_PACKETS;
    net.ready = nlInit() && nlSelectNetwork(NL_IP);
}

NetFrame controlFrame(uint8_t kind, int32_t from)
{
    NetFrame frame;
    frame.kind = kind;
    frame.to = netServerId;
    frame.from = from;
    return frame;
}

NLsocket linkOf(NetState& net)
{
    Lock lock(net.mutex);
    return net.linkSocket;
}

// Waits for the id of the last registered local player; -1 (and the player given up) after 5 s.
int32_t awaitTailId(NetState& net)
{
    for (int look = 0; look < waitLooks; ++look) {
        {
            Lock lock(net.mutex);
            if (net.localPlayers.back().id >= 0) return net.localPlayers.back().id;
        }
        sleepMs(waitStepMs);
    }
    Lock lock(net.mutex);
    if (net.localPlayers.back().id >= 0) return net.localPlayers.back().id;
    net.localPlayers.back().id = netIdGivenUp;
    return -1;
}

// Waits up to 5 s for a server reply of the given kind; replies of other kinds are late answers to
// earlier questions and are dropped.
bool awaitReply(NetState& net, uint8_t kind, NetFrame& reply)
{
    for (int look = 0; look < waitLooks; ++look) {
        {
            Lock lock(net.mutex);
            while (!net.replies.empty()) {
                FrameNode node = net.replies.front();
                net.replies.pop_front();
                if (node.frame.kind == kind) {
                    reply = node.frame;
                    return true;
                }
            }
        }
        sleepMs(waitStepMs);
    }
    return false;
}

// Asks the server in the name of the last registered local player. False at once when there is no
// such player (or its id is 0) or the request cannot be written; false after 5 s without a reply.
bool askServer(NetFrame request, NetFrame& reply)
{
    NetState* net = engine.network;
    if (!net) return false;
    NLsocket link;
    {
        Lock lock(net->mutex);
        if (net->localPlayers.empty() || net->localPlayers.back().id == 0) return false;
        request.from = net->localPlayers.back().id;
        net->replies.clear();
        link = net->linkSocket;
    }
    if (!writeFrame(link, request)) return false;
    return awaitReply(*net, request.kind, reply);
}

} // namespace

// ---- Record ------------------------------------------------------------------------------------

void netCreateRecord()
{
    engine.network = new NetState;
}

void netShutdown()
{
    NetState* net = engine.network;
    if (!net) return;
    stopNetworkThread(*net);
    net->ready = false;
    for (const NetPlayer& player : net->localPlayers)
        writeFrame(net->linkSocket, controlFrame(RemovePlayer, player.id));
    nlShutdown();
    delete net;
    engine.network = nullptr;
}

} // namespace rt

// ---- Commands ----------------------------------------------------------------------------------

double rtNetHost(const RtString& port)
{
    NetState* net = engine.network;
    if (!net) return 0;
    int number = portFromText(port);
    prepareGame(*net);
    if (number < 0) return 0;

    net->listenSocket = nlOpen(uint16_t(number), NL_RELIABLE_PACKETS);
    if (net->listenSocket == NL_INVALID) return 0;
    net->linkSocket = nlOpen(0, NL_RELIABLE_PACKETS);
    NLaddress server;
    if (!nlListen(net->listenSocket) || net->linkSocket == NL_INVALID ||
        !nlGetLocalAddr(net->linkSocket, &server) || !nlSetAddrPort(&server, uint16_t(number)) ||
        !nlConnect(net->linkSocket, &server)) {
        closeGameSockets(*net);
        return 0;
    }
    if (!startNetworkThread(*net)) {
        closeGameSockets(*net);
        return 0;
    }
    net->hosting = true;
    return 1;
}

double rtNetJoin(const RtString& host, const RtString& port)
{
    NetState* net = engine.network;
    if (!net) return 0;
    int number = portFromText(port);
    prepareGame(*net);
    if (number < 0) return 0;

    net->linkSocket = nlOpen(0, NL_RELIABLE_PACKETS);
    if (net->linkSocket == NL_INVALID) return 0;
    NLaddress server;
    bool found =
        host.empty() ? nlGetLocalAddr(net->linkSocket, &server) : nlGetAddrFromName(host.c_str(), &server);
    if (!found || !nlSetAddrPort(&server, uint16_t(number)) || !nlConnect(net->linkSocket, &server)) {
        closeGameSockets(*net);
        return 0;
    }
    net->hosting = false;
    if (!startNetworkThread(*net)) {
        closeGameSockets(*net);
        return 0;
    }

    // A temporary hidden player proves that the server registers and answers.
    {
        Lock lock(net->mutex);
        NetPlayer& probe = net->localPlayers.emplace_back();
        probe.hidden = true;
    }
    wakeNetworkThread(*net);
    int32_t id = awaitTailId(*net);
    bool answered = false;
    if (id != 0) {
        {
            Lock lock(net->mutex);
            net->replies.clear();
        }
        NetFrame reply;
        answered =
            writeFrame(net->linkSocket, controlFrame(AliveQuery, id)) && awaitReply(*net, AliveQuery, reply);
    }
    writeFrame(net->linkSocket, controlFrame(RemovePlayer, id));
    if (answered) return 1;
    stopNetworkThread(*net);
    closeGameSockets(*net);
    return 0;
}

RtString rtNetCreatePlayer(const RtString& name)
{
    NetState* net = engine.network;
    if (!net) return RtString(-1);
    {
        Lock lock(net->mutex);
        NetPlayer& player = net->localPlayers.emplace_back();
        player.hidden = name.empty();
        snprintf(player.name, sizeof player.name, "%s", name.c_str()); // at most 130 characters
    }
    wakeNetworkThread(*net);
    return RtString(int(awaitTailId(*net)));
}

double rtNetRemovePlayer(const RtString& player)
{
    if (engine.network) writeFrame(linkOf(*engine.network), controlFrame(RemovePlayer, idFromText(player)));
    return 1;
}

double rtNetSendMessage(const RtString& from, const RtString& to, const RtString& message)
{
    if (!engine.network) return 0;
    int32_t target = idFromText(to);
    NetFrame frame =
        makeTextFrame(Data, target == 0 ? netAllPlayers : target, idFromText(from), message.c_str());
    return writeFrame(linkOf(*engine.network), frame) ? 1 : 0;
}

RtString rtNetReceiveMessage(const RtString& player)
{
    NetState* net = engine.network;
    if (!net) return RtString();
    int32_t id = idFromText(player);
    NetFrame frame;
    bool taken = false;
    {
        Lock lock(net->mutex);
        for (NetPlayer& local : net->localPlayers) {
            if (local.id != id) continue;
            if (!local.inbox.empty()) {
                frame = local.inbox.front().frame;
                local.inbox.pop_front();
                taken = true;
            }
            break;
        }
    }
    if (!taken) return RtString();
    net->lastSender = frame.from;
    return RtString(frame.payload);
}

RtString rtNetLastSender()
{
    return RtString(int(engine.network ? engine.network->lastSender : 0));
}

double rtNetPlayerCount()
{
    NetFrame reply;
    return askServer(controlFrame(CountQuery, 0), reply) ? frameValue(reply) : 0;
}

RtString rtNetPlayerIdAt(double index)
{
    NetFrame reply;
    bool answered = askServer(makeValueFrame(IdAtQuery, netServerId, 0, toInt(index)), reply);
    return RtString(int(answered ? frameValue(reply) : 0));
}

RtString rtNetPlayerName(const RtString& player)
{
    NetFrame reply;
    if (!askServer(makeValueFrame(NameQuery, netServerId, 0, idFromText(player)), reply))
        return RtString("NO_DATA");
    return RtString(reply.payload);
}

RtString rtNetLocalAddresses()
{
    NetState* net = engine.network;
    if (!net) return RtString();
    // Only the socket layer is needed here: a running game is left alone.
    if (!net->ready) net->ready = nlInit() && nlSelectNetwork(NL_IP);
    NLsocket probe = nlOpen(netDefaultPort, NL_RELIABLE_PACKETS);
    if (probe == NL_INVALID) return RtString();
    NLint count = 0;
    const NLaddress* addresses = nlGetAllLocalAddr(&count);
    std::string text;
    for (NLint i = 0; i < count; ++i) {
        char address[32];
        if (!text.empty()) text += '|';
        text += nlAddrToString(&addresses[i], address);
        if (text.size() + 32 > size_t(localAddressesLimit)) break;
    }
    nlClose(probe);
    return RtString(text.c_str());
}
