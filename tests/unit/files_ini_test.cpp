// INI documents and line files: reading untrusted text, the write-back bytes, and the write-back at
// the end of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "file_text.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/end_routine.h"
#include "runtime/files/archive_packer.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/files/ini_document.h"
#include "runtime/files/line_splitter.h"
#include "runtime/runtime.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

IniDocument parse(const std::string& text)
{
    IniDocument document;
    parseIniText(document, text.data(), text.size());
    return document;
}

std::string textOf(const IniDocument& document)
{
    std::vector<char> text = iniText(document);
    return std::string(text.begin(), text.end());
}

// The tests share the one current INI document and line file, so each starts by switching to
// files in a folder of its own (which is also the current folder).
class IniAndLineFiles : public testing::Test
{
  protected:
    void SetUp() override
    {
        previous = fs::current_path();
        char pattern[] = "/tmp/rt-ini-XXXXXX";
        folder = mkdtemp(pattern);
        fs::current_path(folder);
        setenv("TMPDIR", folder.c_str(), 1);
        engine.endCode = 0;
    }
    void TearDown() override
    {
        rtIniOpen("");        // lets go of this test's document
        rtGetFileLine("", 0); // and of its line file
        fs::current_path(previous);
        unsetenv("TMPDIR");
        fs::remove_all(folder);
    }
    fs::path previous, folder;
};

const char* sixLines = "[Video]\r\nWidth=640\r\n;comment\r\n[Empty]\r\n[Audio]\r\nVolume=7\r\n";

} // namespace

TEST(IniReader, SectionsKeysAndValues)
{
    IniDocument document = parse(sixLines);
    ASSERT_EQ(document.sections.size(), 2u); // the section without pairs is dropped
    EXPECT_STREQ(iniValue(document, "video", "WIDTH").c_str(), "640");
    EXPECT_STREQ(iniValue(document, "Audio", "Volume").c_str(), "7");
    EXPECT_STREQ(iniValue(document, "Audio", "Width").c_str(), "NO_DATA");
    EXPECT_STREQ(iniValue(document, "Empty", "x").c_str(), "NO_DATA");
    EXPECT_EQ(textOf(document), "[Video]\r\nWidth=640\r\n[Audio]\r\nVolume=7\r\n");

    document = parse("Name = Bob\nkey=value\t\x01\xff\n  [ my section]\nlonely\nnovalue=\n"
                     "a=1\n[second]]\nb=2\n[]\nc=3\n[second]\nb=9\n");
    ASSERT_EQ(document.sections.size(), 5u);
    EXPECT_STREQ(document.sections[0].name.c_str(), "");
    EXPECT_STREQ(iniValue(document, "", "Name").c_str(), "= Bob");
    EXPECT_STREQ(iniValue(document, "", "key").c_str(), "value"); // trailing control and high bytes cut
    EXPECT_STREQ(document.sections[1].name.c_str(), "my");
    EXPECT_EQ(document.sections[1].pairs.size(), 1u); // "lonely" and "novalue=" give no pair
    EXPECT_STREQ(document.sections[2].name.c_str(), "second]");
    EXPECT_STREQ(document.sections[3].name.c_str(), "second]");          // an empty header keeps the name
    EXPECT_STREQ(iniValue(document, "second]", "c").c_str(), "NO_DATA"); // only the first is found
    EXPECT_STREQ(iniValue(document, "SECOND", "b").c_str(), "9");
}

TEST(IniReader, UntrustedBytesAndLengths)
{
    // A zero byte ends a line's text; byte 255 is kept inside a value.
    static const char bytes[] = "[s]\na=x\0hidden\nb=\xff"
                                "y\nc=z";
    IniDocument document = parse(std::string(bytes, sizeof bytes - 1));
    EXPECT_STREQ(iniValue(document, "s", "a").c_str(), "x");
    EXPECT_STREQ(iniValue(document, "s", "b").c_str(), "\xffy");
    EXPECT_STREQ(iniValue(document, "s", "c").c_str(), "z"); // the last line has no line end

    // A line longer than 1024 bytes is read in pieces of 1024, each a line of its own.
    std::string longValue(1500, 'v');
    document = parse("[s]\nk=" + longValue + "\n");
    EXPECT_EQ(iniValue(document, "s", "k").length(), 1022u);
    EXPECT_EQ(document.sections[0].pairs.size(), 1u);

    // A megabyte without a line end, and CR-only line ends.
    document = parse(std::string(1 << 20, '['));
    EXPECT_TRUE(document.sections.empty());
    document = parse("[s]\rk=1\rj=2\r");
    EXPECT_TRUE(document.sections.empty());
}

TEST(LineSplitter, CutModeKeepsLineNumbers)
{
    std::vector<std::string> lines;
    LineSplitter splitter(LineSplitter::LongLines::Cut);
    auto collect = [&](const char* text, size_t length) {
        lines.emplace_back(text, length);
        return true;
    };
    std::string input = std::string(3000, 'a') + "\r\nb\r\n" + std::string(1023, 'c') + "\r\n" + "d";
    // Fed in awkward chunks, as reads deliver them.
    for (size_t at = 0; at < input.size(); at += 7)
        splitter.feed(input.data() + at, std::min<size_t>(7, input.size() - at), collect);
    splitter.finish(collect);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], std::string(1023, 'a'));
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], std::string(1023, 'c'));
    EXPECT_EQ(lines[3], "d");
}

TEST_F(IniAndLineFiles, PutsAndWriteBack)
{
    writeText("first.ini", sixLines);
    rtIniOpen("first.ini");
    EXPECT_STREQ(rtIniGet("VIDEO", "width").c_str(), "640");
    rtIniPut("Video", "Height", "480");
    rtIniPut("Video", "Depth", "32");
    rtIniPut("Video", "Width", ""); // the last pair takes the removed pair's place
    rtIniPut("New", "Key", "");     // a new pair is made even with an empty value
    rtIniOpen("second.ini");        // missing: an empty document
    EXPECT_EQ(readText("first.ini"), "[Video]\r\nDepth=32\r\nHeight=480\r\n[Audio]\r\nVolume=7\r\n"
                                     "[New]\r\nKey=\r\n");
    EXPECT_STREQ(rtIniGet("Video", "Depth").c_str(), "NO_DATA");

    rtIniOpen("first.ini"); // "Key=" has no value to read: New is dropped
    rtIniPut("Extra", "k", "v");
    rtIniPut("video", "", ""); // the last section takes the removed section's place
    rtIniPut("nowhere", "", "");
    EXPECT_STREQ(rtIniGet("Video", "Depth").c_str(), "NO_DATA");
    rtIniOpen("first.ini");
    EXPECT_EQ(readText("first.ini"), "[Extra]\r\nk=v\r\n[Audio]\r\nVolume=7\r\n");

    // An unchanged document is not written back.
    rtIniOpen("second.ini");
    EXPECT_FALSE(fs::exists("second.ini"));
}

TEST_F(IniAndLineFiles, LineFilesLoadPutAndWriteBack)
{
    EXPECT_STREQ(rtGetFileLine("missing.txt", 0).c_str(), "NO_FILE");
    EXPECT_EQ(engine.endCode, 3);
    EXPECT_STREQ(rtGetFileLine("missing.txt", 0).c_str(), "NO_DATA");

    engine.endCode = 0;
    rtPutFileLine("missing.txt", 300, "x");
    EXPECT_EQ(engine.endCode, 7);
    EXPECT_STREQ(rtGetFileLine("missing.txt", -1).c_str(), "NO_DATA");
    rtPutFileLine("missing.txt", 5, "five");
    rtPutFileLineNumber("missing.txt", 1, 2.5);
    rtPutFileLineNumber("missing.txt", 2, 3);
    rtPutFileLineNumber("missing.txt", 3, 0);
    rtPutFileLine("missing.txt", 4, std::string(2000, 'L').c_str());
    double value = 0;
    rtGetFileLineNumber("missing.txt", 1, value);
    EXPECT_EQ(value, 2.5);

    static const char start[] = "one\r\ntwo \x01\x80\r\n\r\nz\0ero\n";
    writeText("lines.txt", std::string(start, sizeof start - 1) + std::string(3000, 'x') + "\nafter\nlast");
    EXPECT_STREQ(rtGetFileLine("lines.txt", 0).c_str(), "one");
    // Switching files wrote the puts back: line 5 made six lines.
    EXPECT_EQ(readText("missing.txt"), "\r\n2.5\r\n3\r\n0\r\n" + std::string(1023, 'L') + "\r\nfive\r\n");
    EXPECT_STREQ(rtGetFileLine("lines.txt", 1).c_str(), "two "); // trailing control and high bytes cut
    EXPECT_STREQ(rtGetFileLine("lines.txt", 2).c_str(), "NO_DATA");
    EXPECT_STREQ(rtGetFileLine("lines.txt", 3).c_str(), "z");
    EXPECT_EQ(rtGetFileLine("lines.txt", 4).length(), 1023u); // cut, not spilled into line 5
    EXPECT_STREQ(rtGetFileLine("lines.txt", 5).c_str(), "after");
    EXPECT_STREQ(rtGetFileLine("lines.txt", 6).c_str(), "last");
    EXPECT_STREQ(rtGetFileLine("lines.txt", 7).c_str(), "NO_DATA");

    // Only the first 256 lines are held.
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += std::to_string(i) + "\n";
    writeText("many.txt", many);
    EXPECT_STREQ(rtGetFileLine("many.txt", 255).c_str(), "255");
    rtPutFileLine("many.txt", 0, "zero");
    rtGetFileLine("lines.txt", 0);
    std::string kept = readText("many.txt");
    EXPECT_EQ(kept.substr(0, 6), "zero\r\n");
    EXPECT_EQ(kept.substr(kept.size() - 5), "255\r\n");
}

// At the program's end, after the end routine: the INI document, then the channels, then the line
// file. Here the INI document and the line file are the same file, so the line file's text must win.
TEST_F(IniAndLineFiles, EndOfProgramWritesBothBackInOrder)
{
    EXPECT_EXIT(
        {
            installEngineEndRoutine();
            rtIniOpen("settings.ini");
            rtIniPut("Game", "Level", "3");
            rtIniOpen("shared.txt");
            rtIniPut("Ini", "Written", "first");
            rtPutFileLine("scores.txt", 1, "900");
            rtPutFileLine("shared.txt", 0, "line file written last");
            rtOpenFile(0, "channel.bin", 0);
            rtWriteChars(0, "kept");
            rtEnd();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readText("settings.ini"), "[Game]\r\nLevel=3\r\n");
    EXPECT_EQ(readText("scores.txt"), "\r\n900\r\n");
    EXPECT_EQ(readText("shared.txt"), "line file written last\r\n");
    EXPECT_EQ(readText("channel.bin"), "kept");
}

TEST_F(IniAndLineFiles, WithoutTheEngineBothAreWrittenBackAtExit)
{
    EXPECT_EXIT(
        {
            rtIniOpen("late.ini");
            rtIniPut("Game", "Level", "4");
            rtPutFileLine("late.txt", 0, "kept");
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readText("late.ini"), "[Game]\r\nLevel=4\r\n");
    EXPECT_EQ(readText("late.txt"), "kept\r\n");
}

TEST_F(IniAndLineFiles, BothReadFromTheArchiveThroughTheDataResolver)
{
    writeText("host.bin", "host");
    std::string error;
    ASSERT_TRUE(appendArchive("host.bin",
                              {{"packed.ini", {'[', 's', ']', '\n', 'k', '=', '5', '\n'}},
                               {"packed.txt", {'l', '0', '\n', 'l', '1', '\n'}}},
                              false, error));
    engine.dataResolver = createArchiveResolver();
    engine.mediaResolver = createArchiveResolver();
    rtSetArchiveFiles("host.bin", "host.bin");
    rtIniOpen("packed.ini");
    EXPECT_STREQ(rtIniGet("s", "k").c_str(), "5");
    EXPECT_STREQ(rtGetFileLine("packed.txt", 1).c_str(), "l1");
    releaseArchiveResolver(engine.dataResolver);
    releaseArchiveResolver(engine.mediaResolver);
    engine.dataResolver = engine.mediaResolver = nullptr;
}
