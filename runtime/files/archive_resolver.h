// ArchiveResolver: turns a game's file name into a path a loader can open. A file on disk wins;
// otherwise the name is looked up in an archive appended to a host file (trailer "sbX"), and the
// entry found is unpacked into a temp file that lives until the next lookup on the same resolver.
#pragma once

#include "runtime/values/rt_string.h"

// Room a caller gives for the resolved path, terminator included.
constexpr int resolvedPathCapacity = 1024;

struct ArchiveResolver {
    bool enabled = true;          // the archive may be consulted
    char archivePath[260] = {};   // host file whose tail holds the archive; empty = none
    char pendingTempFile[1024] = {}; // file written by the last archive hit; empty = none
};

// Resolves `name` into `outputPath` (resolvedPathCapacity bytes; may be the same buffer as name).
// True when outputPath names a file to open.
bool rtResolveDataFile(ArchiveResolver* resolver, const char* name, char* outputPath);
