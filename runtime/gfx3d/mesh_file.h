// Mesh files: the binary format (".ddd", version 1.02) and the text format that opens with "DDDA".
//
// Binary, little-endian: int32 magic 0x00C6B317, float64 version 1.02, int32 frame count, int32 palette
// count, int32 texture coordinate count, the palette (uint32 each), the texture coordinates (u, v
// float32 pairs), then per frame: int32 record count, 3 float32 offset, 3 float32 scale and 5-byte
// records (qx, qy, qz, normal index, palette index).
//
// Text: tokens separated by blanks, tabs and line ends, "#" comments to the end of the line:
//   DDDA version(<= 1.1)
//   texCoordCount {u v}
//   faceCount {red green blue cornerCount {vertexIndex texCoordIndex}}
//   frameCount {vertexCount {x y z [nx ny nz when version is 1.1]}}
// Every face becomes a fan; each frame is packed into records as the binary form holds them.
//
// Failures are logged to the error log: "Wrong .ddd version." for a binary file of another version,
// "# read error" and then the path for a short or malformed file, "# malloc error" and the path when
// memory runs out. After a failure the mesh is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/gfx3d/mesh.h"

namespace rt {

constexpr uint32_t meshFileMagic = 0x00C6B317u;
constexpr double meshFileVersion = 1.02;
// Text meshes may not ask for more records than this over all their frames (every frame repeats the
// faces, so a small file could otherwise ask for gigabytes).
constexpr size_t maxTextMeshRecords = size_t(1) << 22;

// Reads a binary or text mesh file (path already resolved) into the mesh. decodeNow also fills every
// frame's decoded vertices of a binary mesh. A missing file gives false without a log line.
bool loadMesh(MeshObject& mesh, const char* path, bool decodeNow);
// The same for file contents already in memory; path is only used in log lines.
bool loadMeshFromMemory(MeshObject& mesh, const uint8_t* data, size_t size, const char* path, bool decodeNow);

// Writes the mesh in the binary format, replacing any file of that name. True when the whole file was
// written.
bool saveMesh(const MeshObject& mesh, const char* path);
// The bytes saveMesh writes.
std::vector<uint8_t> meshFileBytes(const MeshObject& mesh);

} // namespace rt
