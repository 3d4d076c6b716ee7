// The archive builder behind the packing tool and the resolver's tests.
#include "runtime/files/archive_packer.h"

#include <cstdio>
#include <lzo/lzo1x.h>
#include <memory>

using namespace rt;

namespace rt {

static void putUint32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

// The size prefix and the LZO1X-1 stream of one file.
static bool packEntry(const std::vector<unsigned char>& bytes, std::vector<unsigned char>& out,
                      std::string& error)
{
    static bool lzoReady = lzo_init() == LZO_E_OK;
    if (!lzoReady) {
        error = "the compressor cannot start";
        return false;
    }
    if (bytes.size() > UINT32_MAX - 4) {
        error = "a file is too large";
        return false;
    }
    std::vector<unsigned char> workMemory(LZO1X_1_MEM_COMPRESS);
    // LZO1X-1's worst case for incompressible input.
    std::vector<unsigned char> packed(bytes.size() + bytes.size() / 16 + 64 + 3);
    lzo_uint packedSize = 0;
    if (lzo1x_1_compress(bytes.data(), bytes.size(), packed.data(), &packedSize, workMemory.data()) !=
        LZO_E_OK) {
        error = "compression failed";
        return false;
    }
    putUint32(out, uint32_t(bytes.size()));
    out.insert(out.end(), packed.begin(), packed.begin() + packedSize);
    return true;
}

bool buildArchiveTail(uint64_t hostSize, const std::vector<PackedFile>& files, bool offsetsFromEnd,
                      std::vector<unsigned char>& tail, std::string& error)
{
    tail.clear();
    std::vector<uint64_t> dataPositions; // from the start of the host file
    std::vector<uint64_t> storedSizes;
    for (const PackedFile& file : files) {
        if (file.entryName.empty() || file.entryName.size() > 255) {
            error = "entry name \"" + file.entryName + "\" must have 1 to 255 bytes";
            return false;
        }
        size_t start = tail.size();
        if (!packEntry(file.bytes, tail, error)) return false;
        dataPositions.push_back(hostSize + start);
        storedSizes.push_back(tail.size() - start);
    }
    uint64_t directoryPosition = hostSize + tail.size();
    size_t directorySize = 1 + 7;
    for (const PackedFile& file : files)
        directorySize += 1 + file.entryName.size() + 8;
    uint64_t totalSize = directoryPosition + directorySize;

    // Offsets are signed 32-bit numbers from the chosen origin.
    auto offsetOf = [&](uint64_t position) {
        return int64_t(position) - (offsetsFromEnd ? int64_t(totalSize) : 0);
    };
    int64_t lowest = offsetOf(hostSize), highest = offsetOf(directoryPosition);
    if (lowest < INT32_MIN || highest > INT32_MAX) {
        error = "the archive is too large for 32-bit offsets";
        return false;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        tail.push_back(static_cast<unsigned char>(files[i].entryName.size()));
        tail.insert(tail.end(), files[i].entryName.begin(), files[i].entryName.end());
        putUint32(tail, uint32_t(int32_t(offsetOf(dataPositions[i]))));
        putUint32(tail, uint32_t(storedSizes[i]));
    }
    tail.push_back(0);
    tail.insert(tail.end(), {'s', 'b', 'X'});
    putUint32(tail, uint32_t(int32_t(offsetOf(directoryPosition))));
    return true;
}

bool appendArchive(const std::string& hostPath, const std::vector<PackedFile>& files, bool offsetsFromEnd,
                   std::string& error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> host(fopen(hostPath.c_str(), "r+b"), fclose);
    if (!host || fseeko(host.get(), 0, SEEK_END) != 0) {
        error = "cannot open " + hostPath;
        return false;
    }
    off_t hostSize = ftello(host.get());
    std::vector<unsigned char> tail;
    if (hostSize < 0 || !buildArchiveTail(uint64_t(hostSize), files, offsetsFromEnd, tail, error))
        return false;
    if (fwrite(tail.data(), 1, tail.size(), host.get()) != tail.size() || fflush(host.get()) != 0) {
        error = "cannot write " + hostPath;
        return false;
    }
    return true;
}

} // namespace rt
