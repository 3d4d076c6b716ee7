// Network games on 127.0.0.1: this test program hosts (or joins) through the commands; other players
// are raw peers speaking the packet framing by hand, a scripted stand-in server, or child processes
// running the commands themselves.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/end_routine.h"
#include "runtime/net/net_state.h"
#include "runtime/runtime.h"
#include "tests/unit/net_test_support.h"

using namespace rt;

using namespace nettest;

namespace {

RtString text(int value)
{
    return RtString(value);
}

class NetGame : public testing::Test
{
  protected:
    void SetUp() override
    {
        bindToLoopback();
        netCreateRecord();
    }
    void TearDown() override
    {
        netShutdown();
        nlSetLocalAddr(nullptr);
    }
};

// A stand-in server on its own thread: gives ids from 501 on, answers AliveQuery (and nothing else)
// and keeps every frame it receives, until its peer goes or nothing comes for three seconds.
class StandInServer
{
  public:
    // Start after any fork: a child process must not inherit a half-held lock of this thread.
    void start()
    {
        thread_ = std::thread([this] {
            RawPeer peer;
            peer.adopt(listener_.accept(10000));
            NetFrame frame;
            int32_t nextId = 501;
            while (peer.receiveFrame(frame, 3000)) {
                {
                    std::lock_guard lock(mutex_);
                    frames_.push_back(frame);
                }
                if (frame.kind == JoinRequest) {
                    NetFrame reply;
                    reply.kind = JoinReply;
                    reply.to = nextId++;
                    peer.sendFrame(reply);
                } else if (frame.kind == AliveQuery) {
                    peer.sendFrame(makeValueFrame(AliveQuery, frame.from, 0, 1));
                }
            }
        });
    }
    ~StandInServer() { finish(); }
    uint16_t port() const { return listener_.port(); }
    void finish()
    {
        if (thread_.joinable()) thread_.join();
    }
    std::vector<NetFrame> frames()
    {
        std::lock_guard lock(mutex_);
        return frames_;
    }

  private:
    RawListener listener_;
    std::mutex mutex_;
    std::vector<NetFrame> frames_;
    std::thread thread_;
};

// ---- Child programs ----------------------------------------------------------------------------

// A line channel between this test and one child process.
class ChildProgram
{
  public:
    // Runs `body` in a child process with its own network record; the child's exit code is body's.
    explicit ChildProgram(const std::function<int(ChildProgram&)>& body)
    {
        int down[2], up[2];
        if (pipe(down) != 0 || pipe(up) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(down[1]);
            close(up[0]);
            readFd_ = down[0];
            writeFd_ = up[1];
            installEngineEndRoutine(); // a child program ends as a started engine would
            netCreateRecord();
            bindToLoopback();
            _exit(body(*this));
        }
        close(down[0]);
        close(up[1]);
        readFd_ = up[0];
        writeFd_ = down[1];
    }
    ~ChildProgram()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(readFd_);
        close(writeFd_);
    }

    void say(const std::string& line)
    {
        std::string out = line + "\n";
        ssize_t written = write(writeFd_, out.data(), out.size());
        (void)written;
    }
    // The next line from the other side; "TIMEOUT" after 20 s.
    std::string hear()
    {
        std::string line;
        char c;
        auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline) {
            pollfd entry{readFd_, POLLIN, 0};
            if (poll(&entry, 1, 100) <= 0) continue;
            if (read(readFd_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return "TIMEOUT";
    }
    // The child's exit code, or -1 when it did not end within 10 s.
    int exitCode()
    {
        for (int i = 0; i < 1000; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    int readFd_ = -1, writeFd_ = -1;
    bool exited_ = false;
};

// The oldest message for a local player, waiting up to 5 s for one.
std::string awaitMessage(const char* player)
{
    std::string message;
    eventually([&] { return !(message = rtNetReceiveMessage(player).c_str()).empty(); });
    return message;
}

// Messages that arrive for a player within the next 300 ms.
int laterMessages(const char* player)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int count = 0;
    while (!rtNetReceiveMessage(player).empty())
        ++count;
    return count;
}

// ---- Tests -------------------------------------------------------------------------------------

TEST_F(NetGame, RawJoinRequestGetsTheJoinReplyBytes)
{
    uint16_t port = hostOnFreePort();
    ASSERT_NE(port, 0);
    RawPeer peer;
    ASSERT_TRUE(peer.connectTo(port));

    // Packet mark and length 2065, then the frame: magic, length 152, to 0, from 0, the player image,
    // kind 1.
    std::vector<uint8_t> request(4 + netFrameSize, 0);
    const uint8_t head[] = {'N',  'L',  0x08, 0x11, 'Z',  'O',  'L', 'T', 152, 0,    0,
                            0,    0,    0,    0,    0,    0,    0,   0,   0,   0xFF, 0xFF,
                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,   'R', 'a', 'w'};
    std::copy(std::begin(head), std::end(head), request.begin());
    request[4 + 2064] = 1;
    ASSERT_TRUE(peer.sendRaw(request.data(), request.size()));

    std::vector<uint8_t> expected(4 + netFrameSize, 0);
    const uint8_t replyHead[] = {'N', 'L', 0x08, 0x11, 'Z', 'O', 'L', 'T', 0, 0, 0, 0, 101, 0, 0, 0};
    std::copy(std::begin(replyHead), std::end(replyHead), expected.begin());
    expected[4 + 2064] = 2;
    std::vector<uint8_t> reply(4 + netFrameSize);
    ASSERT_TRUE(peer.receiveExactly(reply.data(), reply.size()));
    EXPECT_EQ(reply, expected);

    NetFrame name = peer.ask(NameQuery, 101, 101);
    EXPECT_EQ(name.to, 101);
    EXPECT_EQ(name.from, 0);
    EXPECT_EQ(name.length, 3);
    EXPECT_STREQ(name.payload, "Raw");
}

TEST_F(NetGame, HostAndRawPeersRegisterQueryAndExchangeMessages)
{
    uint16_t port = hostOnFreePort();
    ASSERT_NE(port, 0);
    EXPECT_STREQ(rtNetCreatePlayer("Hana").c_str(), "101");
    RawPeer peer;
    ASSERT_TRUE(peer.connectTo(port));
    EXPECT_EQ(peer.join("Rex"), 102);
    EXPECT_EQ(peer.join(""), 103); // hidden
    EXPECT_EQ(peer.join("Ivy"), 104);

    EXPECT_EQ(rtNetPlayerCount(), 3);
    EXPECT_STREQ(rtNetPlayerIdAt(0).c_str(), "101");
    EXPECT_STREQ(rtNetPlayerIdAt(1).c_str(), "102");
    EXPECT_STREQ(rtNetPlayerIdAt(2).c_str(), "104"); // the hidden player is skipped
    EXPECT_STREQ(rtNetPlayerIdAt(3).c_str(), "0");
    EXPECT_STREQ(rtNetPlayerIdAt(-1).c_str(), "0");
    EXPECT_STREQ(rtNetPlayerName("104").c_str(), "Ivy");
    EXPECT_STREQ(rtNetPlayerName("103.2").c_str(), ""); // rounded to the hidden player: no name
    EXPECT_STREQ(rtNetPlayerName("999").c_str(), "");

    // To one player: the hidden one too.
    EXPECT_EQ(rtNetSendMessage("101", "103", "psst"), 1);
    NetFrame frame;
    ASSERT_TRUE(peer.receiveFrame(frame));
    EXPECT_EQ(frame.kind, Data);
    EXPECT_EQ(frame.to, 103);
    EXPECT_EQ(frame.from, 101);
    EXPECT_STREQ(frame.payload, "psst");

    EXPECT_STREQ(rtNetReceiveMessage("101").c_str(), "");
    EXPECT_STREQ(rtNetLastSender().c_str(), "0"); // an empty inbox leaves the sender alone
    ASSERT_TRUE(peer.sendFrame(makeTextFrame(Data, 101, 102, "hello Hana")));
    EXPECT_EQ(awaitMessage("101"), "hello Hana");
    EXPECT_STREQ(rtNetLastSender().c_str(), "102");

    // To everybody: one copy for each player, each addressed to its player.
    ASSERT_TRUE(peer.sendFrame(makeTextFrame(Data, -1, 104, "all")));
    std::vector<int32_t> copies;
    while (peer.receiveFrame(frame, 300))
        if (frame.kind == Data) copies.push_back(frame.to);
    EXPECT_EQ(copies, (std::vector<int32_t>{102, 103, 104}));
    EXPECT_EQ(awaitMessage("101"), "all");
    EXPECT_EQ(laterMessages("101"), 0);

    // A connection that ends takes all of its players along.
    peer.disconnect();
    EXPECT_TRUE(eventually([] { return rtNetPlayerCount() == 1; }));
    EXPECT_STREQ(rtNetPlayerName("104").c_str(), "");
}

TEST_F(NetGame, ThreeProgramsHostJoinAndLeave)
{
    // Children are started before this program starts its network thread.
    ChildProgram ann([](ChildProgram& parent) -> int {
        std::string port = parent.hear();
        double joined = rtNetJoin("127.0.0.1", port.c_str());
        RtString id = rtNetCreatePlayer("Ann");
        parent.say(std::to_string(int(joined)) + " " + id.c_str());
        parent.hear(); // broadcast
        rtNetSendMessage(id, "0", "all");
        std::string own = awaitMessage(id.c_str());
        parent.say(own + " " + rtNetLastSender().c_str() + " " + std::to_string(laterMessages(id.c_str())));
        parent.hear(); // leave without a word
        return 0;
    });
    ChildProgram bob([](ChildProgram& parent) -> int {
        std::string port = parent.hear();
        double joined = rtNetJoin("127.0.0.1", port.c_str());
        RtString hidden = rtNetCreatePlayer("");
        RtString bob = rtNetCreatePlayer("Bob");
        parent.say(std::to_string(int(joined)) + " " + hidden.c_str() + " " + bob.c_str());
        parent.hear(); // a message for the hidden player
        std::string message = awaitMessage(hidden.c_str());
        parent.say(message + " " + rtNetLastSender().c_str() + " " +
                   std::to_string(laterMessages(bob.c_str())));
        parent.hear(); // broadcast
        std::string first = awaitMessage(hidden.c_str()), second = awaitMessage(bob.c_str());
        int more = laterMessages(hidden.c_str()) + laterMessages(bob.c_str());
        parent.say(first + " " + second + " " + std::to_string(more));
        parent.hear(); // end the program
        rtFatalEnd();
    });

    uint16_t port = hostOnFreePort();
    ASSERT_NE(port, 0);
    EXPECT_STREQ(rtNetCreatePlayer("Hana").c_str(), "101");
    ann.say(std::to_string(port));
    EXPECT_EQ(ann.hear(), "1 103"); // 102 was the temporary player of the join
    bob.say(std::to_string(port));
    EXPECT_EQ(bob.hear(), "1 105 106");

    EXPECT_EQ(rtNetPlayerCount(), 3);
    EXPECT_STREQ(rtNetPlayerIdAt(0).c_str(), "101");
    EXPECT_STREQ(rtNetPlayerIdAt(1).c_str(), "103");
    EXPECT_STREQ(rtNetPlayerIdAt(2).c_str(), "106");
    EXPECT_STREQ(rtNetPlayerName("103").c_str(), "Ann");
    EXPECT_STREQ(rtNetPlayerName("102").c_str(), ""); // withdrawn

    EXPECT_EQ(rtNetSendMessage("101", "105", "psst"), 1);
    bob.say("inbox");
    EXPECT_EQ(bob.hear(), "psst 101 0");

    ann.say("broadcast");
    bob.say("broadcast");
    EXPECT_EQ(ann.hear(), "all 103 0");
    EXPECT_EQ(bob.hear(), "all all 0");
    EXPECT_EQ(awaitMessage("101"), "all");
    EXPECT_EQ(laterMessages("101"), 0);

    ann.say("leave");
    EXPECT_EQ(ann.exitCode(), 0);
    EXPECT_TRUE(eventually([] { return rtNetPlayerCount() == 2; }));
    bob.say("end");
    EXPECT_EQ(bob.exitCode(), 0);
    EXPECT_TRUE(eventually([] { return rtNetPlayerCount() == 1; }));
    EXPECT_STREQ(rtNetPlayerIdAt(0).c_str(), "101");
}

TEST_F(NetGame, EndRoutineAnnouncesEveryLocalPlayerAsLeaving)
{
    StandInServer server;
    ChildProgram child([&](ChildProgram&) -> int {
        if (rtNetJoin("127.0.0.1", text(server.port())) != 1) return 1;
        if (rtNetCreatePlayer("Zed") != RtString("502")) return 2;
        rtFatalEnd();
    });
    server.start();
    EXPECT_EQ(child.exitCode(), 0);
    server.finish();
    std::vector<NetFrame> frames = server.frames();
    ASSERT_EQ(frames.size(), 6u);
    // The join: a hidden probe, the alive question, the probe withdrawn; then Zed.
    EXPECT_EQ(frames[0].kind, JoinRequest);
    EXPECT_TRUE(readJoinImage(frames[0]).hidden);
    EXPECT_EQ(frames[1].kind, AliveQuery);
    EXPECT_EQ(frames[1].from, 501);
    EXPECT_EQ(frames[2].kind, RemovePlayer);
    EXPECT_EQ(frames[2].from, 501);
    EXPECT_STREQ(readJoinImage(frames[3]).name, "Zed");
    // The end routine: one RemovePlayer for each local player in list order.
    for (int i : {4, 5}) {
        EXPECT_EQ(frames[size_t(i)].kind, RemovePlayer);
        EXPECT_EQ(frames[size_t(i)].to, 0);
        EXPECT_EQ(frames[size_t(i)].length, 0);
    }
    EXPECT_EQ(frames[4].from, 501);
    EXPECT_EQ(frames[5].from, 502);
}

TEST_F(NetGame, QueriesWithoutAnswerOrWithoutLocalPlayer)
{
    // No game, then a game without a local player: the defaults at once.
    auto start = Clock::now();
    EXPECT_EQ(rtNetPlayerCount(), 0);
    ASSERT_NE(hostOnFreePort(), 0);
    EXPECT_EQ(rtNetPlayerCount(), 0);
    EXPECT_STREQ(rtNetPlayerIdAt(0).c_str(), "0");
    EXPECT_STREQ(rtNetPlayerName("101").c_str(), "NO_DATA");
    EXPECT_LT(millisecondsSince(start), 1000);

    // A server that never answers name questions: "NO_DATA" after the wait.
    StandInServer server;
    server.start();
    ASSERT_EQ(rtNetJoin("127.0.0.1", text(server.port())), 1);
    EXPECT_STREQ(rtNetPlayerName("501").c_str(), "NO_DATA");
}

TEST_F(NetGame, DefaultPortAndEmptyHostNameMeanThisMachineOn27013)
{
    ChildProgram joiner([](ChildProgram& parent) -> int {
        if (parent.hear() != "go") return 2;
        return rtNetJoin("", "-4") == 1 ? 0 : 1;
    });
    RtString addresses = rtNetLocalAddresses();
    if (addresses.empty() || rtNetHost("0") != 1) {
        joiner.say("skip");
        GTEST_SKIP() << "port 27013 is taken on this machine";
    }
    EXPECT_GE(addresses.find("127.0.0.1:27013"), 0) << addresses.c_str();
    joiner.say("go");
    EXPECT_EQ(joiner.exitCode(), 0);
}

TEST_F(NetGame, HostingAgainEndsTheEarlierGame)
{
    uint16_t first = hostOnFreePort();
    ASSERT_NE(first, 0);
    RawPeer peer;
    ASSERT_TRUE(peer.connectTo(first));
    EXPECT_EQ(peer.join("Old"), 101);
    ASSERT_NE(hostOnFreePort(), 0);
    EXPECT_TRUE(peer.seesEnd(2000));
    EXPECT_EQ(rtNetHost(text(first)), 1);                  // the first port is free again
    EXPECT_STREQ(rtNetCreatePlayer("New").c_str(), "101"); // a new server counts from 101
}

// ---- Bad input ---------------------------------------------------------------------------------

TEST_F(NetGame, HostSurvivesMalformedFramesAndKeepsServing)
{
    uint16_t port = hostOnFreePort();
    ASSERT_NE(port, 0);
    RawPeer good;
    ASSERT_TRUE(good.connectTo(port));
    ASSERT_EQ(good.join("Good"), 101);
    auto serves = [&](int32_t players) {
        NetFrame reply = good.ask(CountQuery, 101, 0);
        return reply.kind == CountQuery && frameValue(reply) == players;
    };

    RawPeer evil;
    ASSERT_TRUE(evil.connectTo(port));
    uint8_t bytes[netFrameSize + 1000] = {};
    encodeFrame(makeTextFrame(Data, 101, 666, "bad"), bytes);
    EXPECT_TRUE(evil.sendPacket(bytes, 16));           // too short
    EXPECT_TRUE(evil.sendPacket(bytes, sizeof bytes)); // longer than a frame
    for (int32_t length : {-1, 2048, 5000}) {          // payload length out of range
        memcpy(bytes + 4, &length, 4);
        EXPECT_TRUE(evil.sendPacket(bytes, netFrameSize));
    }
    bytes[0] = 'X'; // no magic
    EXPECT_TRUE(evil.sendPacket(bytes, netFrameSize));
    EXPECT_TRUE(serves(1));
    NetFrame frame;
    EXPECT_FALSE(good.receiveFrame(frame, 200)); // none of them was relayed

    // A name without a terminator is cut at 130 characters.
    NetFrame join;
    join.kind = JoinRequest;
    join.length = netJoinImageSize;
    memset(join.payload, 'B', sizeof join.payload);
    join.payload[8] = 0;
    ASSERT_TRUE(evil.sendFrame(join));
    ASSERT_TRUE(evil.receiveFrame(frame));
    EXPECT_EQ(frame.to, 102);
    EXPECT_STREQ(good.ask(NameQuery, 101, 102).payload, std::string(130, 'B').c_str());

    // Posing as the server: join replies and query answers from a peer are not taken.
    auto whileSpoofing = [&](const NetFrame& spoof, const std::function<void()>& action) {
        std::atomic<bool> spoofing = true;
        std::thread spoofer([&] {
            while (spoofing) {
                evil.sendFrame(spoof);
                std::this_thread::sleep_for(std::chrono::milliseconds(8));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // spoofs in every pass
        action();
        spoofing = false;
        spoofer.join();
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the host reads what is left
    };
    whileSpoofing(makeValueFrame(JoinReply, 555, 0, 0),
                  [] { EXPECT_STREQ(rtNetCreatePlayer("Hana").c_str(), "103"); });
    whileSpoofing(makeValueFrame(CountQuery, 103, 0, 42), [] { EXPECT_EQ(rtNetPlayerCount(), 3); });

    // A stream whose packet length is absurd is dropped with its players; others go on.
    ASSERT_TRUE(evil.sendLength(0xFFFF));
    EXPECT_TRUE(evil.seesEnd());
    EXPECT_TRUE(eventually([&] { return serves(2); }));

    // Half a packet, then silence; half a packet, then gone.
    RawPeer stalled, vanishing;
    ASSERT_TRUE(stalled.connectTo(port));
    ASSERT_TRUE(vanishing.connectTo(port));
    encodeFrame(makeJoinRequest("Half", false), bytes);
    ASSERT_TRUE(stalled.sendLength(netFrameSize) && stalled.sendRaw(bytes, 1000));
    ASSERT_TRUE(vanishing.sendLength(netFrameSize) && vanishing.sendRaw(bytes, 500));
    vanishing.disconnect();
    EXPECT_TRUE(serves(2));
    EXPECT_EQ(good.join("Again"), 104);
}

TEST_F(NetGame, ConnectionsPastTheLimitAreClosedAndTheRestServed)
{
    uint16_t port = hostOnFreePort();
    ASSERT_NE(port, 0);
    RawPeer good;
    ASSERT_TRUE(good.connectTo(port));
    ASSERT_EQ(good.join("Good"), 101);

    // The host's own link and `good` hold two of the 100 places.
    std::vector<std::unique_ptr<RawPeer>> flood;
    for (int i = 0; i < 110; ++i) {
        flood.push_back(std::make_unique<RawPeer>());
        ASSERT_TRUE(flood.back()->connectTo(port));
    }
    std::vector<bool> ended(flood.size(), false);
    auto countEnded = [&] {
        int count = 0;
        for (size_t i = 0; i < flood.size(); ++i) {
            if (!ended[i]) ended[i] = flood[i]->seesEnd(0);
            count += ended[i];
        }
        return count;
    };
    EXPECT_TRUE(eventually([&] { return countEnded() == 12; }, 10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(countEnded(), 12);
    NetFrame reply = good.ask(CountQuery, 101, 0);
    EXPECT_EQ(frameValue(reply), 1);

    // Places that free up are taken by new joiners.
    for (size_t i = 0; i < 20; ++i)
        flood[i]->disconnect();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    RawPeer late;
    ASSERT_TRUE(late.connectTo(port));
    EXPECT_EQ(late.join("Late"), 102);
}

TEST_F(NetGame, ShutdownWithConnectedPeersEndsWithinASecond)
{
    uint16_t port = hostOnFreePort();
    ASSERT_NE(port, 0);
    EXPECT_STREQ(rtNetCreatePlayer("Hana").c_str(), "101");
    RawPeer peers[3];
    for (RawPeer& peer : peers) {
        ASSERT_TRUE(peer.connectTo(port));
        EXPECT_GT(peer.join("Peer"), 101);
    }
    ASSERT_TRUE(peers[2].sendLength(netFrameSize) && peers[2].sendRaw("ZOLT", 4)); // stalls mid-frame
    auto start = Clock::now();
    netShutdown();
    EXPECT_LT(millisecondsSince(start), 1000);
    EXPECT_EQ(engine.network, nullptr);
    for (RawPeer& peer : peers)
        EXPECT_TRUE(peer.seesEnd(1000));
    netCreateRecord(); // for TearDown
}

} // namespace
