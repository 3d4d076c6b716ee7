// What the binary and text mesh readers share inside the mesh loader.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/gfx3d/mesh.h"

namespace rt {

enum class MeshReadResult
{
    ok,
    readError,
    wrongVersion,
    outOfMemory
};

// Reads the text form from its first byte (the "DDDA" token included) into an empty mesh.
MeshReadResult readTextMesh(MeshObject& mesh, const uint8_t* data, size_t size);

} // namespace rt
