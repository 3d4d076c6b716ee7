// Fuzzes the binary mesh reader. Inputs are mostly given a valid magic and version so that the
// mutations reach the counts, frames and records; the first byte chooses raw bytes instead. Every mesh
// that loads is assembled into triangles and must save and load back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/mesh_file.h"

using namespace rt;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Failed loads write to the error log: keep it out of the shared temp folder.
    setenv("TMPDIR", "/tmp/mesh_binary_fuzz", 0);
    system("mkdir -p \"$TMPDIR\"");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    std::vector<uint8_t> bytes;
    if (data[0] & 1) {
        bytes.assign(data + 1, data + size);
    } else {
        const uint8_t header[12] = {0x17, 0xB3, 0xC6, 0x00, 0x52, 0xB8, 0x1E, 0x85, 0xEB, 0x51, 0xF0, 0x3F};
        bytes.assign(header, header + sizeof header);
        bytes.insert(bytes.end(), data + 1, data + size);
    }

    MeshObjectX mesh;
    if (!loadMeshFromMemory(mesh, bytes.data(), bytes.size(), "fuzz", (data[0] & 2) != 0)) return 0;
    mesh.prepare();
    computeBoundingSpheres(mesh);

    std::vector<uint8_t> saved = meshFileBytes(mesh);
    MeshObjectX again;
    if (!loadMeshFromMemory(again, saved.data(), saved.size(), "fuzz", false)) abort();
    if (meshFileBytes(again) != saved) abort();
    // A binary input was read exactly: it starts with what is written back (trailing bytes are ignored).
    if (mesh.loaded && (saved.size() > bytes.size() || memcmp(saved.data(), bytes.data(), saved.size()) != 0))
        abort();
    return 0;
}
