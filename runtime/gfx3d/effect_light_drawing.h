// Mesh drawing under the effect light: which of its modes a draw uses, what a mesh needs built for
// it, and the OpenGL side of each mode (the texture combiners of bump mapping, the ramp texture and the
// outline of ramp shading, the two stencil passes of a shadow volume). The per-vertex math is in
// effect_light_math.h.
#pragma once

#include <cstddef>
#include <vector>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/scene.h"

namespace rt {

// The mode a mesh drawn now uses; none while the effect light is not casting. Bump mapping needs a
// bound texture (the normal map) and multitexturing, ramp shading multitexturing; stencil shadows apply
// only while the shadow pass is open. Without what they need, meshes are drawn plainly.
EffectLightMode drawModeFor(const Rainbows3D& scene);

// What the mode needs that does not change between draws, built the first time: tangent vectors in
// the drawing list (bump mapping), the edge neighbour list (stencil shadows). The ramp texture is made
// by beginModeDraw, which has the GL state to make it in.
void prepareMeshForMode(MeshObjectX& mesh, EffectLightMode mode);

// The effect light's position in the mesh's own space under `placement`; false when the placement
// squashes space flat (no inverse).
bool lightInMeshSpace(const Rainbows3D& scene, const Matrix4& placement, Vec3& light);

// Bump mapping or ramp shading: the per-vertex fields of the first `count` vertices of the working copy.
void fillModeFields(MeshObjectX& mesh, EffectLightMode mode, size_t count, Vec3 light);

// The GL state of bump mapping or ramp shading for the mesh's draw; endModeDraw puts every state it
// changed back.
void beginModeDraw(MeshObjectX& mesh, EffectLightMode mode);
void endModeDraw();

// Ramp shading's outline, while the mesh's arrays still point at the working copy: with culling on
// and the outline width small enough next to the mesh, the working copy is pushed out along its normals
// and drawn again in black with the culling direction flipped.
void drawRampOutline(const Rainbows3D& scene, MeshObjectX& mesh, const MeshFrame& frame, size_t count);

// The mesh's shadow volume from the first `count` vertices of `triangles` (the drawn shape), under the
// current modelview, counted into the stencil buffer: up where front faces of the volume pass the depth
// test, down where back faces do.
void drawShadowVolume(MeshObjectX& mesh, const std::vector<MeshVertex>& triangles, size_t count, Vec3 light);

} // namespace rt
