// Opening and closing the stencil shadow pass.
#include "runtime/gfx3d/shadow_pass.h"

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/scene.h"

namespace rt {

void openShadowPass(Rainbows3D& scene)
{
    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    scene.shadowPass = true;
}

void closeShadowPass(Rainbows3D& scene)
{
    if (!scene.shadowPass) return;
    scene.shadowPass = false;
    OpenGLRainbows& renderer = *scene.renderer;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    renderer.setup2D(renderer.viewportX, renderer.viewportY, renderer.viewportWidth, renderer.viewportHeight);

    // Half-transparent mid grey over every pixel a volume left a count on: a shadow halves a pixel's
    // distance to grey, so bright pixels darken and the darkest ones keep a little light.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDisable(GL_TEXTURE_2D);
    if (multitextureAvailable()) {
        // A second texture left on by 3D drawing would tint the darkening.
        glActiveTextureARB_(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB_(GL_TEXTURE0_ARB);
    }
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(0, -2000);
    glVertex2f(3000, -2000);
    glVertex2f(3000, 0);
    glEnd();
    glEnable(GL_TEXTURE_2D);

    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LESS);
    glDisable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    renderer.forgetGlState();
}

} // namespace rt
