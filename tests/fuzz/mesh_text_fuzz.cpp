// Fuzzes the text mesh reader and packing. Inputs mostly start with "DDDA" so that the mutations reach
// the counts, faces and frames; the first byte chooses raw bytes instead. Every mesh that loads is
// assembled into triangles and must save to a binary mesh that loads back to the same triangles.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/mesh_file.h"

using namespace rt;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("TMPDIR", "/tmp/mesh_text_fuzz", 0);
    system("mkdir -p \"$TMPDIR\"");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    std::string text = (data[0] & 1) ? "" : "DDDA ";
    text.append(reinterpret_cast<const char*>(data + 1), size - 1);

    MeshObjectX mesh;
    if (!loadMeshFromMemory(mesh, reinterpret_cast<const uint8_t*>(text.data()), text.size(), "fuzz", false))
        return 0;
    if (mesh.palette.size() > maxPaletteEntries) abort();
    mesh.prepare();
    computeBoundingSpheres(mesh);

    std::vector<uint8_t> saved = meshFileBytes(mesh);
    MeshObjectX binary;
    if (!loadMeshFromMemory(binary, saved.data(), saved.size(), "fuzz", false)) abort();
    binary.prepare();
    if (binary.frames.size() != mesh.frames.size()) abort();
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        const std::vector<MeshVertex>& a = mesh.frames[f].triangles;
        const std::vector<MeshVertex>& b = binary.frames[f].triangles;
        if (a.size() != b.size()) abort();
        for (size_t i = 0; i < a.size(); ++i)
            if (memcmp(&a[i], &b[i], sizeof a[i]) != 0) abort();
    }
    return 0;
}
