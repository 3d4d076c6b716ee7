// Mesh loading speed: a binary mesh of 100 000 triangles and a text mesh of the same size, each set
// against reading the file's bytes alone.
//   build/bench/mesh_bench --benchmark_time_unit=ms
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/mesh_file.h"

using namespace rt;

namespace {

constexpr int gridSide = 224; // 223 x 223 quads of two triangles (99 458), and 542 more:
constexpr int extraTriangles = 100000 - 2 * (gridSide - 1) * (gridSide - 1);

// A wavy sheet with normals, texture coordinates and a few colours, written as a 1.1 text mesh of
// separate triangles (every face has three corners).
std::string makeTextMesh()
{
    std::string text = "DDDA 1.1\n";
    const int vertices = gridSide * gridSide;
    text += std::to_string(vertices) + "\n";
    char line[160];
    for (int y = 0; y < gridSide; ++y)
        for (int x = 0; x < gridSide; ++x) {
            snprintf(line, sizeof line, "%.4f %.4f\n", x / double(gridSide - 1), y / double(gridSide - 1));
            text += line;
        }
    std::string faces;
    int faceCount = 0;
    auto corner = [&](int index) {
        snprintf(line, sizeof line, " %d %d", index, index);
        faces += line;
    };
    for (int y = 0; y + 1 < gridSide; ++y)
        for (int x = 0; x + 1 < gridSide; ++x) {
            int a = y * gridSide + x, b = a + 1, c = a + gridSide, d = c + 1;
            const char* colour = (x / 16 + y / 16) % 2 ? "200 40 40" : "40 40 200";
            faces += colour;
            faces += " 3";
            corner(a), corner(b), corner(d);
            faces += "\n";
            faces += colour;
            faces += " 3";
            corner(a), corner(d), corner(c);
            faces += "\n";
            faceCount += 2;
        }
    for (int i = 0; i < extraTriangles; ++i) {
        faces += "255 255 255 3";
        corner(i), corner(i + 1), corner(i + gridSide);
        faces += "\n";
        ++faceCount;
    }
    text += std::to_string(faceCount) + "\n" + faces + "1\n" + std::to_string(vertices) + "\n";
    for (int y = 0; y < gridSide; ++y)
        for (int x = 0; x < gridSide; ++x) {
            double px = x * 0.1, pz = y * 0.1, py = std::sin(px) * std::cos(pz);
            double nx = -std::cos(px) * std::cos(pz), nz = std::sin(px) * std::sin(pz);
            snprintf(line, sizeof line, "%.5f %.5f %.5f %.5f 1 %.5f\n", px, py, pz, nx, nz);
            text += line;
        }
    return text;
}

struct Files
{
    std::string textPath, binaryPath;
    Files()
    {
        std::string folder =
            std::filesystem::temp_directory_path().string() + "/mesh_bench_" + std::to_string(getpid());
        std::filesystem::create_directories(folder);
        textPath = folder + "/sheet.txt";
        binaryPath = folder + "/sheet.ddd";
        std::ofstream(textPath, std::ios::binary) << makeTextMesh();
        MeshObject mesh;
        if (!loadMesh(mesh, textPath.c_str(), false) || !saveMesh(mesh, binaryPath.c_str())) {
            fprintf(stderr, "mesh_bench: could not make the test meshes in %s\n", folder.c_str());
            exit(1);
        }
    }
    ~Files() { std::filesystem::remove_all(std::filesystem::path(textPath).parent_path()); }
};

Files& files()
{
    static Files instance;
    return instance;
}

void readBytes(benchmark::State& state, const std::string& path)
{
    // The same reads the loader makes: one buffer of the file's size, filled by read().
    for (auto _ : state) {
        int file = open(path.c_str(), O_RDONLY);
        std::vector<char> bytes(std::filesystem::file_size(path));
        size_t done = 0;
        ssize_t got;
        while (done < bytes.size() && (got = read(file, bytes.data() + done, bytes.size() - done)) > 0)
            done += size_t(got);
        close(file);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
}

void loadAndCount(benchmark::State& state, const std::string& path, bool prepare)
{
    size_t triangles = 0;
    for (auto _ : state) {
        MeshObjectX mesh;
        if (!loadMesh(mesh, path.c_str(), false)) state.SkipWithError("load failed");
        if (prepare) {
            mesh.prepare();
            computeBoundingSpheres(mesh);
            triangles = mesh.frames[0].triangles.size() / 3;
        }
        benchmark::DoNotOptimize(mesh.frames.data());
    }
    if (prepare) state.counters["triangles"] = double(triangles);
}

void BM_ReadBinaryFileBytes(benchmark::State& state)
{
    readBytes(state, files().binaryPath);
}
void BM_LoadBinaryMesh(benchmark::State& state)
{
    loadAndCount(state, files().binaryPath, false);
}
void BM_LoadBinaryMeshAndPrepare(benchmark::State& state)
{
    loadAndCount(state, files().binaryPath, true);
}
void BM_ReadTextFileBytes(benchmark::State& state)
{
    readBytes(state, files().textPath);
}
void BM_LoadAndPackTextMesh(benchmark::State& state)
{
    loadAndCount(state, files().textPath, false);
}

BENCHMARK(BM_ReadBinaryFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinaryMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinaryMeshAndPrepare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTextFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndPackTextMesh)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
