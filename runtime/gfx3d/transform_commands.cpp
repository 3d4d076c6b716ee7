// The transform commands: levels of the stack and what each level holds.
#include "runtime/gfx3d/scene.h"
#include "runtime/gfx3d/scene_gl.h"
#include "runtime/runtime.h"

using namespace rt;

void rtPushMatrix()
{
    if (Rainbows3D* scene = activeScene()) pushTransformLevel(*scene);
}

void rtPopMatrix()
{
    if (Rainbows3D* scene = activeScene()) popTransformLevel(*scene);
}

void rtTranslate(double x, double y, double z)
{
    if (Rainbows3D* scene = activeScene())
        setLevelTranslation(currentLevel(scene->transforms), float(x), float(y), float(z));
}

void rtScale(double x, double y, double z)
{
    if (Rainbows3D* scene = activeScene())
        setLevelScale(currentLevel(scene->transforms), float(x), float(y), float(z));
}

void rtRotate(double degrees, double x, double y, double z)
{
    if (Rainbows3D* scene = activeScene())
        addLevelRotation(currentLevel(scene->transforms), float(degrees), float(x), float(y), float(z));
}

void rtMultMatrix(const RtArray& matrix)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    // Only a one-dimensional array of exactly 16 numbers, in the column order OpenGL takes.
    if (matrix.dimensions != 1 || matrix.size1 != 16 || !matrix.data) return;
    Matrix4 m;
    for (int i = 0; i < 16; ++i)
        m[i] = float(matrix.data[i]);
    addLevelMatrix(currentLevel(scene->transforms), m);
}
