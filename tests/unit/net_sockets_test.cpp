// The socket layer: packet boundaries over TCP, partial arrival, the error numbers the network code
// acts on, groups and addresses. Everything runs on 127.0.0.1.
#include <gtest/gtest.h>

#include <string>

#include "runtime/net/nl_sockets.h"
#include "tests/unit/net_test_support.h"

using namespace rt;

using namespace nettest;

namespace {

class NlSockets : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(nlInit());
        bindToLoopback();
        listener = nlOpen(0, NL_RELIABLE_PACKETS);
        ASSERT_NE(listener, NL_INVALID);
        ASSERT_TRUE(nlListen(listener));
        NLaddress address;
        ASSERT_TRUE(nlGetLocalAddr(listener, &address));
        port = address.port;
    }
    void TearDown() override
    {
        nlShutdown();
        nlSetLocalAddr(nullptr);
    }
    // A raw peer connected to the listener and the layer's socket for it.
    NLsocket acceptFrom(RawPeer& peer)
    {
        if (!peer.connectTo(port)) return NL_INVALID;
        NLsocket accepted = NL_INVALID;
        eventually([&] { return (accepted = nlAcceptConnection(listener)) != NL_INVALID; });
        return accepted;
    }
    // Reads until a packet comes or the time runs out.
    NLint readSoon(NLsocket socket, void* buffer, NLint size)
    {
        NLint count = 0;
        eventually([&] { return (count = nlRead(socket, buffer, size)) != 0; });
        return count;
    }

    NLsocket listener = NL_INVALID;
    uint16_t port = 0;
};

TEST_F(NlSockets, PacketsKeepTheirBoundariesAndArrivePartlyWithoutLoss)
{
    RawPeer peer;
    NLsocket socket = acceptFrom(peer);
    ASSERT_NE(socket, NL_INVALID);
    char buffer[64];
    EXPECT_EQ(nlRead(socket, buffer, sizeof buffer), 0); // nothing pending

    // Two packets in one burst, then one that arrives in three pieces.
    ASSERT_TRUE(peer.sendPacket("first", 5));
    ASSERT_TRUE(peer.sendPacket("second!", 7));
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "first");
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), 7);
    EXPECT_EQ(std::string(buffer, 7), "second!");

    ASSERT_TRUE(peer.sendRaw("NL", 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(nlRead(socket, buffer, sizeof buffer), 0);
    ASSERT_TRUE(peer.sendRaw("\x00\x05thi", 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(nlRead(socket, buffer, sizeof buffer), 0);
    ASSERT_TRUE(peer.sendRaw("rd", 2));
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "third");
}

TEST_F(NlSockets, OversizedPacketsAndBrokenFramingAreReported)
{
    RawPeer peer;
    NLsocket socket = acceptFrom(peer);
    ASSERT_NE(socket, NL_INVALID);
    char buffer[8];
    // Too big for the buffer: reported and dropped, the next packet reads normally.
    ASSERT_TRUE(peer.sendPacket("0123456789", 10));
    ASSERT_TRUE(peer.sendPacket("ok", 2));
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlGetError(), NL_ERR_PACKET_TOO_LARGE);
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), 2);
    // A zero length is skipped; a length beyond the largest packet loses the stream for good.
    ASSERT_TRUE(peer.sendLength(0));
    ASSERT_TRUE(peer.sendPacket("z", 1));
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), 1);
    ASSERT_TRUE(peer.sendLength(nlMaxPacketSize + 1));
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlGetError(), NL_ERR_CONNECTION_LOST);
    EXPECT_EQ(nlRead(socket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlWrite(socket, "x", 1), -1);
}

TEST_F(NlSockets, AStreamWithoutThePacketMarkIsLost)
{
    RawPeer peer;
    NLsocket socket = acceptFrom(peer);
    char buffer[8];
    ASSERT_TRUE(peer.sendRaw("NX\0\1z", 5));
    EXPECT_EQ(readSoon(socket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlGetError(), NL_ERR_CONNECTION_LOST);
}

TEST_F(NlSockets, EndResetAndMisuseHaveTheirErrorNumbers)
{
    char buffer[8];
    EXPECT_EQ(nlAcceptConnection(listener), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_ERR_NO_PENDING);

    RawPeer ending, resetting;
    NLsocket endingSocket = acceptFrom(ending);
    NLsocket resettingSocket = acceptFrom(resetting);
    ASSERT_NE(endingSocket, NL_INVALID);
    ASSERT_NE(resettingSocket, NL_INVALID);
    ASSERT_TRUE(ending.sendRaw("NL\x00\x05hal", 7)); // vanishes mid-packet
    ending.disconnect();
    EXPECT_EQ(readSoon(endingSocket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlGetError(), NL_ERR_STREAM_ENDED);
    resetting.reset();
    EXPECT_EQ(readSoon(resettingSocket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlGetError(), NL_ERR_CONNECTION_LOST);

    EXPECT_EQ(nlAcceptConnection(endingSocket), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_ERR_NOT_LISTENING);
    ASSERT_TRUE(nlClose(endingSocket));
    EXPECT_EQ(nlRead(endingSocket, buffer, sizeof buffer), -1);
    EXPECT_EQ(nlGetError(), NL_ERR_INVALID_SOCKET);
    EXPECT_EQ(nlAcceptConnection(endingSocket), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_ERR_INVALID_SOCKET);

    nlShutdown(); // closes every socket, the listener too
    EXPECT_EQ(nlOpen(0, NL_RELIABLE), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_ERR_NO_NETWORK);
}

TEST_F(NlSockets, PollGroupReportsOnlySocketsWithSomethingToRead)
{
    RawPeer quiet, talking, leaving;
    NLsocket quietSocket = acceptFrom(quiet), talkingSocket = acceptFrom(talking),
             leavingSocket = acceptFrom(leaving);
    NLint group = nlGroupCreate();
    for (NLsocket socket : {quietSocket, talkingSocket, leavingSocket})
        ASSERT_TRUE(nlGroupAddSocket(group, socket));
    NLsocket ready[3] = {-7, -7, -7};
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 0), 0);

    ASSERT_TRUE(talking.sendPacket("hi", 2));
    leaving.disconnect();
    NLint count = 0;
    eventually([&] { return (count = nlPollGroup(group, NL_READ_STATUS, ready, 3, 0)) == 2; });
    ASSERT_EQ(count, 2);
    EXPECT_EQ(ready[0], talkingSocket);
    EXPECT_EQ(ready[1], leavingSocket);
    // Room for one: only the first ready member is reported.
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 1, 0), 1);
    // A deleted or closed member is no longer polled.
    ASSERT_TRUE(nlGroupDeleteSocket(group, talkingSocket));
    ASSERT_TRUE(nlClose(leavingSocket));
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 0), 0);
    EXPECT_TRUE(nlGroupDestroy(group));
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 0), -1);
}

TEST(NlAddresses, NamesAndTextForms)
{
    NLaddress address;
    ASSERT_TRUE(nlGetAddrFromName("127.0.0.1:8080", &address));
    char text[32];
    EXPECT_STREQ(nlAddrToString(&address, text), "127.0.0.1:8080");
    ASSERT_TRUE(nlSetAddrPort(&address, 27013));
    EXPECT_STREQ(nlAddrToString(&address, text), "127.0.0.1:27013");
    ASSERT_TRUE(nlGetAddrFromName("localhost", &address));
    EXPECT_STREQ(nlAddrToString(&address, text), "127.0.0.1:0");
    EXPECT_FALSE(nlGetAddrFromName("no-such-host.invalid", &address));
    EXPECT_EQ(nlGetError(), NL_ERR_HOST_NOT_FOUND);
    EXPECT_FALSE(nlGetAddrFromName("127.0.0.1:99999", &address));
    EXPECT_FALSE(nlGetAddrFromName("", &address));
}

} // namespace
