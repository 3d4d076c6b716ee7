// File channels and file-system commands: the bytes on disk, and the codes the program ends with.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/file_list.h"
#include "runtime/runtime.h"
#include "file_text.h"
#include "runtime/values/text_arrays.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

// Each test works in a folder of its own, which is also the current folder and the temp folder.
class FileChannels : public testing::Test
{
  protected:
    void SetUp() override
    {
        previous = fs::current_path();
        char pattern[] = "/tmp/rt-channels-XXXXXX";
        folder = mkdtemp(pattern);
        fs::current_path(folder);
        setenv("TMPDIR", folder.c_str(), 1);
        engine.debugMode = false;
    }
    void TearDown() override
    {
        for (int channel = 0; channel < fileChannelCount; ++channel)
            rtCloseFile(channel);
        fs::current_path(previous);
        unsetenv("TMPDIR");
        fs::remove_all(folder);
    }
    // The end code that the program ended with, from the end lines of a debug-mode log.
    std::string endCodeLine() const
    {
        std::string log = readText(folder / "ErrorLog.txt");
        size_t first = log.find("\r\n");
        if (first == std::string::npos) return "no end lines";
        return log.substr(first + 2, log.find("\r\n", first + 2) - first - 2);
    }

    fs::path previous, folder;
};

// Runs the statement in a child with debug mode on; it must end the program through the end routine.
#define EXPECT_ENDS_WITH_CODE(statement, code)                                                               \
    do {                                                                                                     \
        fs::remove(folder / "ErrorLog.txt");                                                                 \
        EXPECT_EXIT(                                                                                         \
            {                                                                                                \
                engine.debugMode = true;                                                                     \
                statement;                                                                                   \
                exit(42);                                                                                    \
            },                                                                                               \
            testing::ExitedWithCode(0), "");                                                                 \
        EXPECT_EQ(endCodeLine(), code);                                                                      \
    } while (0)

} // namespace

TEST_F(FileChannels, TypedValuesKeepTheirLowBitsLittleEndian)
{
    ASSERT_EQ(rtOpenFile(0, "values.bin", 0), 1);
    rtWriteUInt8(0, 300);
    rtWriteUInt16(0, -1);
    rtWriteUInt32(0, 70000);
    rtWriteUInt32(0, -1);
    rtWriteUInt8(0, 7.9);
    rtWriteFloat64(0, -2.5);
    rtWriteChars(0, "ab");
    rtWriteLine(0, "line");
    rtCloseFile(0);
    EXPECT_EQ(readText("values.bin"), std::string("\x2c\xff\xff\x70\x11\x01\x00\xff\xff\xff\xff\x07"
                                                  "\x00\x00\x00\x00\x00\x00\x04\xc0"
                                                  "abline\r\n",
                                                  28));

    ASSERT_EQ(rtOpenFile(7, "values.bin", 1), 1);
    double value = 0;
    rtReadUInt8(7, value);
    EXPECT_EQ(value, 44);
    rtReadUInt16(7, value);
    EXPECT_EQ(value, 65535);
    rtReadUInt32(7, value);
    EXPECT_EQ(value, 70000);
    rtReadUInt32(7, value);
    EXPECT_EQ(value, 4294967295.0);
    rtReadUInt8(7, value);
    EXPECT_EQ(value, 7);
    rtReadFloat64(7, value);
    EXPECT_EQ(value, -2.5);
    RtString text = "old";
    rtReadChars(7, text, 0);
    EXPECT_STREQ(text.c_str(), "");
    rtReadChars(7, text, 2);
    EXPECT_STREQ(text.c_str(), "ab");
    rtReadLine(7, text);
    EXPECT_STREQ(text.c_str(), "line");
    EXPECT_EQ(rtEndOfFile(7), 1);
}

TEST_F(FileChannels, LinesSplitAtLfWithOrWithoutCr)
{
    writeText("crlf.txt", "ab\r\ncd");
    writeText("lf.txt", std::string("ab\ncd\n\nx\0y", 11));
    RtString line;
    ASSERT_EQ(rtOpenFile(1, "crlf.txt", 1), 1);
    rtReadLine(1, line);
    EXPECT_STREQ(line.c_str(), "ab");
    EXPECT_EQ(rtEndOfFile(1), 0);
    rtReadLine(1, line);
    EXPECT_STREQ(line.c_str(), "cd");
    EXPECT_EQ(rtEndOfFile(1), 1);
    EXPECT_ENDS_WITH_CODE(rtReadLine(1, line), "3");

    ASSERT_EQ(rtOpenFile(1, "lf.txt", 1), 1);
    for (const char* expected : {"ab", "cd", "", "x"}) {
        rtReadLine(1, line);
        EXPECT_STREQ(line.c_str(), expected); // a zero byte ends the text
    }

    // A line longer than 1024 bytes comes back in pieces of 1024.
    writeText("long.txt", std::string(1500, 'q') + "\n");
    ASSERT_EQ(rtOpenFile(1, "long.txt", 1), 1);
    rtReadLine(1, line);
    EXPECT_EQ(line.length(), 1024u);
    rtReadLine(1, line);
    EXPECT_EQ(line.length(), 476u);
    EXPECT_EQ(rtEndOfFile(1), 1);
}

TEST_F(FileChannels, BadChannelsAndShortReadsEndTheProgram)
{
    EXPECT_ENDS_WITH_CODE(rtOpenFile(8, "x", 0), "7");
    EXPECT_ENDS_WITH_CODE(rtOpenFile(-1, "x", 0), "7");
    EXPECT_ENDS_WITH_CODE(rtCloseFile(8), "7");
    EXPECT_ENDS_WITH_CODE(rtWriteUInt8(0, 1), "3"); // channel 0 is closed
    double value;
    EXPECT_ENDS_WITH_CODE(rtReadUInt8(2, value), "3");
    writeText("three.bin", "abc");
    ASSERT_EQ(rtOpenFile(2, "three.bin", 1), 1);
    EXPECT_EQ(rtEndOfFile(2), 0); // (the children below share the file position)
    EXPECT_ENDS_WITH_CODE(rtReadUInt32(2, value), "3");
    RtString text;
    // A count far beyond the file ends at once instead of asking for the memory first.
    EXPECT_ENDS_WITH_CODE(rtReadChars(2, text, 2e9), "3");
    EXPECT_ENDS_WITH_CODE(rtWriteUInt8(2, 1), "3"); // opened for reading
    EXPECT_EQ(rtEndOfFile(9), 1);
    EXPECT_EQ(rtEndOfFile(3), 1);
    EXPECT_EQ(rtOpenFile(3, "missing.bin", 1), 0);
    EXPECT_EQ(rtOpenFile(3, ".", 1), 0) << "a folder is not a file";
}

TEST_F(FileChannels, WholeFileCommands)
{
    writeText("data.bin", std::string(10000, 'd'));
    EXPECT_EQ(rtFileSize("data.bin"), 10000);
    EXPECT_EQ(rtFileSize("missing"), 0);
    EXPECT_EQ(rtFileExists("data.bin"), 1);
    EXPECT_EQ(rtFileExists("missing"), 0);

    fs::create_directory("sub");
    rtCopyFile("data.bin", "sub\\copy.bin"); // '\' is a folder separator
    EXPECT_EQ(readText("sub/copy.bin"), std::string(10000, 'd'));
    rtCopyFile("missing", "never.bin");
    EXPECT_FALSE(fs::exists("never.bin"));
    rtCopyFile("data.bin", "./data.bin");
    EXPECT_EQ(fs::file_size("data.bin"), 10000u) << "copying a file onto itself keeps it";

    EXPECT_EQ(rtDeleteFile("sub\\copy.bin"), 1);
    EXPECT_EQ(rtDeleteFile("sub\\copy.bin"), 0);
    EXPECT_EQ(rtFileExists("sub"), 0);

    EXPECT_EQ(rtSetCurrentDir("sub"), 1);
    EXPECT_EQ(std::string(rtGetCurrentDir().c_str()), (folder / "sub").string() + "/");
    EXPECT_EQ(rtSetCurrentDir("nowhere"), 0);
    EXPECT_EQ(rtSetCurrentDir(".."), 1);

    RtString path = "C:\\Games\\save.dat";
    rtForwardSlashes(path);
    EXPECT_STREQ(path.c_str(), "C:/Games/save.dat");
}

[[noreturn]] static void copyUnderSizeLimit()
{
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    limit.rlim_cur = limit.rlim_max = 8192;
    setrlimit(RLIMIT_FSIZE, &limit);
    rtCopyFile("big.bin", "copy.bin");
    exit(fs::exists("copy.bin") ? 1 : 0);
}

TEST_F(FileChannels, FailedCopyLeavesNoPartialFile)
{
    writeText("big.bin", std::string(20000, 'b'));
    // In a child whose files may not grow past 8192 bytes, the third block fails to be written.
    EXPECT_EXIT(copyUnderSizeLimit(), testing::ExitedWithCode(0), "");
}

TEST_F(FileChannels, FileListPutsFoldersFirstThenMatchingFiles)
{
    writeText("a.BMP", "");
    writeText("b.png", "");
    fs::create_directory("gfx");
    RtTextArray list;
    EXPECT_EQ(rtFileList("*.bmp", list), 1 + 3 * 65536);
    ASSERT_EQ(list.size1, 4);
    std::vector<std::string> folders = {list.data[0].c_str(), list.data[1].c_str(), list.data[2].c_str()};
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{".", "..", "gfx"}));
    EXPECT_STREQ(list.data[3].c_str(), "a.BMP");
    EXPECT_EQ(rtFileList("*.wav", list), 3 * 65536);
    EXPECT_EQ(list.size1, 3);
}

TEST(FilePattern, StarsQuestionMarksAndCase)
{
    struct Case
    {
        const char* name;
        const char* pattern;
        bool matches;
    };
    for (const Case& c : std::vector<Case>{{"a.bmp", "?.bmp", true},
                                           {"..bmp", "?.bmp", false},
                                           {"ab.bmp", "?.bmp", false},
                                           {"A.BMP", "*.bmp", true},
                                           {".bmp", "*.bmp", true},
                                           {"x.bmp.bak", "*.bmp", false},
                                           {"x.bmp.bmp", "*.bmp", true},
                                           {"abcabd", "*abd", true},
                                           {"abc", "a**", true},
                                           {"", "***", true},
                                           {"abc", "a*c*", true},
                                           {"abc", "abcd", false},
                                           {"abcd", "abc", false},
                                           {"noext", "*.*", false},
                                           {"pic07.bmp", "pic??.bmp", true}})
        EXPECT_EQ(matchesFilePattern(c.name, c.pattern), c.matches) << c.name << " / " << c.pattern;
}
