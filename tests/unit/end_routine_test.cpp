// The end routine as the player's files see it: whatever ends the program, the INI document and the
// line file are written back exactly once and no unpacked archive entry is left in the temp folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "file_text.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/end_routine.h"
#include "runtime/files/archive_packer.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/runtime.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

class EndRoutine : public testing::Test
{
  protected:
    void SetUp() override
    {
        previous = fs::current_path();
        char pattern[] = "/tmp/rt-endroutine-XXXXXX";
        folder = mkdtemp(pattern);
        fs::current_path(folder);
        setenv("TMPDIR", folder.c_str(), 1);
    }
    void TearDown() override
    {
        fs::current_path(previous);
        unsetenv("TMPDIR");
        fs::remove_all(folder);
    }
    // Changes the INI document and the line file, and unpacks an archive entry into a temp file.
    static void changeFilesAndUnpackAnEntry()
    {
        installEngineEndRoutine();
        std::string error;
        writeText("host.bin", "host");
        if (!appendArchive("host.bin", {{"packed.txt", {'a', '\n'}}}, false, error)) exit(3);
        createArchiveResolvers();
        rtSetArchiveFiles("host.bin", "host.bin");
        if (std::string(rtGetFileLine("packed.txt", 0).c_str()) != "a") exit(4);
        rtIniOpen("settings.ini");
        rtIniPut("Game", "Level", "3");
        rtPutFileLine("scores.txt", 1, "900");
    }
    bool tempFileLeft() const
    {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("~sbx")) return true;
        return false;
    }
    fs::path previous, folder;
};

TEST_F(EndRoutine, ArrayEndCodeWritesBothFilesBackAndLeavesNoTempFile)
{
    EXPECT_EXIT(
        {
            changeFilesAndUnpackAnEntry();
            RtArray array;
            rtDimArray(array, 2, 0, 0, 0);
            rtArrayAt(array, 2);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readText("settings.ini"), "[Game]\r\nLevel=3\r\n");
    EXPECT_EQ(readText("scores.txt"), "\r\n900\r\n");
    EXPECT_FALSE(tempFileLeft());
}

// A release step that ends the program again: the routine goes on from there, so the line file is
// still written back, and the INI document, already written, is not written a second time.
TEST_F(EndRoutine, EndReenteredFromAReleaseStepStillWritesBack)
{
    EXPECT_EXIT(
        {
            changeFilesAndUnpackAnEntry();
            filesTeardown().closeFileChannels = [] {
                fs::remove("settings.ini");
                rtEnd();
            };
            rtEnd();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_FALSE(fs::exists("settings.ini"));
    EXPECT_EQ(readText("scores.txt"), "\r\n900\r\n");
    EXPECT_FALSE(tempFileLeft());
}

} // namespace
