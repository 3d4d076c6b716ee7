// Objects built from commands: vertices added one by one to the first frame of a slot's first mesh,
// strip markers between primitives, and the finish that derives normals, packs the frame and prepares
// the mesh for drawing. No OpenGL here.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/gfx3d/object_file.h"

namespace rt {

// Normal modes of a finished object.
constexpr int normalsNone = 0;
constexpr int normalsPerRecord = 1; // each vertex averages the faces it belongs to
constexpr int normalsSmoothed = 2;  // vertices at the same position share the average of all their faces

// Empties the slot (its GL objects must be released first) and gives it one mesh with one empty frame.
void startBuilding(ObjectSlot& object);
// Appends a vertex; colour values from 0xFFFFFFFC up are drawn white.
void addBuildVertex(ObjectSlot& object, float x, float y, float z, float u, float v, uint32_t colour);
// The vertices that follow form a new triangle strip.
void addBuildStrip(ObjectSlot& object);
// Marks the slot loaded (not composite). A frame of more than two vertices gets its normals, is packed
// and prepared with its bounding sphere; otherwise (or when it needs more than 256 colours) the mesh is
// emptied.
void finishBuilding(ObjectSlot& object, int normalMode);

// Sets the normals of a vertex list with primitive markers (see normalsPerRecord and normalsSmoothed);
// normalsNone leaves them as they are.
void deriveNormals(std::vector<MeshVertex>& vertices, int mode);

} // namespace rt
