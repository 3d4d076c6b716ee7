// The error log and the end routine, seen as the player sees them: exit code and log file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/core/engine_state.h"
#include "runtime/runtime.h"

using namespace rt;

namespace {

// Each test logs into a temp folder of its own.
class ErrorLog : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rt-end-XXXXXX";
        folder = mkdtemp(pattern);
        setenv("TMPDIR", folder.c_str(), 1);
        engine.debugMode = false;
        engine.endCode = engine.endLine = engine.sourceLine = engine.sourceFile = 0;
    }
    void TearDown() override
    {
        unsetenv("TMPDIR");
        std::filesystem::remove_all(folder);
    }
    std::string log() const
    {
        std::ifstream in(folder + "/ErrorLog.txt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string folder;
};

TEST_F(ErrorLog, LinesAreAppendedWithCrLf)
{
    rtLogError("first");
    rtLogError(nullptr);
    rtLogError("");
    rtLogError("caf\xe9");
    EXPECT_EQ(log(), "first\r\nnull\r\n\r\ncaf\xe9\r\n");
}

TEST_F(ErrorLog, HugeLineIsWrittenWhole)
{
    std::string line(1 << 20, 'x');
    rtLogError(line.c_str());
    EXPECT_EQ(log(), line + "\r\n");
}

TEST_F(ErrorLog, UnwritableFolderDropsTheLine)
{
    setenv("TMPDIR", (folder + "/missing/deeper").c_str(), 1);
    rtLogError("lost");
    setenv("TMPDIR", folder.c_str(), 1);
    rtLogError("kept");
    EXPECT_EQ(log(), "kept\r\n");
}

TEST_F(ErrorLog, EndCommandExitsWithZeroAndNoLinesInNormalMode)
{
    EXPECT_EXIT(rtEnd(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(log(), "");
}

TEST_F(ErrorLog, EndInDebugModeLogsEndCodeAndLines)
{
    EXPECT_EXIT(
        {
            engine.debugMode = true;
            rtEnd();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(log(), "-End On Line\r\n0\r\n-1\r\n0\r\n0\r\n");
}

TEST_F(ErrorLog, RuntimeErrorEndsWithItsCodeAndTheSourceLine)
{
    EXPECT_EXIT(
        {
            engine.debugMode = true;
            rtSetSourcePosition(3, 123);
            rtEndWithCode(9);
        },
        testing::ExitedWithCode(0), "");
    // Two significant digits: line 123 shows in exponent form.
    EXPECT_EQ(log(), "-End On Line\r\n9\r\n1.2e+02\r\n1.2e+02\r\n3\r\n");
}

TEST_F(ErrorLog, SetEndCodeTakesTheCurrentSourceLine)
{
    rtSetSourcePosition(1, 42);
    EXPECT_EQ(rtSetEndCode(7), 7);
    EXPECT_EQ(engine.endCode, 7);
    EXPECT_EQ(engine.endLine, 42);
}

} // namespace
