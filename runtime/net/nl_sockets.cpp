// The socket layer over POSIX sockets and poll. Every descriptor is non-blocking at the system level;
// a socket opened in blocking mode waits with poll, so that every wait has a bound.
#include "runtime/net/nl_sockets.h"
#include "runtime/net/nl_error.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ifaddrs.h>
#include <map>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace rt;

namespace rt {

// ---- Types -------------------------------------------------------------------------------------

namespace {

// The two bytes that open every packet on a packet socket; a stream without them is out of step.
constexpr uint8_t packetMark[2] = {'N', 'L'};

struct SocketRecord
{
    int fd = -1;
    NLint type = NL_RELIABLE;
    bool listening = false;
    bool blocking = false;
    std::atomic<bool> broken{false}; // packet framing lost: every further read and write fails

    // The packet being received: its 4-byte header (mark and length), then its bytes.
    std::mutex readMutex;
    uint8_t header[4] = {};
    int headerHave = 0;
    std::vector<uint8_t> packet;
    int packetHave = 0;

    std::mutex writeMutex; // one packet at a time on the wire

    ~SocketRecord()
    {
        if (fd >= 0) close(fd);
    }
};

using SocketPtr = std::shared_ptr<SocketRecord>;

// The event counter that wakes a poll of its group; it closes with its last user, so a poll that
// is still waiting when the group goes keeps a valid descriptor.
struct WakeRecord
{
    int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    ~WakeRecord()
    {
        if (fd >= 0) close(fd);
    }
};

struct Group
{
    std::vector<NLsocket> members;
    std::shared_ptr<WakeRecord> wake = std::make_shared<WakeRecord>();
};

// ---- State -------------------------------------------------------------------------------------

std::mutex tableMutex; // guards everything below
bool initialised = false;
NLsocket nextSocket = 0; // numbers are never reused, so a stale number cannot reach a newer socket
std::map<NLsocket, SocketPtr> sockets;
NLint nextGroup = 0;
std::map<NLint, Group> groups;
NLaddress bindAddress;       // invalid: all interfaces
uint16_t lastOpenedPort = 0; // port of the socket opened last

thread_local NLint lastError = NL_NO_ERROR;
thread_local bool blockingMode = false;
thread_local std::vector<NLaddress> localAddresses;

// ---- Helpers -----------------------------------------------------------------------------------

SocketPtr findSocket(NLsocket socket)
{
    std::lock_guard lock(tableMutex);
    auto found = sockets.find(socket);
    if (found == sockets.end()) return nullptr;
    return found->second;
}

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : int(left);
}

// Waits until the descriptor has `events` or the deadline passes; false on time-out.
bool waitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        int ready = poll(&entry, 1, millisecondsLeft(deadline));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return true; // let the following call report the problem
    }
}

NLint errorOfErrno(int error)
{
    switch (error) {
    case ECONNRESET:
    case EPIPE:
    case ECONNABORTED:
    case ETIMEDOUT:
    case ENOTCONN:
        return NL_ERR_CONNECTION_LOST;
    default:
        return NL_ERR_SYSTEM;
    }
}

sockaddr_in toSockaddr(const NLaddress& address)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = address.host;
    result.sin_port = htons(address.port);
    return result;
}

// One receive into `into`: the count, 0 when nothing is pending, -1 with the error set.
ssize_t receiveSome(int fd, void* into, size_t bytes)
{
    for (;;) {
        ssize_t count = recv(fd, into, bytes, 0);
        if (count > 0) return count;
        if (count == 0) return nlFail(NL_ERR_STREAM_ENDED, -1);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return nlFail(errorOfErrno(errno), -1);
    }
}

// Takes what has arrived of the current packet, never reading past its end (the next packet stays
// with the system, so polling still sees it). Returns the packet's size once complete.
NLint readPacketPart(SocketRecord& s, uint8_t* out, NLint bytes)
{
    for (;;) {
        if (s.headerHave < 4) {
            ssize_t count = receiveSome(s.fd, s.header + s.headerHave, size_t(4 - s.headerHave));
            if (count <= 0) return NLint(count);
            s.headerHave += int(count);
            if (s.headerHave < 4) continue;
            uint32_t length = uint32_t(s.header[2]) << 8 | s.header[3];
            bool inStep = s.header[0] == packetMark[0] && s.header[1] == packetMark[1];
            if (inStep && length == 0) {
                s.headerHave = 0;
                continue;
            }
            if (!inStep || length > uint32_t(nlMaxPacketSize)) {
                s.broken = true;
                return nlFail(NL_ERR_CONNECTION_LOST, -1);
            }
            s.packet.resize(length);
            s.packetHave = 0;
        }
        size_t length = s.packet.size();
        ssize_t count = receiveSome(s.fd, s.packet.data() + s.packetHave, length - size_t(s.packetHave));
        if (count <= 0) return NLint(count);
        s.packetHave += int(count);
        if (size_t(s.packetHave) < length) continue;
        s.headerHave = 0;
        if (length > size_t(bytes)) return nlFail(NL_ERR_PACKET_TOO_LARGE, -1);
        memcpy(out, s.packet.data(), length);
        return NLint(length);
    }
}

// Sends all bytes before the deadline; false with the error set otherwise.
bool sendAll(int fd, const uint8_t* bytes, size_t count, Clock::time_point deadline, size_t& sent)
{
    sent = 0;
    while (sent < count) {
        ssize_t done = send(fd, bytes + sent, count - sent, MSG_NOSIGNAL);
        if (done > 0) {
            sent += size_t(done);
            continue;
        }
        if (done < 0 && errno == EINTR) continue;
        if (done < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(fd, POLLOUT, deadline)) return nlFail(NL_ERR_TIMED_OUT, false);
            continue;
        }
        return nlFail(done < 0 ? errorOfErrno(errno) : NL_ERR_SYSTEM, false);
    }
    return true;
}

NLsocket addSocket(int fd, NLint type, bool blocking)
{
    auto record = std::make_shared<SocketRecord>();
    record->fd = fd;
    record->type = type;
    record->blocking = blocking;
    if (type == NL_RELIABLE_PACKETS) {
        int on = 1; // packets are small and awaited: send them at once
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    std::lock_guard lock(tableMutex);
    NLsocket number = nextSocket++;
    sockets[number] = std::move(record);
    return number;
}

} // namespace

// ---- Library -----------------------------------------------------------------------------------

void setNlError(NLint error)
{
    lastError = error;
}

bool nlInit()
{
    std::lock_guard lock(tableMutex);
    initialised = true;
    return true;
}

void nlShutdown()
{
    std::map<NLsocket, SocketPtr> closing;
    {
        std::lock_guard lock(tableMutex);
        closing.swap(sockets);
        groups.clear();
        initialised = false;
    }
    // Wake any thread still waiting on one of them; the descriptors close with their last user.
    for (auto& entry : closing)
        shutdown(entry.second->fd, SHUT_RDWR);
}

bool nlSelectNetwork(NLint network)
{
    if (network != NL_IP) return nlFail(NL_ERR_NO_NETWORK, false);
    return true;
}

void nlEnable(NLint what)
{
    if (what == NL_BLOCKING_IO) blockingMode = true;
}

void nlDisable(NLint what)
{
    if (what == NL_BLOCKING_IO) blockingMode = false;
}

NLint nlGetError()
{
    return lastError;
}

// ---- Sockets -----------------------------------------------------------------------------------

NLsocket nlOpen(uint16_t port, NLint type)
{
    NLaddress bindTo;
    {
        std::lock_guard lock(tableMutex);
        if (!initialised) return nlFail(NL_ERR_NO_NETWORK, NL_INVALID);
        bindTo = bindAddress;
    }
    if (type != NL_RELIABLE && type != NL_RELIABLE_PACKETS) return nlFail(NL_ERR_BAD_ARGUMENT, NL_INVALID);
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return nlFail(NL_ERR_SYSTEM, NL_INVALID);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    bindTo.host = bindTo.valid ? bindTo.host : htonl(INADDR_ANY);
    bindTo.port = port;
    sockaddr_in local = toSockaddr(bindTo);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        close(fd);
        return nlFail(NL_ERR_SYSTEM, NL_INVALID);
    }
    socklen_t size = sizeof local;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) == 0) {
        std::lock_guard lock(tableMutex);
        lastOpenedPort = ntohs(local.sin_port);
    }
    return addSocket(fd, type, blockingMode);
}

bool nlListen(NLsocket socket)
{
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, false);
    if (listen(s->fd, SOMAXCONN) != 0) return nlFail(NL_ERR_SYSTEM, false);
    s->listening = true;
    return true;
}

NLsocket nlAcceptConnection(NLsocket socket)
{
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, NL_INVALID);
    if (!s->listening) return nlFail(NL_ERR_NOT_LISTENING, NL_INVALID);
    for (;;) {
        int fd = accept4(s->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) return addSocket(fd, s->type, s->blocking);
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return nlFail(NL_ERR_NO_PENDING, NL_INVALID);
        if (errno == EBADF || errno == EINVAL) return nlFail(NL_ERR_NOT_LISTENING, NL_INVALID);
        return nlFail(NL_ERR_SYSTEM, NL_INVALID);
    }
}

bool nlConnect(NLsocket socket, const NLaddress* address)
{
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, false);
    if (!address || !address->valid) return nlFail(NL_ERR_BAD_ARGUMENT, false);
    sockaddr_in remote = toSockaddr(*address);
    if (connect(s->fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0) return true;
    if (errno != EINPROGRESS && errno != EINTR) return nlFail(NL_ERR_SYSTEM, false);
    if (!waitFor(s->fd, POLLOUT, Clock::now() + std::chrono::milliseconds(nlConnectTimeoutMs)))
        return nlFail(NL_ERR_TIMED_OUT, false);
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(s->fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
        return nlFail(NL_ERR_SYSTEM, false);
    return true;
}

bool nlClose(NLsocket socket)
{
    SocketPtr s;
    {
        std::lock_guard lock(tableMutex);
        auto found = sockets.find(socket);
        if (found == sockets.end()) return nlFail(NL_ERR_INVALID_SOCKET, false);
        s = std::move(found->second);
        sockets.erase(found);
        for (auto& group : groups)
            std::erase(group.second.members, socket);
    }
    shutdown(s->fd, SHUT_RDWR); // wakes a thread still waiting on it
    return true;
}

NLint nlRead(NLsocket socket, void* buffer, NLint bytes)
{
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, -1);
    if (!buffer || bytes < 0) return nlFail(NL_ERR_BAD_ARGUMENT, -1);
    if (s->broken) return nlFail(NL_ERR_CONNECTION_LOST, -1);
    std::lock_guard lock(s->readMutex);
    auto deadline = Clock::now() + std::chrono::milliseconds(nlBlockingTimeoutMs);
    for (;;) {
        NLint count;
        if (s->type == NL_RELIABLE_PACKETS) {
            count = readPacketPart(*s, static_cast<uint8_t*>(buffer), bytes);
        } else {
            if (bytes == 0) return 0;
            count = NLint(receiveSome(s->fd, buffer, size_t(bytes)));
        }
        if (count != 0 || !s->blocking) return count;
        if (!waitFor(s->fd, POLLIN, deadline)) return nlFail(NL_ERR_TIMED_OUT, -1);
    }
}

NLint nlWrite(NLsocket socket, const void* buffer, NLint bytes)
{
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, -1);
    if (!buffer || bytes < 0) return nlFail(NL_ERR_BAD_ARGUMENT, -1);
    if (bytes == 0) return 0;
    std::lock_guard lock(s->writeMutex);
    if (s->broken) return nlFail(NL_ERR_CONNECTION_LOST, -1);
    const uint8_t* data = static_cast<const uint8_t*>(buffer);
    size_t sent = 0;

    if (s->type == NL_RELIABLE_PACKETS) {
        if (bytes > nlMaxPacketSize) return nlFail(NL_ERR_BAD_ARGUMENT, -1);
        // On the stack: the host writes a packet for every frame it relays, and none of them should
        // cost a heap allocation.
        uint8_t packet[4 + nlMaxPacketSize];
        packet[0] = packetMark[0];
        packet[1] = packetMark[1];
        packet[2] = uint8_t(bytes >> 8);
        packet[3] = uint8_t(bytes);
        memcpy(packet + 4, data, size_t(bytes));
        int limit = s->blocking ? nlBlockingTimeoutMs : nlPacketWriteTimeoutMs;
        if (!sendAll(s->fd, packet, 4 + size_t(bytes), Clock::now() + std::chrono::milliseconds(limit),
                     sent)) {
            // Half a packet on the wire loses the stream, and a peer that takes nothing for the
            // whole time is not reading any more: either way the connection is given up.
            s->broken = true;
            return -1;
        }
        return bytes;
    }
    if (s->blocking) {
        if (!sendAll(s->fd, data, size_t(bytes),
                     Clock::now() + std::chrono::milliseconds(nlBlockingTimeoutMs), sent))
            return -1;
        return bytes;
    }
    for (;;) {
        ssize_t done = send(s->fd, data, size_t(bytes), MSG_NOSIGNAL);
        if (done >= 0) return NLint(done);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return nlFail(errorOfErrno(errno), -1);
    }
}

// ---- Addresses ---------------------------------------------------------------------------------

bool nlGetRemoteAddr(NLsocket socket, NLaddress* address)
{
    if (!address) return nlFail(NL_ERR_BAD_ARGUMENT, false);
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, false);
    sockaddr_in remote{};
    socklen_t size = sizeof remote;
    if (getpeername(s->fd, reinterpret_cast<sockaddr*>(&remote), &size) != 0)
        return nlFail(errorOfErrno(errno), false);
    address->host = remote.sin_addr.s_addr;
    address->port = ntohs(remote.sin_port);
    address->valid = true;
    return true;
}

bool nlGetLocalAddr(NLsocket socket, NLaddress* address)
{
    if (!address) return nlFail(NL_ERR_BAD_ARGUMENT, false);
    SocketPtr s = findSocket(socket);
    if (!s) return nlFail(NL_ERR_INVALID_SOCKET, false);
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(s->fd, reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return nlFail(NL_ERR_SYSTEM, false);
    address->host =
        local.sin_addr.s_addr == htonl(INADDR_ANY) ? htonl(INADDR_LOOPBACK) : local.sin_addr.s_addr;
    address->port = ntohs(local.sin_port);
    address->valid = true;
    return true;
}

const NLaddress* nlGetAllLocalAddr(NLint* count)
{
    localAddresses.clear();
    uint16_t port;
    {
        std::lock_guard lock(tableMutex);
        port = lastOpenedPort;
    }
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
            NLaddress address;
            address.host = reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
            address.port = port;
            address.valid = true;
            localAddresses.push_back(address);
        }
        freeifaddrs(list);
    }
    if (count) *count = NLint(localAddresses.size());
    return localAddresses.data();
}

void nlSetLocalAddr(const NLaddress* address)
{
    std::lock_guard lock(tableMutex);
    bindAddress = address ? *address : NLaddress{};
}

// ---- Groups ------------------------------------------------------------------------------------

NLint nlGroupCreate()
{
    std::lock_guard lock(tableMutex);
    if (!initialised) return nlFail(NL_ERR_NO_NETWORK, NLint(-1));
    Group group;
    if (group.wake->fd < 0) return nlFail(NL_ERR_SYSTEM, NLint(-1));
    NLint number = nextGroup++;
    groups[number] = std::move(group);
    return number;
}

bool nlGroupDestroy(NLint group)
{
    std::lock_guard lock(tableMutex);
    if (groups.erase(group) == 0) return nlFail(NL_ERR_GROUP, false);
    return true;
}

bool nlGroupAddSocket(NLint group, NLsocket socket)
{
    std::lock_guard lock(tableMutex);
    auto found = groups.find(group);
    if (found == groups.end()) return nlFail(NL_ERR_GROUP, false);
    if (!sockets.count(socket)) return nlFail(NL_ERR_INVALID_SOCKET, false);
    auto& members = found->second.members;
    if (std::find(members.begin(), members.end(), socket) != members.end()) return true;
    if (members.size() >= size_t(nlMaxGroupSockets)) return nlFail(NL_ERR_GROUP, false);
    members.push_back(socket);
    return true;
}

bool nlGroupDeleteSocket(NLint group, NLsocket socket)
{
    std::lock_guard lock(tableMutex);
    auto found = groups.find(group);
    if (found == groups.end()) return nlFail(NL_ERR_GROUP, false);
    std::erase(found->second.members, socket);
    return true;
}

bool nlGroupWake(NLint group)
{
    std::lock_guard lock(tableMutex);
    auto found = groups.find(group);
    if (found == groups.end()) return nlFail(NL_ERR_GROUP, false);
    uint64_t one = 1;
    // A full counter (which needs 2^64 - 1 wake-ups nobody took) would still wake the poll.
    ssize_t written = write(found->second.wake->fd, &one, sizeof one);
    (void)written;
    return true;
}

NLint nlPollGroup(NLint group, NLint status, NLsocket* sockets_, NLint number, NLint timeoutMs)
{
    if (status != NL_READ_STATUS || !sockets_ || number < 0) return nlFail(NL_ERR_BAD_ARGUMENT, NLint(-1));
    // On the stack, as a group holds at most nlMaxGroupSockets: the network thread polls many times a
    // second and should not allocate each time. The records stay held so that no socket closes (and
    // its descriptor is reused) while the poll waits on it.
    SocketPtr records[nlMaxGroupSockets];
    NLsocket numbers[nlMaxGroupSockets];
    pollfd entries[nlMaxGroupSockets + 1];
    int members = 0;
    std::shared_ptr<WakeRecord> wake;
    {
        std::lock_guard lock(tableMutex);
        auto found = groups.find(group);
        if (found == groups.end()) return nlFail(NL_ERR_GROUP, NLint(-1));
        wake = found->second.wake;
        for (NLsocket member : found->second.members) {
            auto s = sockets.find(member);
            if (s == sockets.end() || members == nlMaxGroupSockets) continue;
            records[members] = s->second;
            numbers[members] = member;
            entries[members] = {s->second->fd, POLLIN, 0};
            ++members;
        }
    }
    entries[members] = {wake->fd, POLLIN, 0}; // last: the wake-up
    int ready;
    do {
        ready = poll(entries, nfds_t(members + 1), timeoutMs < 0 ? 0 : timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return nlFail(NL_ERR_SYSTEM, NLint(-1));
    if (entries[members].revents & POLLIN) {
        uint64_t taken;
        ssize_t count = read(wake->fd, &taken, sizeof taken); // one read takes every wake-up
        (void)count;
    }
    NLint count = 0;
    for (int i = 0; i < members && count < number; ++i) {
        if (entries[i].revents & (POLLIN | POLLHUP | POLLERR)) sockets_[count++] = numbers[i];
    }
    return count;
}

} // namespace rt
