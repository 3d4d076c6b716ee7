// The runtime library's global names: only the commands of runtime/runtime.h (and the command headers it
// includes) and the public types (with their members and operators). Everything else lives in namespace rt or
// has internal linkage, so a game's own globals never collide with the runtime's.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Public types, and the inline helpers of the public headers a compiler may emit out of line.
const std::set<std::string> publicTypes = {"RtString", "RtArray", "RtTextArray", "GameSettings", "Relation"};
const std::set<std::string> publicHelpers = {"toInt", "toUint32Wrapping", "makeText", "rtConcat",
                                             "textRelation"};
// Names the compiler gives to data that belongs to another name.
const std::array<const char*, 9> belongsToPrefixes = {"vtable for ",
                                                      "typeinfo for ",
                                                      "typeinfo name for ",
                                                      "guard variable for ",
                                                      "non-virtual thunk to ",
                                                      "virtual thunk to ",
                                                      "construction vtable for ",
                                                      "VTT for ",
                                                      "covariant return thunk to "};
// Namespaces that are not global: the runtime's own and the standard library's instantiations.
const std::array<const char*, 3> namespacedPrefixes = {"rt::", "std::", "__gnu_cxx::"};

// Every rt... name declared in the public header and the headers it includes.
std::set<std::string> commandNames()
{
    std::set<std::string> names;
    const std::regex command(R"(\b(rt[A-Z]\w*)\s*\()");
    std::vector<std::string> headers = {"runtime/runtime.h", "runtime/core/end.h", "runtime/values/arrays.h",
                                        "runtime/values/text_arrays.h", "runtime/values/rt_string.h"};
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(RT_SOURCE_DIR) + "/runtime/commands"))
        headers.push_back("runtime/commands/" + entry.path().filename().string());
    for (const std::string& header : headers) {
        std::ifstream in(std::string(RT_SOURCE_DIR) + "/" + header);
        std::string line;
        while (std::getline(in, line))
            for (std::sregex_iterator it(line.begin(), line.end(), command), end; it != end; ++it)
                names.insert((*it)[1]);
    }
    return names;
}

// The name up to its parameter list or template arguments ("RtString::find", "operator+").
std::string bareName(const std::string& symbol)
{
    size_t end = symbol.find_first_of("(<");
    if (symbol.starts_with("operator")) end = symbol.find('(');
    return symbol.substr(0, end);
}

// A function template's name comes after its return type ("void std::vector<...>::insert(...)").
std::string withoutReturnType(const std::string& symbol)
{
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < symbol.size(); ++i) {
        char c = symbol[i];
        if (c == '<') ++depth;
        if (c == '>') --depth;
        if (depth == 0 && c == '(') break;
        if (depth == 0 && c == ' ' && !symbol.substr(start, i - start).ends_with("operator")) start = i + 1;
    }
    return symbol.substr(start);
}

bool allowed(std::string symbol, const std::set<std::string>& commands)
{
    // The compiler's own references for exception handling.
    if (symbol.starts_with("DW.ref.")) return true;
    for (const char* prefix : belongsToPrefixes)
        if (symbol.starts_with(prefix)) symbol = symbol.substr(strlen(prefix));
    symbol = withoutReturnType(symbol);
    for (const char* prefix : namespacedPrefixes)
        if (symbol.starts_with(prefix)) return true;
    std::string name = bareName(symbol);
    std::string owner = name.substr(0, name.find("::"));
    if (publicTypes.count(owner) || commands.count(name) || publicHelpers.count(name)) return true;
    // Operators belong to the public type they take.
    if (name.starts_with("operator"))
        for (const std::string& type : publicTypes)
            if (symbol.find(type) != std::string::npos) return true;
    return false;
}

std::vector<std::string> strayGlobals(const std::string& library)
{
    std::set<std::string> commands = commandNames();
    std::vector<std::string> stray;
    FILE* nm = popen(("nm -C --defined-only '" + library + "' 2>/dev/null").c_str(), "r");
    if (!nm) return {"cannot run nm"};
    char buffer[8192];
    while (fgets(buffer, sizeof buffer, nm)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        // "address kind name"; a lower-case kind is a local symbol (except 'u', unique global).
        size_t first = line.find(' '), second = line.find(' ', first + 1);
        if (first == std::string::npos || second != first + 2) continue;
        char kind = line[first + 1];
        if (!(isupper(kind) || kind == 'u')) continue;
        std::string symbol = line.substr(second + 1);
        if (!allowed(symbol, commands)) stray.push_back(symbol);
    }
    pclose(nm);
    return stray;
}

TEST(Symbols, TheLibraryDefinesOnlyCommandsAndPublicTypesGlobally)
{
    std::vector<std::string> stray = strayGlobals(RT_LIBRARY_FILE);
    std::string list;
    for (const std::string& symbol : stray)
        list += "\n  " + symbol;
    EXPECT_TRUE(stray.empty()) << stray.size()
                               << " global names that are neither commands nor public types:" << list;
}

} // namespace
