// 3D commands: frames, camera, lights and fog, placing objects, objects, screen points and shaders.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/arrays.h"
#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// 3D: frames, camera, lights and fog
// ---------------------------------------------------------------------------------------------
// Colours are packed red + green × 256 + blue × 65536. Positions are world units; angles degrees.

// Opens a 3D frame on the current viewport: projection with the near and far planes and the vertical
// view angle (0 or less: an orthographic box as wide as the near plane of that angle widened 100
// times), the view from the origin along -z, depth test on, lighting, fog and culling off, the
// transform stack closed down to level 0, texture offset and sphere mapping off.
void rtStart3D(double nearPlane, double farPlane, double viewAngle);
// Draws a pending shadow darkening and returns to 2D drawing on the current viewport.
void rtEnd3D();
// The view from the eye towards the target with the up direction of rtSetCameraUp; closes every
// transform level and resets level 0. An eye equal to the target keeps the view unturned.
void rtSetCamera(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ);
// The up direction used by the next rtSetCamera ((0, 1, 0) after rtStart3D).
void rtSetCameraUp(double x, double y, double z);
// By the number's sign: 1 culls counter-clockwise faces (clockwise ones are the front), -1 clockwise
// ones, 0 culls nothing.
void rtSetCulling(double mode);
// Fog in the colour (-1: fog off): exponential with density startOrDensity when exponential is
// non-zero, else linear from start to end (both 0: from the near to the far plane).
void rtSetFog(double colour, double exponential, double startOrDensity, double end);
// OpenGL light 0..7 (the number's low 3 bits): cone 0 switches it off (and lighting with the last);
// position and direction all 0: a light at the camera; cone up to 90: a spot at the position shining
// along the direction; up to 180: a point light; 180: parallel light along the direction. Numbers
// below 0 set the effect light of the per-vertex modes (-1 bump mapping, -3 stencil shadows, others
// ramp shading), casting while the cone is not 0; -3 also opens (cone not 0) or closes the shadow pass.
// Bump mapping lights meshes drawn with a bound normal map (rtLoadNormalMap): rtBind3DTextures(colour,
// normal map), or the normal map alone. Ramp shading lights them in four steps of their palette colours
// with a black outline while culling is on. For shadows, draw the scene, call rtSetLight(-3, ...) and
// draw the shadow casters again: they add only their shadow volumes, which rtEnd3D darkens.
void rtSetLight(double light, double colour, double x, double y, double z, double dx, double dy, double dz,
                double cone);
// rtSetLight with a light at the camera.
void rtSetCameraLight(double light, double colour);
// Clears the depth buffer.
void rtClearDepth();

// ---------------------------------------------------------------------------------------------
// 3D: placing objects
// ---------------------------------------------------------------------------------------------
// Up to 16 levels; drawing applies levels 0 to the current one, each as its matrices, translation,
// rotations (the last given first) and scale.

// Opens a level with no matrices or rotations, scale 1 and translation 0; nothing past 16 levels.
void rtPushMatrix();
// Closes the current level; nothing at level 0.
void rtPopMatrix();
// The level's translation, or scale; both drop the level's rotations and matrices.
void rtTranslate(double x, double y, double z);
void rtScale(double x, double y, double z);
// Adds a rotation by degrees about the axis to the level (at most 16; more are ignored).
void rtRotate(double degrees, double x, double y, double z);
// Adds a matrix of 16 numbers in OpenGL's column order to the level (at most 16); anything but a
// one-dimensional array of 16 elements is ignored.
void rtMultMatrix(const RtArray& matrix);

// ---------------------------------------------------------------------------------------------
// 3D: objects
// ---------------------------------------------------------------------------------------------
// Object slots are 0..4095; commands on other slot numbers do nothing and return 0.

// Loads a binary or text mesh file or an object description (meshes and their textures) into the
// slot; 1 on success, 0 when the file is missing or unreadable (the slot is then empty).
double rtLoadObject(const RtString& file, double slot);
// Writes the slot's first mesh as a binary mesh file; 1 on success.
double rtSaveObject(const RtString& file, double slot);
// Empties the slot and starts building a mesh in it from the following vertices (separate
// triangles until rtNewObjectStrip).
void rtStartObject(double slot);
// Adds a vertex to the object being built (nothing when none is); colour values from 0xFFFFFFFC up
// are white.
void rtAddObjectVertex(double x, double y, double z, double u, double v, double colour);
// The vertices that follow form a new triangle strip.
void rtNewObjectStrip();
// Finishes the object being built: normals by the normal mode, packing to 256 steps per axis. An
// object of fewer than three vertices is left empty.
void rtEndObject();
// How rtEndObject derives normals (the number modulo 3): 0 none, 1 each vertex from the faces it
// belongs to, 2 smoothed over all vertices at the same place.
void rtSetNormalMode(double mode);
// Draws the slot between key frames a and b (blend 0 = a, 1 = b); with animate non-zero the blend
// wraps into 0..1 and picks the neighbouring frames around a + (b - a) × blend. Meshes out of view
// are skipped.
void rtDrawObject(double slot, double frameA, double frameB, double blend, double animate);
void rtDrawObjectFrame(double slot, double frame);
// Triangles of the slot (all its meshes); 0 for an empty slot.
double rtObjectTriangleCount(double slot);
// Dimensions the array 3 × 6 and fills element (i, 0..5) with corner i's x, y, z, u, v and colour;
// all 0 for a triangle or frame the slot does not have.
void rtGetObjectTriangle(double slot, double frame, double triangle, RtArray& array);
// 1 when the slot's frame touches the sphere (or box: width on x and z, height on y; or the ray's
// distance factor to its nearest hit, 0 for none), the query placed by the current transform levels
// without their scales.
double rtObjectHitsSphere(double slot, double frame, double radius, double x, double y, double z);
double rtObjectHitsBox(double slot, double frame, double x, double y, double z, double width, double height);
double rtObjectRayDistance(double slot, double frame, double x, double y, double z, double dx, double dy,
                           double dz);

// ---------------------------------------------------------------------------------------------
// 3D: screen points, lines, sprites, text and textures
// ---------------------------------------------------------------------------------------------

// World point to screen pixel (y from the top) and depth 0..1; the outputs stay as they are when the
// point cannot be projected.
void rtProjectPoint(double x, double y, double z, double& screenX, double& screenY, double& depth);
// Screen point (pixel row y from the top, so the row of a projected y is y - 1) and depth to the world
// point; the outputs stay as they are when it has none.
void rtUnprojectPoint(double screenX, double screenY, double depth, double& x, double& y, double& z);
// A line or a point in the colour; width and size held to 1..512.
void rtDrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                  double colour);
void rtDrawPoint3D(double x, double y, double z, double size, double colour);
// Arrows of length 20 from the point along x (red), y (green) and z (blue).
void rtDrawAxes(double x, double y, double z);
// The sprite as a camera-facing quad standing on the point, scale × its size / 2 (no culling).
void rtDrawSpriteIn3D(double slot, double x, double y, double z, double scale);
// The text in the current font as a camera-facing strip centred on the point (scale 0: screen-aligned
// above the point's projection).
void rtDrawTextIn3D(const RtString& text, double x, double y, double z, double scale);
// Binds sprite slots as the textures of plain objects drawn next (-1 or any other number outside the
// sprite table: none), mipmapped when rtSet3DTextureMode chose so.
void rtBind3DTextures(double first, double second);
// Non-zero: rtBind3DTextures binds the mipmapped textures. 0 again after every frame.
void rtSet3DTextureMode(double mode);
// Added to every texture coordinate of the meshes drawn next (0 after rtStart3D).
void rtSetTextureOffset(double du, double dv);
// Non-zero: meshes get sphere-mapped texture coordinates (off after rtStart3D).
void rtSetSphereMapping(double on);

// ---------------------------------------------------------------------------------------------
// 3D: shaders
// ---------------------------------------------------------------------------------------------
// 255 shader slots (0..254); messages of the driver go to the error log (the debugger in debug mode).

// Compiles and links the vertex and fragment shader files into the slot (replacing what it held);
// 1 on success, 0 (and the slot empty) otherwise.
double rtLoadShader(double slot, const RtString& vertexFile, const RtString& fragmentFile);
// Draws with the slot's program from now on; 255 and above (or below 0): the fixed pipeline. Every
// frame starts with the fixed pipeline.
void rtUseShader(double slot);
// Sets the float uniform of that name in the current program, when it has one.
void rtSetShaderFloat(const RtString& name, double value);
