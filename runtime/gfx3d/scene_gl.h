// OpenGL steps the 3D commands share: the GL side of the transform stack, culling, reading matrices
// back, and handing the context back to 2D drawing.
#pragma once

#include <SDL_opengl.h>

#include "runtime/gfx3d/scene_math.h"

namespace rt {

class Rainbows3D;

// GL_MODELVIEW_MATRIX or GL_PROJECTION_MATRIX as it is now.
Matrix4 currentGlMatrix(GLenum which);
// Opens a transform level and pushes the GL modelview with it; nothing past the last level.
void pushTransformLevel(Rainbows3D& scene);
// Closes the current level and pops the GL modelview with it; nothing at depth 0.
void popTransformLevel(Rainbows3D& scene);
void popAllTransformLevels(Rainbows3D& scene);
// 0: no culling; 1: clockwise faces are the front; -1: counter-clockwise faces are the front.
void applyCulling(int mode);
// Everything 3D drawing changed goes back to what 2D drawing expects: the renderer's 2D set-up on its
// viewport, the second texture unit off, no generated texture coordinates.
void handSceneBackTo2D(Rainbows3D& scene);

} // namespace rt
