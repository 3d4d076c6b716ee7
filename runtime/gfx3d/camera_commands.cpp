// The camera commands: opening and closing a 3D frame, the camera, culling, the depth buffer, and
// points between the world and the screen.
#include <cmath>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/gfx3d/scene_gl.h"
#include "runtime/gfx3d/scene_lighting.h"
#include "runtime/gfx3d/shadow_pass.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

// The fixed-function state every 3D frame starts from.
void setSceneStartState()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    for (GLenum capability :
         {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST, GL_POLYGON_OFFSET_FILL,
          GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING, GL_CULL_FACE})
        glDisable(capability);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
}

Viewport currentViewport()
{
    GLint values[4];
    glGetIntegerv(GL_VIEWPORT, values);
    return {values[0], values[1], values[2], values[3]};
}

} // namespace
} // namespace rt

using namespace rt;

void rtStart3D(double nearPlane, double farPlane, double viewAngle)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    OpenGLRainbows& renderer = *scene->renderer;
    closeShadowPass(*scene);
    renderer.prepareForDirectGl();
    SceneProjection projection = sceneProjection(float(nearPlane), float(farPlane), float(viewAngle),
                                                 renderer.viewportWidth, renderer.viewportHeight);
    scene->camera.cullingTangent = projection.cullingTangent;
    scene->camera.nearPlane = float(nearPlane);
    scene->camera.farPlane = float(farPlane);
    scene->camera.up = {0, 1, 0};
    // Until a camera is set the view is the identity's: from the origin along -z.
    scene->camera.eye = {0, 0, 0};
    scene->camera.target = {0, 0, -1};

    glViewport(renderer.viewportX, renderer.screenHeight - renderer.viewportY - renderer.viewportHeight,
               renderer.viewportWidth, renderer.viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.matrix.data());
    glMatrixMode(GL_MODELVIEW);
    popAllTransformLevels(*scene);
    glLoadIdentity();
    renderer.bindSprite(-1, -1, false);
    setSceneStartState();
    renderer.forgetGlState(); // the 2D renderer's record of GL state no longer holds
    scene->cullingMode = 0;

    scene->cameraMatrix = identityMatrix();
    scene->textureOffset[0] = scene->textureOffset[1] = 0;
    scene->sphereMapping = false;
    scene->effectLight.casting = false;
}

void rtEnd3D()
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    closeShadowPass(*scene);
    handSceneBackTo2D(*scene);
}

void rtSetCamera(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    scene->camera.eye = {float(eyeX), float(eyeY), float(eyeZ)};
    scene->camera.target = {float(targetX), float(targetY), float(targetZ)};
    popAllTransformLevels(*scene);
    resetLevel(scene->transforms.levels[0]);
    scene->cameraMatrix = lookAtMatrix(scene->camera.eye, scene->camera.target, scene->camera.up);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(scene->cameraMatrix.data());
}

void rtSetCameraUp(double x, double y, double z)
{
    if (Rainbows3D* scene = activeScene()) scene->camera.up = {float(x), float(y), float(z)};
}

void rtSetCulling(double mode)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    scene->cullingMode = cullingModeFor(mode);
    applyCulling(scene->cullingMode);
}

void rtClearDepth()
{
    if (!activeScene()) return;
    glClear(GL_DEPTH_BUFFER_BIT);
}

void rtProjectPoint(double x, double y, double z, double& screenX, double& screenY, double& depth)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    double out[3];
    if (!projectToScreen(currentGlMatrix(GL_MODELVIEW_MATRIX), currentGlMatrix(GL_PROJECTION_MATRIX),
                         currentViewport(), scene->renderer->screenHeight, {float(x), float(y), float(z)},
                         out))
        return;
    screenX = out[0];
    screenY = out[1];
    depth = out[2];
}

void rtUnprojectPoint(double screenX, double screenY, double depth, double& x, double& y, double& z)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    double out[3];
    if (!unprojectFromScreen(currentGlMatrix(GL_MODELVIEW_MATRIX), currentGlMatrix(GL_PROJECTION_MATRIX),
                             currentViewport(), scene->renderer->screenHeight, screenX, screenY, depth, out))
        return;
    x = out[0];
    y = out[1];
    z = out[2];
}
