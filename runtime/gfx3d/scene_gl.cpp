// The GL side of the transform stack, culling and the hand-back to 2D drawing.
#include "runtime/gfx3d/scene_gl.h"

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/scene.h"

namespace rt {

Matrix4 currentGlMatrix(GLenum which)
{
    Matrix4 m;
    glGetFloatv(which, m.data());
    return m;
}

void pushTransformLevel(Rainbows3D& scene)
{
    if (!pushLevel(scene.transforms)) return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void popTransformLevel(Rainbows3D& scene)
{
    if (!popLevel(scene.transforms)) return;
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void popAllTransformLevels(Rainbows3D& scene)
{
    while (scene.transforms.depth > 0)
        popTransformLevel(scene);
}

void applyCulling(int mode)
{
    if (mode == 0) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(mode > 0 ? GL_CW : GL_CCW);
}

void handSceneBackTo2D(Rainbows3D& scene)
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (multitextureAvailable()) {
        glActiveTextureARB_(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB_(GL_TEXTURE0_ARB);
    }
    glCullFace(GL_BACK);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glLineWidth(1);
    glPointSize(1);
    OpenGLRainbows& renderer = *scene.renderer;
    renderer.setup2D(renderer.viewportX, renderer.viewportY, renderer.viewportWidth, renderer.viewportHeight);
}

} // namespace rt
