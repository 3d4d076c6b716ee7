// The once-per-name record of failed loads and the line that describes each.
#include "runtime/files/load_failure_log.h"

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"

namespace rt {
namespace {

// Enough for any real game; past it a broken loop that invents new names stops filling memory.
constexpr size_t maxRememberedNames = 4096;

// Names already logged. The transparent comparison lets a repeated failure be found without
// allocating, so a game that retries every frame costs only a lookup.
std::set<std::string, std::less<>>& loggedNames()
{
    static std::set<std::string, std::less<>> names;
    return names;
}

// Where the resolver looked: the disk, then the archive appended to a host file when there is one.
std::string placesLookedIn()
{
    const ArchiveResolver* resolver = engine.dataResolver;
    if (!resolver || !resolver->enabled || !resolver->archivePath[0]) return "on disk (no archive)";
    return std::string("on disk nor in the archive appended to ") + resolver->archivePath;
}

std::string workingFolder()
{
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) return "(unknown)";
    return folder;
}

} // namespace

void logLoadFailure(const char* kind, const char* name, LoadFailure failure)
{
    if (!name || !name[0]) return;
    std::set<std::string, std::less<>>& names = loggedNames();
    if (names.find(std::string_view(name)) != names.end()) return;
    if (names.size() == maxRememberedNames) return;
    names.emplace(name);

    std::string line = std::string("Cannot load ") + kind + " \"" + name + "\": ";
    if (failure == LoadFailure::NotFound)
        line += "not found " + placesLookedIn();
    else
        line += "found but not readable as a " + std::string(kind);
    line += "; working folder " + workingFolder();
    rtLogError(line.c_str());
}

} // namespace rt
