// Fuzzes the archive reader: trailer, directory and entry unpacking over any host file. The first
// input byte gives the length of the name looked up (taken from the following bytes); the rest is
// the host file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/files/archive_resolver.h"

using namespace rt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    size_t nameLength = std::min<size_t>(data[0] % 32, size - 1);
    std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
    name = name.c_str(); // names are texts: they end at a zero byte
    const unsigned char* file = data + 1 + nameLength;
    size_t fileSize = size - 1 - nameLength;

    ArchiveEntry entry;
    if (findArchiveEntry(file, fileSize, name.c_str(), entry) != ArchiveLookup::Found) return 0;
    if (strlen(entry.name) > name.size()) __builtin_trap(); // a match never outgrows the request
    UnpackedBytes bytes;
    size_t length = 0;
    if (unpackArchiveEntry(file, fileSize, entry, bytes, length) && length > maxUnpackedSize)
        __builtin_trap();
    volatile unsigned char sink = 0;
    for (size_t i = 0; i < length; i += 4096)
        sink = sink + bytes[i]; // every byte handed out is real memory
    return 0;
}
