// Network game figures on 127.0.0.1, with this process hosting and four player processes:
//   A pings B through the host (B echoes) and floods B with messages;
//   C is a joined player that floods messages to itself as fast as it can;
//   D is a hostile peer that floods forged frames (messages, removals and queries in A's and B's
//   names) and reads whatever comes back.
// Printed: A's round trip A -> host -> B -> host -> A on a quiet host, while C floods and while D
// floods (fastest, median, 99th percentile, worst), and the relay rate from A to B with the goals.
// Run: build/bench/net_bench [pings] [messages]   (defaults 1000 and 20000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/net/net_state.h"
#include "runtime/runtime.h"

using namespace rt;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One child process and the two pipes to it: this side reads `in` and writes `out`.
struct Child
{
    pid_t pid = -1;
    int in = -1, out = -1;
};

void sayLine(int fd, const std::string& line)
{
    std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) < 0) exit(3);
}

// The next line, or "" when none came within the time limit (0: only what is there already).
std::string hearLine(int fd, int timeoutMs = 60000)
{
    std::string line;
    char c;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, timeoutMs ? 100 : 0) <= 0) continue;
        if (read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line += c;
    } while (Clock::now() < deadline || !line.empty());
    return "";
}

std::string mustHear(int fd)
{
    std::string line = hearLine(fd);
    if (line.empty()) {
        fprintf(stderr, "no answer from a player process\n");
        exit(2);
    }
    return line;
}

Child startChild(int (*body)(int in, int out))
{
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) exit(2);
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        close(down[1]);
        close(up[0]);
        netCreateRecord();
        NLaddress loopback{htonl(INADDR_LOOPBACK), 0, true};
        nlSetLocalAddr(&loopback);
        _exit(body(down[0], up[1]));
    }
    close(down[0]);
    close(up[1]);
    child.in = up[0];
    child.out = down[1];
    return child;
}

// Joins the game whose port arrives on `in` and registers a player; reports its id.
RtString joinAndRegister(int in, int out, const char* name)
{
    std::string port = mustHear(in);
    if (rtNetJoin("127.0.0.1", port.c_str()) != 1) exit(4);
    RtString id = rtNetCreatePlayer(name);
    sayLine(out, id.c_str());
    return id;
}

// The next message for `id`, polled every 0.1 ms as a game loop would; empty after 10 s.
std::string nextMessage(const RtString& id)
{
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        RtString message = rtNetReceiveMessage(id);
        if (!message.empty()) return message.c_str();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return "";
}

// Player A: on "ping n" measures n round trips through B; on "flood n" sends B n messages and times
// them until B's "done".
int playerA(int in, int out)
{
    RtString self = joinAndRegister(in, out, "A");
    RtString other = mustHear(in).c_str();
    for (;;) {
        std::string command = hearLine(in);
        int count = command.empty() ? 0 : atoi(command.c_str() + command.find(' ') + 1);
        if (command.rfind("ping", 0) == 0) {
            std::vector<double> trips;
            for (int i = 0; i < count; ++i) {
                auto start = Clock::now();
                rtNetSendMessage(self, other, ("ping " + std::to_string(i)).c_str());
                if (nextMessage(self).empty()) return 5;
                trips.push_back(msSince(start));
            }
            std::sort(trips.begin(), trips.end());
            char line[200];
            snprintf(line, sizeof line, "%.2f %.2f %.2f %.2f", trips.front(), trips[trips.size() / 2],
                     trips[trips.size() * 99 / 100], trips.back());
            sayLine(out, line);
        } else if (command.rfind("flood", 0) == 0) {
            auto start = Clock::now();
            for (int i = 0; i < count; ++i)
                rtNetSendMessage(self, other, "flood");
            rtNetSendMessage(self, other, ("done " + std::to_string(count)).c_str());
            if (nextMessage(self) != "done") return 6;
            sayLine(out, std::to_string(msSince(start)));
        } else {
            return 0;
        }
    }
}

// Player B: echoes pings; after "done n" answers "done" when n flood messages came. Ends on "end".
int playerB(int in, int out)
{
    RtString self = joinAndRegister(in, out, "B");
    int flood = 0;
    auto lastMessage = Clock::now();
    while (msSince(lastMessage) < 60000) {
        std::string message = rtNetReceiveMessage(self).c_str();
        if (message.empty()) {
            if (hearLine(in, 0) == "end") return 0;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            continue;
        }
        lastMessage = Clock::now();
        RtString sender = rtNetLastSender();
        if (message.rfind("ping", 0) == 0) {
            rtNetSendMessage(self, sender, message.c_str());
        } else if (message == "flood") {
            ++flood;
        } else if (message.rfind("done", 0) == 0) {
            bool complete = flood == atoi(message.c_str() + 5);
            flood = 0;
            rtNetSendMessage(self, sender, complete ? "done" : "lost");
        }
    }
    return 7;
}

// Player C: after "start", floods its own player (and empties its inbox) until "stop"; reports how
// many messages it sent per second and how many sends failed.
int playerC(int in, int out)
{
    RtString self = joinAndRegister(in, out, "C");
    if (mustHear(in) != "start") return 8;
    auto start = Clock::now();
    long sent = 0, failed = 0;
    while (msSince(start) < 60000) {
        for (int i = 0; i < 64; ++i, ++sent)
            failed += rtNetSendMessage(self, self, "flood") == 0;
        while (!rtNetReceiveMessage(self).empty()) {
        }
        if (hearLine(in, 0) == "stop") break;
    }
    sayLine(out, std::to_string(sent * 1000.0 / msSince(start)) + " " + std::to_string(failed));
    return 0;
}

// Peer D, raw: joins by hand, then floods forged frames until "stop", reading everything sent to
// it; reports how many frames it sent, and how many per second.
int peerD(int in, int out)
{
    int port = atoi(mustHear(in).c_str());
    int32_t idA = atoi(mustHear(in).c_str()), idB = atoi(mustHear(in).c_str());
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(uint16_t(port));
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 9;
    auto sendFrame = [fd](const NetFrame& frame) {
        uint8_t packet[4 + netFrameSize] = {'N', 'L', 0x08, 0x11}; // the packet mark, then its length
        encodeFrame(frame, packet + 4);
        return send(fd, packet, sizeof packet, MSG_NOSIGNAL) == ssize_t(sizeof packet);
    };
    sendFrame(makeJoinRequest("D", false));
    const NetFrame forged[] = {
        makeTextFrame(Data, idB, idA, "forged"), makeTextFrame(Data, idA, idB, "forged"),
        makeTextFrame(Data, -1, idA, "forged"),  makeValueFrame(RemovePlayer, 0, idA, 0),
        makeValueFrame(RemovePlayer, 0, idB, 0), makeValueFrame(IdAtQuery, 0, idA, 0),
        makeValueFrame(NameQuery, 0, idB, idB),  makeValueFrame(CountQuery, 0, idA, 0),
    };
    sayLine(out, "ready");
    if (mustHear(in) != "start") return 8;
    auto start = Clock::now();
    long sent = 0;
    uint8_t scratch[65536];
    while (msSince(start) < 60000) {
        for (int i = 0; i < 64; ++i, ++sent)
            if (!sendFrame(forged[sent % std::size(forged)])) return 10;
        while (recv(fd, scratch, sizeof scratch, MSG_DONTWAIT) > 0) {
        }
        if (hearLine(in, 0) == "stop") break;
    }
    sayLine(out, std::to_string(sent) + " " + std::to_string(sent * 1000.0 / msSince(start)));
    close(fd);
    return 0;
}

void printTrips(const char* label, const std::string& line)
{
    double fastest = 0, median = 0, p99 = 0, worst = 0;
    sscanf(line.c_str(), "%lf %lf %lf %lf", &fastest, &median, &p99, &worst);
    printf("round trip, %-34s fastest %6.2f  median %6.2f  p99 %6.2f  worst %6.2f ms\n", label, fastest,
           median, p99, worst);
}

uint64_t refusedFrames()
{
    std::lock_guard lock(engine.network->mutex);
    return engine.network->refusedFrames;
}

} // namespace

int main(int argc, char** argv)
{
    int pings = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    int messages = argc > 2 ? std::max(1, atoi(argv[2])) : 20000;
    // Children are started before this process has any thread of its own.
    Child a = startChild(playerA), b = startChild(playerB), c = startChild(playerC), d = startChild(peerD);

    netCreateRecord();
    NLaddress loopback{htonl(INADDR_LOOPBACK), 0, true};
    nlSetLocalAddr(&loopback);
    int port = 0;
    for (int attempt = 0; attempt < 50 && !port; ++attempt) {
        int candidate = 20000 + int((getpid() * 7919 + attempt * 104729) % 40000);
        if (rtNetHost(RtString(candidate)) == 1) port = candidate;
    }
    if (!port) {
        fprintf(stderr, "no free port to host on\n");
        return 1;
    }
    // One after the other, so that the ids are known.
    sayLine(a.out, std::to_string(port));
    std::string idA = mustHear(a.in);
    sayLine(b.out, std::to_string(port));
    std::string idB = mustHear(b.in);
    sayLine(c.out, std::to_string(port));
    mustHear(c.in);
    sayLine(a.out, idB);
    for (const std::string& line : {std::to_string(port), idA, idB})
        sayLine(d.out, line);
    mustHear(d.in);

    printf("loopback, %d pings per case; goals: median <= 2 ms and p99 <= 5 ms on a quiet host, p99 <= 20 "
           "ms with a flooding peer\n",
           pings);
    sayLine(a.out, "ping " + std::to_string(pings));
    printTrips("quiet host:", mustHear(a.in));

    sayLine(a.out, "flood " + std::to_string(messages));
    double floodMs = atof(mustHear(a.in).c_str());
    printf("relay A -> host -> B: %d messages in %.0f ms = %.0f messages per second (goal >= 5000)\n",
           messages, floodMs, messages * 1000.0 / floodMs);

    sayLine(c.out, "start");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    sayLine(a.out, "ping " + std::to_string(pings));
    std::string trips = mustHear(a.in);
    sayLine(c.out, "stop");
    printTrips("while player C floods itself:", trips);
    double floodRate = 0;
    long floodFailed = 0;
    sscanf(mustHear(c.in).c_str(), "%lf %ld", &floodRate, &floodFailed);
    // A write that waits too long for the host breaks C's link: C's later sends fail at once.
    printf("  C sent %.0f messages per second, %ld of them failed\n", floodRate, floodFailed);

    uint64_t refusedBefore = refusedFrames();
    sayLine(d.out, "start");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    sayLine(a.out, "ping " + std::to_string(pings));
    trips = mustHear(a.in);
    sayLine(d.out, "stop");
    printTrips("while peer D floods forged frames:", trips);
    long forged = 0;
    double forgedRate = 0;
    sscanf(mustHear(d.in).c_str(), "%ld %lf", &forged, &forgedRate);
    printf("  D sent %ld forged frames, %.0f per second; the host refused %llu frames meanwhile\n", forged,
           forgedRate, (unsigned long long)(refusedFrames() - refusedBefore));
    sayLine(a.out, "end");
    sayLine(b.out, "end");
    int status = 0, failures = 0;
    for (pid_t pid : {a.pid, b.pid, c.pid, d.pid}) {
        waitpid(pid, &status, 0);
        failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    netShutdown();
    return failures ? 1 : 0;
}
