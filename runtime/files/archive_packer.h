// Building archives for the data file resolver: files packed with LZO1X, appended with their
// directory and trailer to a host file (see archive_resolver.h for the layout).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rt {

struct PackedFile
{
    std::string entryName;            // the name the resolver matches, 1 to 255 bytes
    std::vector<unsigned char> bytes; // the file's contents
};

// The bytes to append to a host file of hostSize bytes: the entries, the directory and the
// trailer. With offsetsFromEnd the directory and data offsets count back from the end of the
// file (negative), otherwise from its start. False, with a reason in error, when a name does not
// fit the directory or the offsets do not fit 32 bits.
bool buildArchiveTail(uint64_t hostSize, const std::vector<PackedFile>& files, bool offsetsFromEnd,
                      std::vector<unsigned char>& tail, std::string& error);

// Appends an archive of the given files to the file at hostPath (which must exist).
bool appendArchive(const std::string& hostPath, const std::vector<PackedFile>& files, bool offsetsFromEnd,
                   std::string& error);

} // namespace rt
