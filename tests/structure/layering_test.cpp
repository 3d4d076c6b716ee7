// The runtime's layers: every `#include "runtime/..."` points to the including file's own layer or one
// below it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top. Folders on one rank are peers and may include each other; the longest matching
// prefix decides a file's rank.
const std::vector<std::pair<std::string, int>> layers =
    {
        {"runtime/platform/", 0},       {"runtime/core/", 1}, // the base: error log, end codes, engine
                                                              // record, window events
        {"runtime/values/", 2},         {"runtime/path/", 2},     {"runtime/files/", 3},
        {"runtime/gfx2d/", 4},          {"runtime/input/", 5},    {"runtime/audio/", 6},
        {"runtime/media/", 6},          {"runtime/net/", 7},      {"runtime/gfx3d/", 8},
        {"runtime/core/lifecycle/", 9}, // entry, start-up, window procedure, frame duties, end routine
        {"runtime/runtime.h", 9},       {"runtime/commands/", 9}, // the command catalogue
};

// The command catalogue declares every command. A subsystem's source file (never a header) includes
// it to have its command definitions checked against their declarations.
bool catalogueForDefinitions(const std::string& from, const std::string& to)
{
    return to == "runtime/runtime.h" && from.ends_with(".cpp");
}

int rankOf(const std::string& path)
{
    int rank = -1;
    size_t longest = 0;
    for (const auto& [prefix, layer] : layers) {
        if (path.starts_with(prefix) && prefix.size() > longest) {
            rank = layer;
            longest = prefix.size();
        }
    }
    return rank;
}

std::vector<std::string> upwardIncludes(const fs::path& sourceRoot)
{
    std::vector<std::string> found;
    const std::regex include(R"(^\s*#\s*include\s*"(runtime/[^"]+)\")");
    for (const auto& entry : fs::recursive_directory_iterator(sourceRoot / "runtime")) {
        std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::string from = fs::relative(entry.path(), sourceRoot).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, match, include)) continue;
            std::string to = match[1];
            if (rankOf(from) < 0 || rankOf(to) < 0)
                found.push_back(from + " -> " + to + " (folder not in the layer list)");
            else if (rankOf(to) > rankOf(from) && !catalogueForDefinitions(from, to))
                found.push_back(from + " -> " + to);
        }
    }
    return found;
}

TEST(Layering, NoFileIncludesALayerAboveItsOwn)
{
    std::vector<std::string> upward = upwardIncludes(RT_SOURCE_DIR);
    std::string list;
    for (const std::string& line : upward)
        list += "\n  " + line;
    EXPECT_TRUE(upward.empty()) << "upward includes:" << list;
}

} // namespace
