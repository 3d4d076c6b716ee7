// Helpers for the network tests: a raw TCP peer on 127.0.0.1 that speaks the packet framing by hand
// ('N' 'L', a 2-byte big-endian length, then the bytes), and waiting with a time limit.
#pragma once

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "runtime/net/net_frame.h"
#include "runtime/net/nl_sockets.h"
#include "runtime/runtime.h"

using namespace rt;

namespace nettest {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls `condition` every 10 ms until it holds or `timeoutMs` pass.
inline bool eventually(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// Hosts on a free port of a high range (ports of other tests and programs are skipped); 0 when none.
inline uint16_t hostOnFreePort()
{
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 50; ++attempt) {
        uint16_t port = uint16_t(20000 + random() % 40000);
        if (rtNetHost(RtString(int(port))) == 1) return port;
    }
    return 0;
}

inline NLaddress loopback(uint16_t port = 0)
{
    NLaddress address;
    address.host = htonl(INADDR_LOOPBACK);
    address.port = port;
    address.valid = true;
    return address;
}

inline void bindToLoopback()
{
    NLaddress address = loopback();
    nlSetLocalAddr(&address);
}

class RawPeer
{
  public:
    RawPeer() = default;
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;
    ~RawPeer() { disconnect(); }

    // A receive buffer of `receiveBuffer` bytes (0: the system's) makes a peer that stops reading
    // fill up soon.
    bool connectTo(uint16_t port, int receiveBuffer = 0)
    {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return fd_ >= 0 && connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    // Takes over a connected descriptor (from a raw listener).
    void adopt(int fd) { fd_ = fd; }
    void disconnect()
    {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    // Closes with a reset instead of an orderly end.
    void reset()
    {
        linger option{1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &option, sizeof option);
        disconnect();
    }

    bool sendRaw(const void* bytes, size_t size)
    {
        return send(fd_, bytes, size, MSG_NOSIGNAL) == ssize_t(size);
    }
    bool sendLength(uint16_t length)
    {
        uint8_t prefix[4] = {'N', 'L', uint8_t(length >> 8), uint8_t(length)};
        return sendRaw(prefix, 4);
    }
    bool sendPacket(const void* bytes, size_t size)
    {
        return size <= 0xFFFF && sendLength(uint16_t(size)) && sendRaw(bytes, size);
    }
    bool sendFrame(const NetFrame& frame)
    {
        uint8_t bytes[netFrameSize];
        encodeFrame(frame, bytes);
        return sendPacket(bytes, sizeof bytes);
    }

    // Exactly `size` bytes within the time limit.
    bool receiveExactly(void* into, size_t size, int timeoutMs = 5000)
    {
        auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        size_t have = 0;
        while (have < size) {
            int left =
                int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
            pollfd entry{fd_, POLLIN, 0};
            if (left <= 0 || poll(&entry, 1, left) <= 0) return false;
            ssize_t count = recv(fd_, static_cast<uint8_t*>(into) + have, size - have, 0);
            if (count <= 0) return false;
            have += size_t(count);
        }
        return true;
    }
    bool receivePacket(std::vector<uint8_t>& packet, int timeoutMs = 5000)
    {
        uint8_t prefix[4];
        if (!receiveExactly(prefix, 4, timeoutMs)) return false;
        if (prefix[0] != 'N' || prefix[1] != 'L') return false;
        uint32_t length = uint32_t(prefix[2]) << 8 | prefix[3];
        packet.resize(length);
        return receiveExactly(packet.data(), length, timeoutMs);
    }
    bool receiveFrame(NetFrame& frame, int timeoutMs = 5000)
    {
        std::vector<uint8_t> packet;
        return receivePacket(packet, timeoutMs) && decodeFrame(packet.data(), packet.size(), frame);
    }
    // True when the other side ends the stream (or resets it) within the time limit.
    bool seesEnd(int timeoutMs = 5000)
    {
        auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        uint8_t scratch[4096];
        for (;;) {
            int left =
                int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
            pollfd entry{fd_, POLLIN, 0};
            if (poll(&entry, 1, left < 0 ? 0 : left) <= 0) return false;
            if (recv(fd_, scratch, sizeof scratch, 0) <= 0) return true;
        }
    }

    // Registers a player by hand and returns the id the server gives (0 when no reply came).
    int32_t join(const char* name)
    {
        if (!sendFrame(makeJoinRequest(name, name[0] == '\0'))) return 0;
        NetFrame reply;
        while (receiveFrame(reply))
            if (reply.kind == JoinReply) return reply.to;
        return 0;
    }
    // Asks the server a query as player `asker`; the reply's frame, or kind 0 when none came.
    NetFrame ask(uint8_t kind, int32_t asker, int32_t value, int timeoutMs = 5000)
    {
        NetFrame request = makeValueFrame(kind, netServerId, asker, value);
        NetFrame reply;
        if (sendFrame(request)) {
            while (receiveFrame(reply, timeoutMs))
                if (reply.kind == kind) return reply;
        }
        return NetFrame{};
    }

    int fd() const { return fd_; }

  private:
    int fd_ = -1;
};

// A listening socket on 127.0.0.1 with a port chosen by the system.
class RawListener
{
  public:
    RawListener()
    {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), size) == 0 && listen(fd_, 16) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~RawListener() { close(fd_); }
    uint16_t port() const { return port_; }
    // A connected descriptor, or -1 when nobody came within the time limit.
    int accept(int timeoutMs = 5000)
    {
        pollfd entry{fd_, POLLIN, 0};
        if (poll(&entry, 1, timeoutMs) <= 0) return -1;
        return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    }

  private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

} // namespace nettest
