// System queries, file dialogs (with stand-in dialog programs), shell commands, the debugger mark
// and library functions.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/ptrace.h>
#include <thread>

#include "runtime/core/engine_state.h"
#include "runtime/files/libraries.h"
#include "runtime/files/system_commands.h"
#include "runtime/runtime.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

class SystemCommands : public testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rt-system-XXXXXX";
        folder = mkdtemp(pattern);
        const char* path = getenv("PATH");
        savedPath = path ? path : "";
    }
    void TearDown() override
    {
        setenv("PATH", savedPath.c_str(), 1);
        fs::remove_all(folder);
    }
    // A stand-in dialog program on a PATH of its own: it records its arguments and runs the script.
    void fakeDialog(const std::string& program, const std::string& script)
    {
        fs::path file = folder / program;
        std::ofstream(file) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > "
                            << (folder / "arguments").string() << "\n"
                            << script << "\n";
        fs::permissions(file, fs::perms::owner_all);
        setenv("PATH", folder.c_str(), 1); // only the stand-ins: a real zenity or kdialog must not answer
    }
    std::string recordedArguments() const
    {
        std::ifstream in(folder / "arguments");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::path folder;
    std::string savedPath;
};

} // namespace

TEST(PlatformInfo, KeysAreCapitalisedInPlace)
{
    RtString key = "";
    EXPECT_STREQ(rtPlatformInfo(key).c_str(), "WIN32");
    key = "device";
    EXPECT_STREQ(rtPlatformInfo(key).c_str(), "DESKTOP");
    EXPECT_STREQ(key.c_str(), "DEVICE");
    key = "DESKTOP";
    EXPECT_STREQ(rtPlatformInfo(key).c_str(), "NO_DATA");

    key = "time";
    std::string time = rtPlatformInfo(key).c_str();
    EXPECT_STREQ(key.c_str(), "TIME");
    int year, month, day, hour, minute, second;
    ASSERT_EQ(sscanf(time.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second), 6)
        << time;
    EXPECT_TRUE(year >= 2000 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour < 24 &&
                minute < 60 && second < 61)
        << time;
    char plain[64]; // the same numbers without leading zeros
    snprintf(plain, sizeof plain, "%d-%d-%d %d:%d:%d", year, month, day, hour, minute, second);
    EXPECT_EQ(time, plain);

    key = "Id";
    std::string id = rtPlatformInfo(key).c_str();
    EXPECT_EQ(id.size(), 8u);
    EXPECT_EQ(id.find_first_not_of("0123456789ABCDEF"), std::string::npos) << id;
    // Bytes least significant first.
    uint32_t code = machineSerial() ^ 0x9C3A5F1Eu;
    char lowByte[3];
    snprintf(lowByte, sizeof lowByte, "%02X", code & 0xFF);
    EXPECT_EQ(id.substr(0, 2), lowByte);
    EXPECT_STREQ(rtPlatformInfo(key).c_str(), id.c_str());
}

TEST_F(SystemCommands, FileDialogReturnsThePathOrNoFile)
{
    fakeDialog("zenity", "echo 'C:\\Games\\save.dat'");
    EXPECT_STREQ(rtFileDialog(0, "Saves|*.dat").c_str(), "C:/Games/save.dat");
    EXPECT_NE(recordedArguments().find("--save\n"), std::string::npos);
    EXPECT_STREQ(rtFileDialog(NAN, "").c_str(), "C:/Games/save.dat");
    EXPECT_EQ(recordedArguments().find("--save"), std::string::npos) << "not-a-number opens";

    fakeDialog("zenity", "exit 1"); // the player cancelled
    EXPECT_STREQ(rtFileDialog(1, "").c_str(), "NO_FILE");

    fs::remove(folder / "zenity");
    fakeDialog("kdialog", "echo /home/player/level.txt");
    EXPECT_STREQ(rtFileDialog(1, "Levels|*.txt;*.lvl|All|*.*").c_str(), "/home/player/level.txt");
    EXPECT_NE(recordedArguments().find("--getopenfilename\n"), std::string::npos);
    EXPECT_NE(recordedArguments().find("*.txt *.lvl|Levels\n*.*|All\n"), std::string::npos);

    fs::remove(folder / "kdialog");
    setenv("PATH", folder.c_str(), 1); // no dialog program at all
    EXPECT_STREQ(rtFileDialog(1, "").c_str(), "NO_FILE");
}

TEST_F(SystemCommands, ShellCommandsStartWaitAndReportExitCodes)
{
    double code = 99;
    EXPECT_EQ(rtShellCommand("exit 3", 1, 0, code), 1);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(rtShellCommand("sh -c 'exit 4'", NAN, 1, code), 1);
    EXPECT_EQ(code, 4);

    code = 99;
    EXPECT_EQ(rtShellCommand("no-such-program-here --flag", 1, 0, code), 0);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(rtShellCommand((folder / "missing").c_str(), 1, 0, code), 0);
    EXPECT_EQ(rtShellCommand("   ", 1, 0, code), 0);

    // Without waiting the command runs on by itself and the code stays 0.
    fs::path marker = folder / "done";
    std::string line = "sleep 0.2; touch '" + marker.string() + "'";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rtShellCommand(line.c_str(), 0, 0, code), 1);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::exists(marker));
    while (!fs::exists(marker) && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(fs::exists(marker));
}

TEST(DebugMark, NothingWithoutADebuggerAndTheMarkWithOne)
{
    EXPECT_EQ(rtDebugMark(255), 0);
    // The child asks its parent (the test) to trace it, which is all a debugger needs to look attached.
    EXPECT_EXIT(
        {
            ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
            _exit(rtDebugMark(255) == 1 ? 0 : 1); // no leak check at exit: it cannot run traced
        },
        testing::ExitedWithCode(0), "^BPff$");
}

TEST_F(SystemCommands, LibrariesLoadOncePerNameInAnyCase)
{
    int before = cachedLibraryCount();
    RtString name = "LIBM.so.6";
    void* function = nullptr;
    rtGetLibraryFunction(name, "cos", function);
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(reinterpret_cast<double (*)(double)>(function)(0), 1.0);
    EXPECT_STREQ(name.c_str(), "libm.so.6");
    name = "libM.SO.6";
    rtGetLibraryFunction(name, "no_such_function", function);
    EXPECT_EQ(function, nullptr);
    EXPECT_EQ(cachedLibraryCount(), before + 1);

    for (const char* missing : {"libnothing-here.so", ""}) { // the empty name is not the program itself
        name = missing;
        rtGetLibraryFunction(name, "puts", function);
        EXPECT_EQ(function, nullptr) << missing;
    }
    EXPECT_EQ(cachedLibraryCount(), before + 1);

    // A library whose file name has capitals still loads.
    fs::path mixed = folder / "LibMixed.so";
    fs::create_symlink("/lib/x86_64-linux-gnu/libm.so.6", mixed);
    name = mixed.c_str();
    rtGetLibraryFunction(name, "sin", function);
    EXPECT_NE(function, nullptr);
    EXPECT_EQ(cachedLibraryCount(), before + 2);
}
