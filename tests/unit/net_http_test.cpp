// HTTP download: the header splitter, and rtNetHttpGet against a small scripted server on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "runtime/net/http_get.h"
#include "runtime/net/net_state.h"
#include "runtime/runtime.h"
#include "tests/unit/net_test_support.h"

using namespace rt;

using namespace nettest;
namespace fs = std::filesystem;

namespace {

// ---- The splitter ------------------------------------------------------------------------------

// Body bytes of a response fed in the given chunks.
std::string bodyOf(const std::vector<std::string>& chunks)
{
    HttpHeaderSplitter splitter;
    std::string body;
    for (const std::string& chunk : chunks) {
        size_t header = splitHttpHeader(splitter, chunk.data(), chunk.size());
        body += chunk.substr(header);
    }
    return body;
}

TEST(HttpHeaderSplitter, EndsAtTheSecondLineFeedInARowIgnoringCarriageReturns)
{
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody\r\n\r\nmore"}), "body\r\n\r\nmore");
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\nA: b\n\nbody"}), "body");
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\n\r\r\n\rbody"}), "\rbody");  // CR between the feeds is ignored
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\n \nA: b\n\nbody"}), "body"); // a space is a line of its own
    EXPECT_EQ(bodyOf({"no header end\n"}), "");
    EXPECT_EQ(bodyOf({"\n\n"}), "");
}

TEST(HttpHeaderSplitter, HeaderEndMaySpanChunks)
{
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\r\n", "\r", "\n", "bo", "dy"}), "body");
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\n", "\nbody", "\n\nstays"}), "body\n\nstays");
    EXPECT_EQ(bodyOf({"HTTP/1.0 200 OK\n", "", "x\n", "\n"}), ""); // the body has not begun
    HttpHeaderSplitter splitter;
    EXPECT_EQ(splitHttpHeader(splitter, "ab\n", 3), 3u);
    EXPECT_EQ(splitHttpHeader(splitter, "\nrest", 5), 1u);
    EXPECT_TRUE(splitter.headerDone);
    EXPECT_EQ(splitHttpHeader(splitter, "\n\n", 2), 0u);
}

// ---- Downloads ---------------------------------------------------------------------------------

// A server for one request: it keeps the request and answers with the given chunks, pausing between
// them, then ends the stream (or resets it).
class ScriptedServer
{
  public:
    ScriptedServer(std::vector<std::string> chunks, bool resetAtEnd = false)
    {
        thread_ = std::thread([this, chunks, resetAtEnd] {
            RawPeer peer;
            peer.adopt(listener_.accept(10000));
            char c;
            while (request_.find("\r\n\r\n") == std::string::npos && peer.receiveExactly(&c, 1, 5000))
                request_ += c;
            for (const std::string& chunk : chunks) {
                peer.sendRaw(chunk.data(), chunk.size());
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
            if (resetAtEnd) peer.reset();
        });
    }
    ~ScriptedServer() { finish(); }
    uint16_t port() const { return listener_.port(); }
    std::string request()
    {
        finish();
        return request_;
    }

  private:
    void finish()
    {
        if (thread_.joinable()) thread_.join();
    }
    RawListener listener_;
    std::string request_;
    std::thread thread_;
};

class HttpGet : public testing::Test
{
  protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("http_test_" + std::to_string(getpid()));
        fs::create_directories(folder);
        output = (folder / "out.bin").string();
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string stored()
    {
        std::ifstream file(output, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    fs::path folder;
    std::string output;
};

TEST_F(HttpGet, SendsTheRequestAndStoresTheBodyOfALineFeedHeader)
{
    ScriptedServer server({"HTTP/1.0 200 OK\nContent-Type: text/plain\n\nBODY starts here"});
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/files/a.txt", server.port(), output.c_str()), 1);
    EXPECT_EQ(
        server.request(),
        "GET /files/a.txt HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Tembric game\r\n\r\n");
    EXPECT_EQ(stored(), "BODY starts here");
}

TEST_F(HttpGet, BodyOverSeveralChunksIsStoredByteForByte)
{
    std::string binary("\0\r\n\r\n\xff\x01 tail", 11);
    ScriptedServer server({"HTTP/1.0 200 OK\r\nA: b\r", "\n\r\nfirst|", binary, std::string(10000, 'z')});
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/", server.port() + 65536.0, output.c_str()), 1); // port in 16 bits
    EXPECT_EQ(stored(), "first|" + binary + std::string(10000, 'z'));
}

TEST_F(HttpGet, ErrorPageIsStoredWithResultOne)
{
    ScriptedServer server({"HTTP/1.0 404 Not Found\r\n\r\n<h1>Not Found</h1>"});
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/missing", server.port(), output.c_str()), 1);
    EXPECT_EQ(stored(), "<h1>Not Found</h1>");
}

TEST_F(HttpGet, BrokenConnectionGivesZeroAndKeepsWhatCame)
{
    ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\npartial"}, true);
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/", server.port(), output.c_str()), 0);
    EXPECT_EQ(stored(), "partial");
}

TEST_F(HttpGet, NoServerGivesZeroAndNoFile)
{
    EXPECT_EQ(rtNetHttpGet("no-such-host.invalid", "/", 80, output.c_str()), 0);
    EXPECT_FALSE(fs::exists(output));
    uint16_t closedPort;
    {
        RawListener gone; // a port nobody listens on any more
        closedPort = gone.port();
    }
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/", closedPort, output.c_str()), 0);
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(HttpGet, UnwritableOutputStillCompletesTheTransfer)
{
    ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\ndata"});
    std::string unwritable = (folder / "no-folder" / "out.bin").string();
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/", server.port(), unwritable.c_str()), 1);
    EXPECT_FALSE(fs::exists(unwritable));
}

TEST_F(HttpGet, RunningNetworkGameKeepsItsSockets)
{
    bindToLoopback();
    netCreateRecord();
    uint16_t port;
    {
        RawListener probe; // a free port for the game
        port = probe.port();
    }
    ASSERT_EQ(rtNetHost(RtString(int(port))), 1);
    EXPECT_STREQ(rtNetCreatePlayer("Hana").c_str(), "101");

    ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\nok"});
    EXPECT_EQ(rtNetHttpGet("127.0.0.1", "/", server.port(), output.c_str()), 1);
    EXPECT_EQ(rtNetPlayerCount(), 1);
    EXPECT_EQ(rtNetSendMessage("101", "101", "still here"), 1);
    std::string message;
    EXPECT_TRUE(eventually([&] { return !(message = rtNetReceiveMessage("101").c_str()).empty(); }));
    EXPECT_EQ(message, "still here");
    netShutdown();
    nlSetLocalAddr(nullptr);
}

} // namespace
