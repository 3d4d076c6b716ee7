// A hosted game against peers that try to act for players they do not own, hold places without
// joining, or stop reading. Each case starts from the same scene on 127.0.0.1: this program hosts
// with its player Hana (101); the raw peers Bob (102) and Eve (103) have joined.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <pthread.h>
#include <sys/wait.h>

#include "runtime/core/engine_state.h"
#include "runtime/net/net_state.h"
#include "runtime/runtime.h"
#include "tests/unit/net_test_support.h"

using namespace rt;

using namespace nettest;

namespace {

constexpr int shortJoinTimeoutMs = 1000;

struct Scene
{
    uint16_t port = 0;
    RawPeer bob, eve;

    uint64_t refused()
    {
        std::lock_guard lock(engine.network->mutex);
        return engine.network->refusedFrames;
    }
    // The number of visible players as Bob's connection learns it from the server.
    int32_t countSeenByBob() { return frameValue(bob.ask(CountQuery, 102, 0)); }
};

// Eve removes Hana and Bob in their names; only her own removal counts.
void forgedRemoval(Scene& scene)
{
    for (int32_t victim : {101, 102})
        ASSERT_TRUE(scene.eve.sendFrame(makeValueFrame(RemovePlayer, 0, victim, 0)));
    EXPECT_EQ(frameValue(scene.eve.ask(CountQuery, 103, 0)), 3); // answered after her removals
    EXPECT_EQ(scene.countSeenByBob(), 3);
    EXPECT_EQ(rtNetPlayerCount(), 3);
    EXPECT_EQ(scene.refused(), 2u);
    ASSERT_TRUE(scene.eve.sendFrame(makeValueFrame(RemovePlayer, 0, 103, 0)));
    EXPECT_TRUE(eventually([&] { return scene.countSeenByBob() == 2; }));
}

// Eve keeps asking in Hana's name; Hana's own questions still get her answers, Eve gets none.
void forgedQuery(Scene& scene)
{
    std::atomic<bool> spoofing = true;
    std::thread spoofer([&] {
        while (spoofing) {
            scene.eve.sendFrame(makeValueFrame(IdAtQuery, 0, 101, 2));
            scene.eve.sendFrame(makeValueFrame(NameQuery, 0, 101, 103));
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    for (int i = 0; i < 8; ++i) {
        EXPECT_STREQ(rtNetPlayerIdAt(0).c_str(), "101");
        EXPECT_STREQ(rtNetPlayerName("102").c_str(), "Bob");
    }
    spoofing = false;
    spoofer.join();
    NetFrame frame;
    EXPECT_FALSE(scene.eve.receiveFrame(frame, 200));
    EXPECT_GT(scene.refused(), 0u);
}

// Eve speaks as Hana, as Bob and as Bob to everybody; nothing of it arrives, her own words do.
void forgedSender(Scene& scene)
{
    ASSERT_TRUE(scene.eve.sendFrame(makeTextFrame(Data, 102, 101, "as Hana")));
    ASSERT_TRUE(scene.eve.sendFrame(makeTextFrame(Data, 101, 102, "as Bob")));
    ASSERT_TRUE(scene.eve.sendFrame(makeTextFrame(Data, -1, 102, "as Bob to all")));
    ASSERT_TRUE(scene.eve.sendFrame(makeTextFrame(Data, 101, 103, "as Eve")));
    std::string message;
    EXPECT_TRUE(eventually([&] { return !(message = rtNetReceiveMessage("101").c_str()).empty(); }));
    EXPECT_EQ(message, "as Eve");
    EXPECT_STREQ(rtNetLastSender().c_str(), "103");
    NetFrame frame;
    EXPECT_FALSE(scene.bob.receiveFrame(frame, 200));
    EXPECT_EQ(scene.refused(), 3u); // counted within the 200 ms Bob waited
}

// 100 connections that never join take every place; a real joiner still gets in at once, and the
// idle ones are closed after the join time-out while the joined ones stay.
void idleConnections(Scene& scene)
{
    auto start = Clock::now();
    std::vector<std::unique_ptr<RawPeer>> idle;
    for (int i = 0; i < 100; ++i) {
        idle.push_back(std::make_unique<RawPeer>());
        ASSERT_TRUE(idle.back()->connectTo(scene.port));
    }
    RawPeer late;
    ASSERT_TRUE(late.connectTo(scene.port));
    EXPECT_EQ(late.join("Late"), 104);
    EXPECT_LT(millisecondsSince(start), shortJoinTimeoutMs);

    size_t ended = 0;
    auto deadline = Clock::now() + std::chrono::milliseconds(3 * shortJoinTimeoutMs);
    for (auto& peer : idle)
        ended += peer->seesEnd(std::max(
            0, int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count())));
    EXPECT_EQ(ended, idle.size());
    EXPECT_EQ(scene.countSeenByBob(), 4);
    EXPECT_STREQ(rtNetCreatePlayer("Hal").c_str(), "105"); // the host's own link stays
}

// Eve stops reading while Hana writes to her: she is removed with her player, and Bob sees it.
void stalledPeer(Scene& scene)
{
    bool gone = false;
    for (int batch = 0; batch < 200 && !gone; ++batch) {
        for (int i = 0; i < 20; ++i)
            rtNetSendMessage("101", "103", std::string(2000, 'x').c_str());
        gone = scene.countSeenByBob() == 2;
    }
    EXPECT_TRUE(gone);
    EXPECT_STREQ(scene.bob.ask(NameQuery, 102, 103).payload, "");
    EXPECT_EQ(rtNetPlayerCount(), 2);
    EXPECT_TRUE(scene.eve.seesEnd(1000));
}

struct HostileCase
{
    const char* name;
    void (*run)(Scene&);
};

const HostileCase hostileCases[] = {
    {"ForgedRemoval", forgedRemoval},     {"ForgedQuery", forgedQuery}, {"ForgedSender", forgedSender},
    {"IdleConnections", idleConnections}, {"StalledPeer", stalledPeer},
};

void PrintTo(const HostileCase& hostileCase, std::ostream* out)
{
    *out << hostileCase.name;
}

class HostilePeers : public testing::TestWithParam<HostileCase>
{
  protected:
    void SetUp() override
    {
        bindToLoopback();
        netCreateRecord();
        rt::netJoinTimeoutMs = shortJoinTimeoutMs;
    }
    void TearDown() override
    {
        netShutdown();
        rt::netJoinTimeoutMs = defaultJoinTimeout;
        nlSetLocalAddr(nullptr);
    }
    const int defaultJoinTimeout = rt::netJoinTimeoutMs;
};

TEST_P(HostilePeers, HostKeepsItsPlayersAndServesTheOthers)
{
    Scene scene;
    scene.port = hostOnFreePort();
    ASSERT_NE(scene.port, 0);
    ASSERT_STREQ(rtNetCreatePlayer("Hana").c_str(), "101");
    ASSERT_TRUE(scene.bob.connectTo(scene.port));
    ASSERT_EQ(scene.bob.join("Bob"), 102);
    ASSERT_TRUE(scene.eve.connectTo(scene.port, 4096));
    ASSERT_EQ(scene.eve.join("Eve"), 103);
    GetParam().run(scene);
}

INSTANTIATE_TEST_SUITE_P(Net, HostilePeers, testing::ValuesIn(hostileCases),
                         [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

// Without a thread to spare, hosting and joining report failure instead of ending the program.
TEST(NetThreadStart, HostAndJoinFailWhenNoThreadCanStart)
{
    pid_t child = fork();
    if (child == 0) {
        bindToLoopback();
        netCreateRecord();
        uint16_t port = hostOnFreePort();
        RawListener server;
        // Threads that ask for a stack larger than any address space.
        pthread_attr_t usual, huge;
        if (!port || pthread_getattr_default_np(&usual) != 0 || pthread_getattr_default_np(&huge) != 0 ||
            pthread_attr_setstacksize(&huge, size_t(1) << 46) != 0 || pthread_setattr_default_np(&huge) != 0)
            _exit(10);
        if (rtNetHost(RtString(int(port))) != 0) _exit(1);
        if (rtNetJoin("127.0.0.1", RtString(int(server.port()))) != 0) _exit(2);
        pthread_setattr_default_np(&usual);
        if (rtNetHost(RtString(int(port))) != 1) _exit(3); // the port and the sockets were released
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
