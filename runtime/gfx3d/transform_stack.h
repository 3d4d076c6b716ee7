// The transform stack that places objects: up to 16 levels, each holding matrices, a translation,
// rotations and a scale. Drawing applies every level from 0 to the current depth; collision queries use
// the same product without the scales. Plain data and math, no OpenGL.
#pragma once

#include "runtime/gfx3d/scene_math.h"

namespace rt {

constexpr int transformLevelCount = 16;
constexpr int maxLevelRotations = 16;
constexpr int maxLevelMatrices = 16;

struct LevelRotation
{
    float degrees = 0;
    float axis[3] = {0, 0, 0};
};

struct TransformLevel
{
    int matrixCount = 0;
    int rotationCount = 0;
    LevelRotation rotations[maxLevelRotations];
    float scale[3] = {1, 1, 1};
    float translation[3] = {0, 0, 0};
    Matrix4 matrices[maxLevelMatrices];
};

struct TransformStack
{
    TransformLevel levels[transformLevelCount];
    int depth = 0; // index of the current level; 0 at rest
};

inline TransformLevel& currentLevel(TransformStack& stack)
{
    return stack.levels[stack.depth];
}

// Identity values: no matrices or rotations, scale 1, translation 0.
void resetLevel(TransformLevel& level);
// Opens a fresh level; false (nothing changed) when all 16 are open.
bool pushLevel(TransformStack& stack);
// Closes the current level; false at depth 0.
bool popLevel(TransformStack& stack);

// Translation and scale replace the level's value and drop its rotations and matrices, so a rotation
// given before them on the same level is lost.
void setLevelTranslation(TransformLevel& level, float x, float y, float z);
void setLevelScale(TransformLevel& level, float x, float y, float z);
// Appended in order; ignored once the level holds 16.
void addLevelRotation(TransformLevel& level, float degrees, float x, float y, float z);
void addLevelMatrix(TransformLevel& level, const Matrix4& matrix);

// One level as drawing applies it: its matrices in the order added, its translation, its rotations
// from the last added to the first, its scale (the scale acts on a point first).
Matrix4 levelMatrix(const TransformLevel& level, bool withScale = true);
// Levels 0 to depth, each applied after the one below it.
Matrix4 placementMatrix(const TransformStack& stack);
// The same without any scale: the rigid part collision queries invert.
Matrix4 rigidPlacementMatrix(const TransformStack& stack);

} // namespace rt
