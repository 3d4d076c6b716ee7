// The frame reader and writer: byte layout, what a reader accepts, and the join request image.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/net/net_frame.h"

using namespace rt;

namespace {

int32_t intAt(const uint8_t* bytes)
{
    return int32_t(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24);
}

TEST(NetFrame, WritesTheWireLayoutLittleEndian)
{
    NetFrame frame = makeTextFrame(Data, -1, 258, "hello");
    uint8_t bytes[netFrameSize];
    memset(bytes, 0xAA, sizeof bytes);
    encodeFrame(frame, bytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 4), "ZOLT");
    EXPECT_EQ(std::vector<uint8_t>(bytes + 4, bytes + 16),
              (std::vector<uint8_t>{5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 1, 0, 0}));
    EXPECT_STREQ(reinterpret_cast<char*>(bytes + 16), "hello");
    EXPECT_EQ(bytes[16 + 2047], 0); // the payload is written whole, unused bytes zero
    EXPECT_EQ(bytes[2064], Data);

    NetFrame back;
    ASSERT_TRUE(decodeFrame(bytes, sizeof bytes, back));
    EXPECT_EQ(back.length, 5);
    EXPECT_EQ(back.to, -1);
    EXPECT_EQ(back.from, 258);
    EXPECT_EQ(back.kind, Data);
    EXPECT_STREQ(back.payload, "hello");

    std::string longText(3000, 'x'); // cut to the last payload byte
    EXPECT_EQ(makeTextFrame(Data, 101, 102, longText.c_str()).length, netMaxTextLength);

    NetFrame value = makeValueFrame(IdAtQuery, 0, 101, 0x01020304);
    encodeFrame(value, bytes);
    EXPECT_EQ(intAt(bytes + 4), 4);
    EXPECT_EQ(std::vector<uint8_t>(bytes + 16, bytes + 20), (std::vector<uint8_t>{4, 3, 2, 1}));
    ASSERT_TRUE(decodeFrame(bytes, sizeof bytes, back));
    EXPECT_EQ(frameValue(back), 0x01020304);
}

TEST(NetFrame, ReaderAcceptsOnlyFramesWithMagicAndPayloadLength)
{
    uint8_t bytes[netFrameSize + 100] = {};
    encodeFrame(makeTextFrame(Data, 7, 8, "abc"), bytes);
    NetFrame frame;

    EXPECT_FALSE(decodeFrame(bytes, 16, frame)); // shorter than 17 bytes
    EXPECT_FALSE(decodeFrame(nullptr, 100, frame));
    ASSERT_TRUE(decodeFrame(bytes, 17, frame)); // the smallest frame: everything after is zero
    EXPECT_EQ(frame.to, 7);
    EXPECT_EQ(frame.kind, 0);
    EXPECT_STREQ(frame.payload, "a");
    ASSERT_TRUE(decodeFrame(bytes, sizeof bytes, frame)); // longer packets: the frame part counts
    EXPECT_EQ(frame.kind, Data);

    bytes[0] = 'z';
    EXPECT_FALSE(decodeFrame(bytes, netFrameSize, frame));
    bytes[0] = 'Z';

    // The length must leave room for the terminator inside the payload.
    for (int32_t length : {-1, 2048, 0x7FFFFFFF, int32_t(0x80000000)}) {
        memcpy(bytes + 4, &length, 4);
        EXPECT_FALSE(decodeFrame(bytes, netFrameSize, frame)) << length;
    }
    int32_t last = 2047;
    memset(bytes + 16, 'y', netPayloadSize);
    memcpy(bytes + 4, &last, 4);
    ASSERT_TRUE(decodeFrame(bytes, netFrameSize, frame));
    EXPECT_EQ(strlen(frame.payload), 2047u);
    int32_t shorter = 2; // the text ends at the length even when the bytes go on
    memcpy(bytes + 4, &shorter, 4);
    ASSERT_TRUE(decodeFrame(bytes, netFrameSize, frame));
    EXPECT_STREQ(frame.payload, "yy");
}

TEST(NetFrame, JoinRequestCarriesThePlayerImage)
{
    NetFrame request = makeJoinRequest("Hana", false);
    uint8_t bytes[netFrameSize];
    encodeFrame(request, bytes);
    EXPECT_EQ(intAt(bytes + 4), 152);
    EXPECT_EQ(intAt(bytes + 8), 0);
    EXPECT_EQ(intAt(bytes + 16), -1); // socket
    EXPECT_EQ(intAt(bytes + 20), -1); // id
    EXPECT_EQ(bytes[24], 0);          // hidden
    EXPECT_STREQ(reinterpret_cast<char*>(bytes + 25), "Hana");
    for (int i = 16 + 140; i < 16 + 152; ++i)
        EXPECT_EQ(bytes[i], 0); // the empty inbox
    EXPECT_EQ(bytes[2064], JoinRequest);

    NetFrame hidden = makeJoinRequest("ignored", true);
    JoinImage image = readJoinImage(hidden);
    EXPECT_TRUE(image.hidden);
    EXPECT_STREQ(image.name, "");

    std::string longName(200, 'n');
    image = readJoinImage(makeJoinRequest(longName.c_str(), false));
    EXPECT_EQ(std::string(image.name), std::string(130, 'n'));
}

TEST(NetFrame, UnterminatedReceivedNameIsCutAt130Characters)
{
    NetFrame frame;
    frame.kind = JoinRequest;
    frame.length = netJoinImageSize;
    memset(frame.payload, 'A', sizeof frame.payload); // no zero anywhere in the image
    frame.payload[8] = 0;
    JoinImage image = readJoinImage(frame);
    EXPECT_FALSE(image.hidden);
    EXPECT_EQ(std::string(image.name), std::string(130, 'A'));
    EXPECT_EQ(image.id, 0x41414141);
}

} // namespace
