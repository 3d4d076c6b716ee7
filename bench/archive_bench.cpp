// Data file resolver: lookups per second (a file on disk, an entry in the appended archive, a name
// found nowhere) and the cost of unpacking an entry against reading the same bytes from a plain file.
//
//   build/bench/archive_bench
//
// Everything lives in a fresh folder under the system temp folder, which the page cache holds, so
// the figures show the resolver's own work rather than the disk.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_packer.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/runtime.h"

using namespace rt;

namespace fs = std::filesystem;

namespace {

// Image-like bytes: smooth runs with some noise, about as compressible as the game's pictures.
std::vector<unsigned char> pictureBytes(size_t size, unsigned seed)
{
    std::vector<unsigned char> bytes(size);
    unsigned noise = seed;
    for (size_t i = 0; i < size; ++i) {
        noise = noise * 1103515245u + 12345u;
        bytes[i] =
            static_cast<unsigned char>((i / 64) % 200 + ((noise >> 16) % 8 == 0 ? (noise >> 24) % 16 : 0));
    }
    return bytes;
}

void writeFile(const fs::path& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A host file with the game's 40 card pictures (64 × 60 at 24 bits) and one 1 MiB entry appended,
// and the same pictures on disk.
struct Fixture
{
    fs::path folder;
    std::string host;
    std::vector<unsigned char> big = pictureBytes(1 << 20, 99);

    Fixture()
    {
        char pattern[] = "/tmp/rt-archive-bench-XXXXXX";
        folder = mkdtemp(pattern);
        fs::create_directory(folder / "temp");
        setenv("TMPDIR", (folder / "temp").c_str(), 1);
        fs::create_directory(folder / "images");
        std::vector<PackedFile> files;
        for (int i = 0; i < 40; ++i) {
            std::string name = "pic" + std::to_string(100 + i).substr(1) + ".bmp";
            files.push_back({name, pictureBytes(64 * 60 * 3 + 54, unsigned(i))});
            writeFile(folder / "images" / name, files.back().bytes);
        }
        files.push_back({"big.bin", big});
        writeFile(folder / "big.bin", big);
        host = (folder / "host.bin").string();
        writeFile(host, std::vector<unsigned char>(200000, 0x90)); // the program's own bytes
        std::string error;
        if (!appendArchive(host, files, true, error)) abort();
        engine.dataResolver = createArchiveResolver();
        engine.mediaResolver = createArchiveResolver();
        rtSetArchiveFiles(host.c_str(), host.c_str());
    }
    ~Fixture()
    {
        releaseArchiveResolver(engine.dataResolver);
        releaseArchiveResolver(engine.mediaResolver);
        fs::remove_all(folder);
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void resolveLoop(benchmark::State& state, const std::string& name)
{
    char output[resolvedPathCapacity];
    for (auto _ : state) {
        bool found = rtResolveDataFile(engine.dataResolver, name.c_str(), output);
        benchmark::DoNotOptimize(found);
    }
}

void LookupOnDisk(benchmark::State& state)
{
    resolveLoop(state, (fixture().folder / "images/pic39.bmp").string());
}

// The last picture in the directory, so the whole directory is scanned, then unpacked and written.
void LookupInArchive(benchmark::State& state)
{
    fixture();
    resolveLoop(state, "images/pic39.bmp");
}

void LookupMiss(benchmark::State& state)
{
    fixture();
    resolveLoop(state, "sounds/missing.wav");
}

std::vector<unsigned char> readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<unsigned char> bytes(size_t(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

// 1 MiB: unpacking in memory, a plain read of the same bytes, and both through the resolver.
void UnpackEntryInMemory(benchmark::State& state)
{
    std::vector<unsigned char> file = readWhole(fixture().host);
    ArchiveEntry entry;
    if (findArchiveEntry(file.data(), file.size(), "big.bin", entry) != ArchiveLookup::Found) abort();
    for (auto _ : state) {
        UnpackedBytes bytes;
        size_t length = 0;
        unpackArchiveEntry(file.data(), file.size(), entry, bytes, length);
        benchmark::DoNotOptimize(bytes.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fixture().big.size()));
}

void ReadPlainFile(benchmark::State& state)
{
    std::string path = (fixture().folder / "big.bin").string();
    for (auto _ : state)
        benchmark::DoNotOptimize(readWhole(path).data());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fixture().big.size()));
}

void ResolveAndReadFromArchive(benchmark::State& state)
{
    fixture();
    char output[resolvedPathCapacity];
    for (auto _ : state) {
        rtResolveDataFile(engine.dataResolver, "data/big.bin", output);
        benchmark::DoNotOptimize(readWhole(output).data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fixture().big.size()));
}

void ResolveAndReadFromDisk(benchmark::State& state)
{
    std::string name = (fixture().folder / "big.bin").string();
    char output[resolvedPathCapacity];
    for (auto _ : state) {
        rtResolveDataFile(engine.dataResolver, name.c_str(), output);
        benchmark::DoNotOptimize(readWhole(output).data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fixture().big.size()));
}

} // namespace

BENCHMARK(LookupOnDisk);
BENCHMARK(LookupInArchive);
BENCHMARK(LookupMiss);
BENCHMARK(UnpackEntryInMemory);
BENCHMARK(ReadPlainFile);
BENCHMARK(ResolveAndReadFromArchive);
BENCHMARK(ResolveAndReadFromDisk);

BENCHMARK_MAIN();
