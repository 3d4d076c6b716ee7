// Levels of the transform stack and the placement matrices built from them.
#include "runtime/gfx3d/transform_stack.h"

namespace rt {

void resetLevel(TransformLevel& level)
{
    level.matrixCount = 0;
    level.rotationCount = 0;
    for (int axis = 0; axis < 3; ++axis) {
        level.scale[axis] = 1;
        level.translation[axis] = 0;
    }
}

bool pushLevel(TransformStack& stack)
{
    if (stack.depth >= transformLevelCount - 1) return false;
    ++stack.depth;
    resetLevel(currentLevel(stack));
    return true;
}

bool popLevel(TransformStack& stack)
{
    if (stack.depth <= 0) return false;
    --stack.depth;
    return true;
}

void setLevelTranslation(TransformLevel& level, float x, float y, float z)
{
    level.translation[0] = x;
    level.translation[1] = y;
    level.translation[2] = z;
    level.rotationCount = 0;
    level.matrixCount = 0;
}

void setLevelScale(TransformLevel& level, float x, float y, float z)
{
    level.scale[0] = x;
    level.scale[1] = y;
    level.scale[2] = z;
    level.rotationCount = 0;
    level.matrixCount = 0;
}

void addLevelRotation(TransformLevel& level, float degrees, float x, float y, float z)
{
    if (level.rotationCount >= maxLevelRotations) return;
    LevelRotation& rotation = level.rotations[level.rotationCount++];
    rotation.degrees = degrees;
    rotation.axis[0] = x;
    rotation.axis[1] = y;
    rotation.axis[2] = z;
}

void addLevelMatrix(TransformLevel& level, const Matrix4& matrix)
{
    if (level.matrixCount >= maxLevelMatrices) return;
    level.matrices[level.matrixCount++] = matrix;
}

Matrix4 levelMatrix(const TransformLevel& level, bool withScale)
{
    Matrix4 m = identityMatrix();
    for (int i = 0; i < level.matrixCount; ++i)
        m = multiply(m, level.matrices[i]);
    m = multiply(m, translationMatrix(level.translation[0], level.translation[1], level.translation[2]));
    for (int i = level.rotationCount - 1; i >= 0; --i) {
        const LevelRotation& r = level.rotations[i];
        m = multiply(m, rotationMatrix(r.degrees, r.axis[0], r.axis[1], r.axis[2]));
    }
    if (withScale) m = multiply(m, scaleMatrix(level.scale[0], level.scale[1], level.scale[2]));
    return m;
}

static Matrix4 stackMatrix(const TransformStack& stack, bool withScale)
{
    Matrix4 m = identityMatrix();
    for (int depth = 0; depth <= stack.depth; ++depth)
        m = multiply(m, levelMatrix(stack.levels[depth], withScale));
    return m;
}

Matrix4 placementMatrix(const TransformStack& stack)
{
    return stackMatrix(stack, true);
}

Matrix4 rigidPlacementMatrix(const TransformStack& stack)
{
    return stackMatrix(stack, false);
}

} // namespace rt
