// ArchiveResolver: turns a game's file name into a path a loader can open. A file on disk wins;
// otherwise the name is looked up in an archive appended to a host file (trailer "sbX"), and the
// entry found is unpacked into a temp file that lives until the next lookup on the same resolver.
//
// Archive layout (little-endian), at the tail of the host file:
//   entries   per entry: unpacked size (uint32), then the LZO1X-compressed bytes
//   directory per entry: name length (uint8, 0 ends the directory), name, data offset (int32),
//             stored size (uint32, the unpacked-size prefix included)
//   trailer   "sbX", directory offset (int32): from the start of the file when zero or positive,
//             from the end when negative; the entries' data offsets then count from the same origin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/values/rt_string.h"

namespace rt {

// Room a caller gives for the resolved path, terminator included.
constexpr int resolvedPathCapacity = 1024;
// Unpacked sizes above this are refused: no game file needs more, and a damaged size must not
// make a lookup ask for gigabytes.
constexpr uint32_t maxUnpackedSize = 1u << 30;

struct ArchiveResolver
{
    bool enabled = true;             // the archive may be consulted
    char archivePath[1024] = {};     // host file whose tail holds the archive; empty = none
    char pendingTempFile[1024] = {}; // file written by the last archive hit; empty = none
};

// Resolves `name` into `outputPath` (resolvedPathCapacity bytes; may be the same buffer as name).
// True when outputPath names a file to open. A miss leaves outputPath empty, except when the
// resolver's archive is (or just became) disabled: then outputPath is left as it was. A null
// resolver (no engine running) finds files on disk only.
bool rtResolveDataFile(ArchiveResolver* resolver, const char* name, char* outputPath);

// Resolvers are made by start-up and released by the end routine; releasing deletes the pending
// temp file.
ArchiveResolver* createArchiveResolver();
void releaseArchiveResolver(ArchiveResolver* resolver);

// ---- The archive reader on bytes in memory (the whole host file), used by the resolver, the
// ---- tests and the fuzzer.

struct ArchiveEntry
{
    char name[256] = {};     // as stored, up to its first zero byte
    int32_t dataOffset = 0;  // as stored
    uint32_t storedSize = 0; // as stored
    int64_t dataStart = 0;   // the data's position in the file (may lie outside it)
};

enum class ArchiveLookup
{
    Found,
    NotFound,     // the directory holds no entry that ends the name
    ShortTrailer, // the file is too short to hold a trailer
    NoTag,        // the file does not end in an archive trailer
};

// Finds the first directory entry whose name ends `name` (ASCII case ignored, '/' and '\' alike).
ArchiveLookup findArchiveEntry(const unsigned char* file, size_t fileSize, const char* name,
                               ArchiveEntry& entry);

struct FreeDeleter
{
    void operator()(unsigned char* bytes) const;
};
using UnpackedBytes = std::unique_ptr<unsigned char[], FreeDeleter>;

// Unpacks an entry found by findArchiveEntry. False when its stored bytes do not lie inside the
// file, are too few to hold the size prefix, or the unpacked size is refused or cannot be had.
// Damaged compressed data is not an error: `length` is whatever the decompressor produced.
bool unpackArchiveEntry(const unsigned char* file, size_t fileSize, const ArchiveEntry& entry,
                        UnpackedBytes& bytes, size_t& length);

} // namespace rt
