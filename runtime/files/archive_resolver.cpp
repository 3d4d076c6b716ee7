// The data file resolver: disk first, then the archive appended to a host file. The archive is
// untrusted input: every offset, size and name length is checked against the file before use, and
// the only file written is one temp file directly inside the temp folder.
#include "runtime/files/archive_resolver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <lzo/lzo1x.h>
#include <new>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/files/host_path.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// ---- Reading the archive

static uint32_t readUint32(const unsigned char* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

static char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Folder separators of either kind compare equal, so an entry packed as "gfx/a.bmp" is found by a
// game asking for "GFX\A.BMP".
static bool sameNameByte(char a, char b)
{
    if (a == '\\') a = '/';
    if (b == '\\') b = '/';
    return lowerAscii(a) == lowerAscii(b);
}

static bool endsWithEntryName(const char* name, size_t nameLength, const char* entryName)
{
    size_t entryLength = strlen(entryName);
    if (entryLength > nameLength) return false;
    const char* tail = name + (nameLength - entryLength);
    for (size_t i = 0; i < entryLength; ++i)
        if (!sameNameByte(tail[i], entryName[i])) return false;
    return true;
}

ArchiveLookup findArchiveEntry(const unsigned char* file, size_t fileSize, const char* name,
                               ArchiveEntry& entry)
{
    if (fileSize < 7) return ArchiveLookup::ShortTrailer;
    const unsigned char* trailer = file + fileSize - 7;
    if (trailer[0] != 's' || trailer[1] != 'b' || trailer[2] != 'X') return ArchiveLookup::NoTag;
    int32_t directoryOffset = int32_t(readUint32(trailer + 3));
    bool fromEnd = directoryOffset < 0;
    int64_t origin = fromEnd ? int64_t(fileSize) : 0;

    // A directory that starts outside the file reads as an empty one.
    int64_t position = origin + directoryOffset;
    if (position < 0 || position > int64_t(fileSize)) return ArchiveLookup::NotFound;

    size_t nameLength = strlen(name);
    size_t at = size_t(position);
    // Each entry needs its length byte, its name and 8 bytes of offset and size; the directory
    // ends at a zero length or where the file cannot hold the whole entry.
    while (at < fileSize) {
        size_t length = file[at];
        if (length == 0 || fileSize - at - 1 < length + 8) break;
        const unsigned char* record = file + at + 1;
        at += 1 + length + 8;

        ArchiveEntry candidate;
        memcpy(candidate.name, record, length);
        candidate.name[length] = '\0'; // a name holding a zero byte ends there
        if (candidate.name[0] == '\0') continue;
        if (!endsWithEntryName(name, nameLength, candidate.name)) continue;
        candidate.dataOffset = int32_t(readUint32(record + length));
        candidate.storedSize = readUint32(record + length + 4);
        candidate.dataStart = origin + candidate.dataOffset;
        entry = candidate;
        return ArchiveLookup::Found;
    }
    return ArchiveLookup::NotFound;
}

void FreeDeleter::operator()(unsigned char* bytes) const
{
    free(bytes);
}

bool unpackArchiveEntry(const unsigned char* file, size_t fileSize, const ArchiveEntry& entry,
                        UnpackedBytes& bytes, size_t& length)
{
    length = 0;
    if (entry.dataStart < 0 || entry.storedSize < 4) return false;
    if (uint64_t(entry.dataStart) > fileSize || fileSize - uint64_t(entry.dataStart) < entry.storedSize)
        return false;
    const unsigned char* stored = file + entry.dataStart;
    uint32_t unpackedSize = readUint32(stored);
    if (unpackedSize > maxUnpackedSize) return false;

    // LZO1X turns one input byte into at most 255 output bytes, so a size prefix beyond that bound
    // is a lie the buffer need not honour: the decompressor could never fill the excess.
    uint64_t packedSize = entry.storedSize - 4u;
    uint64_t capacity = std::min<uint64_t>(unpackedSize, packedSize * 256 + 64);
    bytes.reset(static_cast<unsigned char*>(malloc(capacity ? capacity : 1)));
    if (!bytes) return false;

    static bool lzoReady = lzo_init() == LZO_E_OK;
    if (!lzoReady) return false;
    lzo_uint produced = lzo_uint(capacity);
    // A damaged stream stops the safe decompressor at the first bad bound; what it wrote up to
    // there is the file, as with any short entry.
    lzo1x_decompress_safe(stored + 4, lzo_uint(packedSize), bytes.get(), &produced, nullptr);
    length = size_t(produced);
    return true;
}

// ---- The host file, mapped for one lookup

namespace {

struct MappedFile
{
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    bool opened = false; // false: missing, unreadable or a folder

    explicit MappedFile(const char* path)
    {
        int file = openExistingFile(path);
        if (file < 0) return;
        opened = true;
        struct stat info;
        if (fstat(file, &info) == 0 && info.st_size > 0) {
            void* mapped = mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, file, 0);
            if (mapped != MAP_FAILED) {
                bytes = static_cast<const unsigned char*>(mapped);
                size = size_t(info.st_size);
            }
        }
        close(file);
    }
    ~MappedFile()
    {
        if (bytes) munmap(const_cast<unsigned char*>(bytes), size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
};

} // namespace

// ---- The resolver

// Every resolver made by createArchiveResolver. Two resolvers that unpack the same entry get the
// same temp path; the file stays until neither of them holds it any more, so a lookup on one never
// deletes the file the other handed out.
static std::vector<ArchiveResolver*> liveResolvers;

static bool heldByAnotherResolver(const ArchiveResolver* resolver, const char* path)
{
    for (const ArchiveResolver* other : liveResolvers)
        if (other != resolver && strcmp(other->pendingTempFile, path) == 0) return true;
    return false;
}

static void deletePendingTempFile(ArchiveResolver* resolver)
{
    if (resolver->pendingTempFile[0] && !heldByAnotherResolver(resolver, resolver->pendingTempFile))
        unlink(resolver->pendingTempFile);
    resolver->pendingTempFile[0] = '\0';
}

static bool copyPath(char* destination, size_t capacity, const std::string& path)
{
    if (path.size() >= capacity) {
        destination[0] = '\0';
        return false;
    }
    memcpy(destination, path.c_str(), path.size() + 1);
    return true;
}

// Writes the bytes to a new file at path. An existing file of that name is replaced by unlinking
// it first, and the new one is created exclusively and without following links, so a name planted
// in a shared temp folder cannot redirect the write. Failures leave nothing behind.
static bool writeNewFile(const std::string& path, const unsigned char* bytes, size_t length)
{
    unlink(path.c_str());
    int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file < 0) return false;
    size_t done = 0;
    while (done < length) {
        ssize_t written = write(file, bytes + done, length - done);
        if (written <= 0) break;
        done += size_t(written);
    }
    close(file);
    if (done == length) return true;
    unlink(path.c_str());
    return false;
}

// Unpacks the entry into its temp file: the temp folder, "~sbx", two letters from the entry's data
// offset and stored size, and the entry's own name. Returns the path, or the empty text when the
// entry cannot be unpacked or its path does not fit a resolved path.
static std::string extractEntry(ArchiveResolver* resolver, const MappedFile& archive,
                                const ArchiveEntry& entry)
{
    UnpackedBytes bytes;
    size_t length = 0;
    if (!unpackArchiveEntry(archive.bytes, archive.size, entry, bytes, length)) return std::string();

    std::string path = tempFolderPath() + "~sbx";
    path += char('A' + uint32_t(entry.dataOffset) % 26);
    path += char('A' + entry.storedSize % 26);
    path += entry.name;
    if (path.size() >= size_t(resolvedPathCapacity)) return std::string();

    // A name with a folder in it would reach out of the temp folder: such an entry is not written,
    // and the loader's open of the path fails as it would for a folder that does not exist.
    bool staysInTempFolder = !strchr(entry.name, '/') && !strchr(entry.name, '\\');
    if (staysInTempFolder && writeNewFile(path, bytes.get(), length))
        copyPath(resolver->pendingTempFile, sizeof resolver->pendingTempFile, path);
    return path;
}

bool rtResolveDataFile(ArchiveResolver* resolver, const char* name, char* outputPath)
{
    // outputPath may be name's own buffer: take the name before anything is written.
    std::string requested = name ? name : "";
    if (resolver) deletePendingTempFile(resolver);
    if (requested.empty()) {
        outputPath[0] = '\0';
        return false;
    }

    int onDisk = openExistingFile(requested.c_str());
    if (onDisk >= 0) {
        close(onDisk);
        return copyPath(outputPath, resolvedPathCapacity, hostPath(requested.c_str()));
    }

    if (!resolver) { // before start-up and after the end routine only the disk is there
        outputPath[0] = '\0';
        return false;
    }
    if (!resolver->enabled) return false;
    if (!resolver->archivePath[0]) {
        resolver->enabled = false;
        return false;
    }
    MappedFile archive(resolver->archivePath);
    if (!archive.opened) {
        resolver->enabled = false;
        return false;
    }

    ArchiveEntry entry;
    switch (findArchiveEntry(archive.bytes, archive.size, requested.c_str(), entry)) {
    case ArchiveLookup::NoTag:
        resolver->enabled = false;
        return false;
    case ArchiveLookup::ShortTrailer:
    case ArchiveLookup::NotFound:
        outputPath[0] = '\0';
        return false;
    case ArchiveLookup::Found:
        break;
    }
    std::string path = extractEntry(resolver, archive, entry);
    if (path.empty()) {
        outputPath[0] = '\0';
        return false;
    }
    return copyPath(outputPath, resolvedPathCapacity, path);
}

// ---- Life cycle and the command

ArchiveResolver* createArchiveResolver()
{
    liveResolvers.push_back(new ArchiveResolver);
    return liveResolvers.back();
}

void releaseArchiveResolver(ArchiveResolver* resolver)
{
    if (!resolver) return;
    deletePendingTempFile(resolver);
    std::erase(liveResolvers, resolver);
    delete resolver;
}

static void setArchiveFile(ArchiveResolver* resolver, const RtString& path)
{
    if (!resolver) return;
    resolver->enabled = true;
    deletePendingTempFile(resolver);
    // A path too long to hold is not cut (that would name another file): the resolver then has no
    // archive, and its first miss disables it.
    std::string hostName = hostPath(path.c_str());
    if (!copyPath(resolver->archivePath, sizeof resolver->archivePath, hostName))
        resolver->archivePath[0] = '\0';
}

} // namespace rt

void rtSetArchiveFiles(const RtString& dataArchive, const RtString& mediaArchive)
{
    setArchiveFile(engine.dataResolver, dataArchive);
    setArchiveFile(engine.mediaResolver, mediaArchive);
}
