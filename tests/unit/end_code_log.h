// Checking how a command ends the program: the statement runs in a child process with debug mode on
// and the temp folder pointed at a folder of the test's own; the child must exit with code 0 and its
// error log must hold the end lines with the expected end code.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "runtime/core/engine_state.h"

using namespace rt;

class EndLogFolder
{
  public:
    EndLogFolder()
    {
        const char* old = getenv("TMPDIR");
        if (old) previous_ = old, hadPrevious_ = true;
        std::string pattern = std::filesystem::temp_directory_path().string() + "/rt_end_XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data())) folder_ = name.data();
        setenv("TMPDIR", folder_.c_str(), 1);
    }
    ~EndLogFolder()
    {
        if (hadPrevious_)
            setenv("TMPDIR", previous_.c_str(), 1);
        else
            unsetenv("TMPDIR");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // The log's lines without their CR LF ends.
    std::vector<std::string> lines() const
    {
        std::ifstream file(folder_ + "/ErrorLog.txt", std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        std::vector<std::string> result;
        std::string text = content.str();
        size_t start = 0, end;
        while ((end = text.find("\r\n", start)) != std::string::npos) {
            result.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return result;
    }

    // The line after "-End On Line" (the end code), or "none".
    std::string endCode() const
    {
        std::vector<std::string> all = lines();
        for (size_t i = 0; i + 1 < all.size(); ++i)
            if (all[i] == "-End On Line") return all[i + 1];
        return "none";
    }

  private:
    std::string folder_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// The statement must end the program with exit code 0 and the given end code in the log.
#define EXPECT_ENDS_WITH_CODE(statement, code)                                                               \
    do {                                                                                                     \
        EndLogFolder endLog;                                                                                 \
        EXPECT_EXIT(                                                                                         \
            {                                                                                                \
                engine.debugMode = true;                                                                     \
                statement;                                                                                   \
            },                                                                                               \
            testing::ExitedWithCode(0), "");                                                                 \
        EXPECT_EQ(endLog.endCode(), code);                                                                   \
    } while (0)
