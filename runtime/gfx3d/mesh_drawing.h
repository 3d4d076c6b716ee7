// Drawing object slots: which key frames a draw blends, whether a mesh can be seen at all, and the
// vertex arrays that draw it in one call.
#pragma once

#include "runtime/gfx3d/object_file.h"
#include "runtime/gfx3d/scene_math.h"

namespace rt {

class Rainbows3D;

// The shape a draw shows: frame `first` blended towards frame `second` by `fraction` (0 = first).
struct FrameChoice
{
    int first = 0;
    int second = 0;
    float fraction = 0;
};

// Frames a and b with blend t of a mesh with frameCount frames (at least 1). Without `animate` the
// shape is a blended towards b by t. With it, t outside 0..1 becomes the absolute value of its
// remainder modulo 1, the position a + (b - a) * t picks the pair of neighbouring frames around it and
// the fraction between them. Frame numbers are held to 0..frameCount - 1; a t that is not a number
// counts as 0.
FrameChoice chooseFrames(int frameCount, int a, int b, float t, bool animate);

// Whether a bounding sphere can be in view of a camera at eye looking at target, whose widened view
// angle has the given tangent: in front, within the widened cone plus the radius; behind, only when
// the eye is inside the sphere. A camera whose eye equals its target sees everything.
bool sphereInView(Vec3 centre, float radius, Vec3 eye, Vec3 target, float cullingTangent);

// The largest factor by which the matrix stretches a length (the longest of its first three columns).
float largestScale(const Matrix4& m);

// Draws the slot's meshes (all of a composite slot, each with its own textures; the first of a plain
// slot with whatever is bound) under the scene's transform stack. Empty slots draw nothing.
void drawObjectSlot(Rainbows3D& scene, ObjectSlot& object, int a, int b, float blend, bool animate);

} // namespace rt
