// Network game figures on 127.0.0.1: the round trip of one message between two joined players
// through the host, and how many messages per second the host relays from one player to another.
// Three processes: this one hosts, two children join and play. Run: build/bench/net_bench [messages]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "runtime/net/net_state.h"
#include "runtime/runtime.h"

using namespace rt;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One child process and the two pipes to it.
struct Child
{
    pid_t pid = -1;
    int in = -1, out = -1; // this side reads `in`, writes `out`
};

void sayLine(int fd, const std::string& line)
{
    std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) < 0) exit(3);
}

std::string hearLine(int fd, int timeoutMs = 60000)
{
    std::string line;
    char c;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 100) <= 0) continue;
        if (read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line += c;
    }
    fprintf(stderr, "no answer from a player process\n");
    exit(2);
}

Child startChild(int (*body)(int in, int out, int messages), int messages)
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
        _exit(body(down[0], up[1], messages));
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
    std::string port = hearLine(in);
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

// Player A: pings B, then floods B and waits for B's "done".
int playerA(int in, int out, int messages)
{
    RtString self = joinAndRegister(in, out, "A");
    RtString other = hearLine(in).c_str();
    std::vector<double> trips;
    for (int i = 0; i < 100; ++i) {
        auto start = Clock::now();
        rtNetSendMessage(self, other, ("ping " + std::to_string(i)).c_str());
        if (nextMessage(self).empty()) return 5;
        trips.push_back(msSince(start));
    }
    std::sort(trips.begin(), trips.end());
    double sum = 0;
    for (double trip : trips)
        sum += trip;
    char line[200];
    snprintf(line, sizeof line, "%.2f %.2f %.2f %.2f", trips.front(), trips[trips.size() / 2],
             sum / trips.size(), trips[trips.size() * 95 / 100]);
    sayLine(out, line);

    auto start = Clock::now();
    for (int i = 0; i < messages; ++i)
        rtNetSendMessage(self, other, ("flood " + std::to_string(i)).c_str());
    if (nextMessage(self) != "done") return 6;
    sayLine(out, std::to_string(msSince(start)));
    return 0;
}

// Player B: echoes pings, counts the flood and says "done" after the last message.
int playerB(int in, int out, int messages)
{
    RtString self = joinAndRegister(in, out, "B");
    int flood = 0;
    for (;;) {
        std::string message = nextMessage(self);
        if (message.empty()) return 7;
        RtString sender = rtNetLastSender();
        if (message.rfind("ping", 0) == 0) {
            rtNetSendMessage(self, sender, message.c_str());
        } else if (++flood == messages) {
            rtNetSendMessage(self, sender, "done");
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return 0;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    int messages = argc > 1 ? std::max(1, atoi(argv[1])) : 500;
    Child a = startChild(playerA, messages), b = startChild(playerB, messages);

    netCreateRecord();
    NLaddress loopback{htonl(INADDR_LOOPBACK), 0, true};
    nlSetLocalAddr(&loopback);
    std::mt19937 random(std::random_device{}());
    int port = 0;
    for (int attempt = 0; attempt < 50 && !port; ++attempt) {
        int candidate = 20000 + int(random() % 40000);
        if (rtNetHost(RtString(candidate)) == 1) port = candidate;
    }
    if (!port) {
        fprintf(stderr, "no free port to host on\n");
        return 1;
    }
    sayLine(a.out, std::to_string(port));
    std::string idA = hearLine(a.in);
    sayLine(b.out, std::to_string(port));
    std::string idB = hearLine(b.in);
    sayLine(a.out, idB);

    double fastest, median, mean, p95;
    if (sscanf(hearLine(a.in).c_str(), "%lf %lf %lf %lf", &fastest, &median, &mean, &p95) != 4) return 1;
    printf("round trip A -> host -> B -> host -> A, 100 messages: fastest %.2f ms, median %.2f ms, mean %.2f "
           "ms, "
           "95th percentile %.2f ms\n",
           fastest, median, mean, p95);
    double floodMs = atof(hearLine(a.in).c_str());
    printf("relay A -> host -> B: %d messages in %.0f ms = %.1f messages per second\n", messages, floodMs,
           messages * 1000.0 / floodMs);

    int status = 0, failures = 0;
    for (pid_t pid : {a.pid, b.pid}) {
        waitpid(pid, &status, 0);
        failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    netShutdown();
    return failures ? 1 : 0;
}
