// Object files: a single mesh file, or an object description (first bytes ";DDW") that names several
// meshes and the textures they use. The description is INI text:
//   [textures]  count=N, 1=file ... N=file           image files of the object's textures
//   [objects]   count=M, 1=file ... M=file           mesh files
//               1ta=T, 1tb=T ...                     first and second texture of mesh i (1-based)
// File names are relative to the description's folder and go through the data file resolver.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gfx3d/mesh.h"

namespace rt {

// Descriptions may not name more textures or meshes than this.
constexpr int maxDescriptionEntries = 4096;

struct ObjectMeshEntry
{
    std::string file; // as written; empty when the key is missing
    int textureA = 0; // as written (1-based), truncated; 0 when missing
    int textureB = 0;
};

struct ObjectDescription
{
    std::vector<std::string> textureFiles; // as written; empty where a key is missing
    std::vector<ObjectMeshEntry> meshes;
};

// Reads a description's text by the INI rules (sections and keys without regard to letter case,
// ";" comments, "key=value" lines; the first of repeated sections and keys counts). Counts are held
// to 0..maxDescriptionEntries.
ObjectDescription parseObjectDescription(std::string_view text);

// One object slot of the 3D scene: its meshes and, for a description, its own textures.
struct ObjectSlot
{
    bool loaded = false;
    bool composite = false;          // came from a description and carries its own textures
    std::vector<MeshObjectX> meshes; // each with its two texture numbers (0-based, not range-checked:
                                     // drawing checks them against textures)
    std::vector<uint32_t> textures;  // texture names, 0 where an image could not be loaded
};

// Loads one image file with colour key 0x8000FF as a texture; the texture's name, 0 on failure. The 3D
// scene supplies it, since uploading needs the renderer.
using ObjectTextureLoader = uint32_t (*)(const char* path);

// Loads an object file (path already resolved) into the slot, replacing what the slot held (the
// caller releases its old textures first). A description's member names are taken relative to the
// folder of folderOf, the name the game gave (a resolved path may be an unpacked temp file elsewhere);
// null means the folder of path. Without a loader, textures stay 0. Every mesh is prepared and gets
// its bounding spheres. True (and the slot loaded) when some mesh has a frame with a record; a failed
// description may still have loaded textures into the slot.
bool loadObjectFile(ObjectSlot& object, const char* path, ObjectTextureLoader loadTexture,
                    const char* folderOf = nullptr);

// The folder part of a file name, separator included ("" when there is none); '\' counts as '/'.
std::string folderOfFile(const char* name);

} // namespace rt
