// The data file resolver against archives made by the packer and by hand, good and damaged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <lzo/lzo1x.h>
#include <string>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_packer.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/runtime.h"

using namespace rt;

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void putUint32(Bytes& out, uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    out.insert(out.end(), bytes, bytes + 4);
}

// Size prefix and LZO1X-1 stream of the text, padded with zero bytes to at least minimumSize.
Bytes storedEntry(const std::string& text, size_t minimumSize = 0)
{
    lzo_init();
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    Bytes packed(text.size() + text.size() / 16 + 64 + 3);
    lzo_uint packedSize = 0;
    lzo1x_1_compress(reinterpret_cast<const unsigned char*>(text.data()), text.size(), packed.data(),
                     &packedSize, work.data());
    Bytes entry;
    putUint32(entry, uint32_t(text.size()));
    entry.insert(entry.end(), packed.begin(), packed.begin() + packedSize);
    if (entry.size() < minimumSize) entry.resize(minimumSize, 0);
    return entry;
}

void addDirectoryEntry(Bytes& out, const std::string& name, int32_t dataOffset, uint32_t storedSize)
{
    out.push_back(static_cast<unsigned char>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    putUint32(out, uint32_t(dataOffset));
    putUint32(out, storedSize);
}

void addTrailer(Bytes& out, int32_t directoryOffset)
{
    out.insert(out.end(), {'s', 'b', 'X'});
    putUint32(out, uint32_t(directoryOffset));
}

class ArchiveResolverTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        const char* oldTemp = getenv("TMPDIR");
        savedTemp = oldTemp ? oldTemp : "";
        hadTemp = oldTemp != nullptr;
        std::string pattern = (fs::temp_directory_path() / "resolverXXXXXX").string();
        folder = mkdtemp(pattern.data());
        temp = folder / "temp";
        fs::create_directory(temp);
        setenv("TMPDIR", temp.c_str(), 1);
        engine.dataResolver = createArchiveResolver();
        engine.mediaResolver = createArchiveResolver();
    }
    void TearDown() override
    {
        releaseArchiveResolver(engine.dataResolver);
        releaseArchiveResolver(engine.mediaResolver);
        engine.dataResolver = engine.mediaResolver = nullptr;
        if (hadTemp)
            setenv("TMPDIR", savedTemp.c_str(), 1);
        else
            unsetenv("TMPDIR");
        fs::remove_all(folder);
    }

    // A host file with a few bytes of its own and an archive of the given files appended.
    std::string packHost(const std::vector<PackedFile>& files, bool fromEnd,
                         const std::string& name = "host.bin")
    {
        std::string host = (folder / name).string();
        writeFile(host, bytesOf("host program bytes"));
        std::string error;
        EXPECT_TRUE(appendArchive(host, files, fromEnd, error)) << error;
        return host;
    }
    std::string hostOf(const Bytes& bytes)
    {
        std::string host = (folder / "crafted.bin").string();
        writeFile(host, bytes);
        return host;
    }
    void useArchive(const std::string& host) { rtSetArchiveFiles(host.c_str(), host.c_str()); }

    // Resolves through the data resolver; returns the output path ("" on failure).
    std::string resolve(const std::string& name, ArchiveResolver* resolver = nullptr)
    {
        char output[resolvedPathCapacity] = "unchanged";
        lastResult = rtResolveDataFile(resolver ? resolver : engine.dataResolver, name.c_str(), output);
        return output;
    }
    std::vector<std::string> tempFiles() const
    {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(temp))
            names.push_back(item.path().filename().string());
        return names;
    }

    fs::path folder, temp;
    std::string savedTemp;
    bool hadTemp = false;
    bool lastResult = false;
};

const std::vector<PackedFile> twoFiles = {{"a.bmp", bytesOf("AAAA contents of a")},
                                          {"b.bmp", bytesOf("BBBB contents of b")}};

} // namespace

TEST_F(ArchiveResolverTest, FileOnDiskWinsOverArchiveAndEmptyNameFails)
{
    useArchive(packHost({{"disk.txt", bytesOf("from the archive")}}, false));
    std::string onDisk = (folder / "disk.txt").string();
    writeFile(onDisk, bytesOf("from disk"));
    EXPECT_EQ(resolve(onDisk), onDisk);
    EXPECT_TRUE(lastResult);
    EXPECT_TRUE(tempFiles().empty());

    EXPECT_EQ(resolve(""), "");
    EXPECT_FALSE(lastResult);

    // Without a resolver (no engine running) only the disk answers.
    char output[resolvedPathCapacity] = "unchanged";
    EXPECT_TRUE(rtResolveDataFile(nullptr, onDisk.c_str(), output));
    EXPECT_EQ(output, onDisk);
    EXPECT_FALSE(rtResolveDataFile(nullptr, "disk.txt", output));

    // Backslashes of game code are folder separators; a folder is not a file.
    std::string windowsStyle = (folder).string() + "\\disk.txt";
    EXPECT_EQ(resolve(windowsStyle), onDisk);
    EXPECT_TRUE(lastResult);
    fs::create_directory(folder / "gfx");
    EXPECT_EQ(resolve((folder / "gfx").string()), "");
    EXPECT_FALSE(lastResult);
}

TEST_F(ArchiveResolverTest, SameBufferForNameAndOutput)
{
    useArchive(packHost(twoFiles, false));
    char buffer[resolvedPathCapacity] = "a.bmp";
    ASSERT_TRUE(rtResolveDataFile(engine.dataResolver, buffer, buffer));
    EXPECT_EQ(readFile(buffer), bytesOf("AAAA contents of a"));
}

TEST_F(ArchiveResolverTest, EntryMatchesTheEndOfTheNameIgnoringCase)
{
    useArchive(
        packHost({{"card1.bmp", bytesOf("card one")}, {"gfx\\card2.bmp", bytesOf("card two")}}, false));
    std::string path = resolve("GFX\\CARD1.BMP");
    ASSERT_TRUE(lastResult);
    EXPECT_EQ(fs::path(path).parent_path(), temp);
    EXPECT_EQ(fs::path(path).filename().string().substr(6), "card1.bmp"); // the entry's name, not the request
    EXPECT_EQ(readFile(path), bytesOf("card one"));

    EXPECT_EQ(resolve("card2.bmp"), "");
    EXPECT_FALSE(lastResult);
    // Either separator finds an entry packed with the other.
    EXPECT_EQ(fs::path(resolve("data/gfx/card2.bmp")).filename().string().substr(0, 4), "~sbx");
    EXPECT_TRUE(lastResult);
}

TEST_F(ArchiveResolverTest, FirstMatchingEntryWins)
{
    useArchive(packHost({{"a.bmp", bytesOf("first")}, {"ba.bmp", bytesOf("second")}}, false));
    EXPECT_EQ(readFile(resolve("ba.bmp")), bytesOf("first"));
}

TEST_F(ArchiveResolverTest, TempFileLivesUntilTheNextLookupOfItsOwnResolver)
{
    useArchive(packHost(twoFiles, true));
    std::string a = resolve("a.bmp");
    std::string b = resolve("b.bmp");
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(b));

    // The media resolver's file survives data lookups, even of the same entry (the same temp path).
    std::string music = resolve("a.bmp", engine.mediaResolver);
    EXPECT_EQ(resolve("a.bmp"), music);
    EXPECT_FALSE(fs::exists(b));
    resolve("missing.bmp"); // a miss still ends the data resolver's hold on its file
    EXPECT_EQ(readFile(music), bytesOf("AAAA contents of a"));
    resolve("missing.bmp", engine.mediaResolver);
    EXPECT_FALSE(fs::exists(music));

    resolve("a.bmp");
    useArchive(""); // a new archive setting deletes both pending files
    EXPECT_TRUE(tempFiles().empty());

    useArchive(packHost(twoFiles, false, "again.bin"));
    resolve("a.bmp");
    resolve("b.bmp", engine.mediaResolver);
    releaseArchiveResolver(engine.dataResolver);
    releaseArchiveResolver(engine.mediaResolver);
    engine.dataResolver = engine.mediaResolver = nullptr;
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(ArchiveResolverTest, TrailerOffsetsCountFromEitherEnd)
{
    // The packer's two conventions.
    for (bool fromEnd : {false, true}) {
        std::string host = packHost(twoFiles, fromEnd, fromEnd ? "end.bin" : "start.bin");
        Bytes bytes = readFile(host);
        int32_t offset;
        memcpy(&offset, bytes.data() + bytes.size() - 4, 4);
        EXPECT_EQ(offset < 0, fromEnd);
        useArchive(host);
        EXPECT_EQ(readFile(resolve("b.bmp")), bytesOf("BBBB contents of b")) << fromEnd;
    }

    // By hand: a directory at byte 4096 ahead of its data, whose offsets count from the start.
    Bytes forward(4096, 'h');
    Bytes entry = storedEntry("forward data", 27);
    addDirectoryEntry(forward, "card1.bmp", 1000 + 4096, uint32_t(entry.size()));
    forward.push_back(0);
    while (forward.size() < 5096)
        forward.push_back('-');
    forward.insert(forward.end(), entry.begin(), entry.end());
    addTrailer(forward, 4096);
    useArchive(hostOf(forward));
    std::string path = resolve("card1.bmp");
    EXPECT_EQ(readFile(path), bytesOf("forward data"));
    // The temp name's letters: data offset 5096 % 26 = 0 → A, stored size 27 % 26 = 1 → B.
    EXPECT_EQ(fs::path(path).filename(), "~sbxABcard1.bmp");

    // A directory 100 bytes before the end, with data offsets counted back from the end as well.
    Bytes backward(300, 'h');
    Bytes data = storedEntry("backward data");
    backward.insert(backward.end(), data.begin(), data.end());
    size_t tailStart = backward.size();
    size_t total = tailStart + 100;
    addDirectoryEntry(backward, "x.dat", int32_t(300 - int64_t(total)), uint32_t(data.size()));
    backward.push_back(0);
    backward.resize(total - 7, 0);
    addTrailer(backward, -100);
    useArchive(hostOf(backward));
    EXPECT_EQ(readFile(resolve("x.dat")), bytesOf("backward data"));
}

TEST_F(ArchiveResolverTest, MissingTrailerDisablesUntilArchivesAreSetAgain)
{
    std::string host = (folder / "plain.bin").string();
    writeFile(host, bytesOf("a host without any archive"));
    useArchive(host);
    resolve("a.bmp");
    EXPECT_FALSE(lastResult);
    EXPECT_FALSE(engine.dataResolver->enabled);
    std::string error;
    ASSERT_TRUE(appendArchive(host, twoFiles, false, error));
    EXPECT_EQ(resolve("a.bmp"), "unchanged") << "a disabled resolver leaves the output alone";
    EXPECT_FALSE(lastResult);
    EXPECT_EQ(resolve("a.bmp", engine.mediaResolver).substr(0, temp.string().size()), temp.string())
        << "the other resolver is not disabled";
    useArchive(host);
    EXPECT_EQ(readFile(resolve("a.bmp")), bytesOf("AAAA contents of a"));

    // A missing archive and an empty archive path disable too.
    useArchive((folder / "nowhere.bin").string());
    resolve("a.bmp");
    EXPECT_FALSE(engine.dataResolver->enabled);
    useArchive("");
    resolve("a.bmp");
    EXPECT_FALSE(engine.dataResolver->enabled);

    // A file too short for a trailer leaves the resolver enabled: once the archive is there, it is used.
    std::string shortHost = (folder / "short.bin").string();
    writeFile(shortHost, bytesOf("ab"));
    useArchive(shortHost);
    EXPECT_EQ(resolve("a.bmp"), "");
    EXPECT_TRUE(engine.dataResolver->enabled);
    ASSERT_TRUE(appendArchive(shortHost, twoFiles, true, error));
    EXPECT_EQ(readFile(resolve("a.bmp")), bytesOf("AAAA contents of a"));
}

// Damaged archives: each lookup fails or yields a short file, nothing outside the file is read.
TEST_F(ArchiveResolverTest, DamagedDirectoriesAndEntriesFailCleanly)
{
    Bytes good = storedEntry("good bytes");
    auto archiveWith = [&](const std::string& name, int32_t dataOffset, uint32_t storedSize) {
        Bytes file = good;
        file.insert(file.begin(), 16, 'h');
        int32_t directory = int32_t(file.size());
        addDirectoryEntry(file, name, dataOffset, storedSize);
        file.push_back(0);
        addTrailer(file, directory);
        return file;
    };
    struct Case
    {
        const char* what;
        Bytes file;
    };
    std::vector<Case> cases = {
        {"data past the end", archiveWith("e.bin", 16, 100000)},
        {"data before the start", archiveWith("e.bin", -8, uint32_t(good.size()))},
        {"too short for the size prefix", archiveWith("e.bin", 16, 3)},
    };
    Bytes huge(16, 'h');
    putUint32(huge, maxUnpackedSize + 1u);
    huge.insert(huge.end(), good.begin() + 4, good.end());
    addDirectoryEntry(huge, "e.bin", 16, uint32_t(good.size()));
    huge.push_back(0);
    addTrailer(huge, 16 + int32_t(good.size()));
    cases.push_back({"unpacked size above the limit", huge});
    Bytes beyond(16, 'h');
    addTrailer(beyond, 1 << 30);
    cases.push_back({"directory past the end", beyond});
    Bytes before(16, 'h');
    addTrailer(before, -(1 << 30));
    cases.push_back({"directory before the start", before});
    Bytes cut(16, 'h');
    cut.push_back(200); // a name of 200 bytes that the file does not hold
    cut.insert(cut.end(), {'e', '.', 'b', 'i', 'n'});
    addTrailer(cut, 16);
    cases.push_back({"name running past the end", cut});

    for (const Case& c : cases) {
        useArchive(hostOf(c.file));
        EXPECT_EQ(resolve("e.bin"), "") << c.what;
        EXPECT_FALSE(lastResult) << c.what;
        EXPECT_TRUE(tempFiles().empty()) << c.what;
    }

    // Damaged compressed data: the bytes that came out before the damage make a short file.
    std::string text(4000, 'z');
    for (size_t i = 0; i < text.size(); i += 7)
        text[i] = char('a' + i % 19);
    Bytes entry = storedEntry(text);
    Bytes damaged(entry.begin(), entry.begin() + long(entry.size() / 2));
    Bytes file = damaged;
    addDirectoryEntry(file, "e.bin", 0, uint32_t(damaged.size()));
    file.push_back(0);
    addTrailer(file, int32_t(damaged.size()));
    useArchive(hostOf(file));
    Bytes produced = readFile(resolve("e.bin"));
    EXPECT_TRUE(lastResult);
    EXPECT_LT(produced.size(), text.size());
    EXPECT_TRUE(std::equal(produced.begin(), produced.end(), text.begin()));
}

TEST_F(ArchiveResolverTest, EntryNamesNeverReachOutOfTheTempFolder)
{
    std::vector<PackedFile> files = {{"../escaped.txt", bytesOf("x")},
                                     {"sub/escaped2.txt", bytesOf("x")},
                                     {"gfx\\card1.bmp", bytesOf("x")},
                                     {"card..bmp", bytesOf("dots inside one name are harmless")}};
    useArchive(packHost(files, false));
    fs::create_directory(temp / "sub");
    for (const char* name : {"../escaped.txt", "sub/escaped2.txt", "gfx\\card1.bmp"}) {
        std::string path = resolve(name);
        EXPECT_TRUE(lastResult) << name;
        EXPECT_FALSE(fs::exists(path)) << name;
    }
    EXPECT_TRUE(tempFiles().size() == 1 && tempFiles()[0] == "sub");
    EXPECT_TRUE(fs::is_empty(temp / "sub"));
    EXPECT_FALSE(fs::exists(folder / "escaped.txt"));
    EXPECT_EQ(readFile(resolve("card..bmp")), bytesOf("dots inside one name are harmless"));

    // An entry whose name starts with a zero byte is passed over.
    Bytes data = storedEntry("second");
    Bytes file = data;
    addDirectoryEntry(file, std::string("\0x.bin", 6), 0, uint32_t(data.size()));
    addDirectoryEntry(file, "x.bin", 0, uint32_t(data.size()));
    file.push_back(0);
    addTrailer(file, int32_t(data.size()));
    useArchive(hostOf(file));
    EXPECT_EQ(fs::path(resolve("x.bin")).filename().string().substr(6), "x.bin");
}

TEST(ArchiveReader, RefusesWhatTheFileCannotHold)
{
    Bytes file = {'s', 'b', 'X'};
    ArchiveEntry entry;
    EXPECT_EQ(findArchiveEntry(file.data(), file.size(), "a", entry), ArchiveLookup::ShortTrailer);
    file = {0, 0, 0, 0, 'S', 'B', 'X', 0, 0, 0, 0};
    EXPECT_EQ(findArchiveEntry(file.data(), file.size(), "a", entry), ArchiveLookup::NoTag);

    // A size prefix claiming 1 GiB behind 8 bytes of data: the buffer is bounded by what the data can
    // produce, and the entry comes out short instead of failing for want of memory.
    Bytes stored;
    putUint32(stored, maxUnpackedSize);
    stored.insert(stored.end(), {0x11, 0, 0, 0, 0, 0, 0, 0});
    entry.dataStart = 0;
    entry.storedSize = uint32_t(stored.size());
    UnpackedBytes bytes;
    size_t length = 99;
    EXPECT_TRUE(unpackArchiveEntry(stored.data(), stored.size(), entry, bytes, length));
    EXPECT_EQ(length, 0u);
}

// The unpacking buffer is bounded by what the packed bytes can produce; the most compressible
// data must still come out whole.
TEST_F(ArchiveResolverTest, HighlyCompressedEntryComesOutWhole)
{
    Bytes zeros(4 << 20, 0);
    useArchive(packHost({{"zeros.raw", zeros}}, false));
    EXPECT_EQ(readFile(resolve("zeros.raw")), zeros);
}
