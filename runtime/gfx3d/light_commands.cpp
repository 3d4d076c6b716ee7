// Lights and fog of the 3D scene.
#include <SDL_opengl.h>
#include <cmath>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/gfx3d/scene_lighting.h"
#include "runtime/gfx3d/shadow_pass.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

void sendLight(const LightSetting& setting)
{
    GLenum light = GLenum(GL_LIGHT0 + setting.light);
    if (setting.kind == LightKind::off) {
        glDisable(light);
        if (!setting.lightingOn) glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    glEnable(light);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glLightfv(light, GL_DIFFUSE, setting.diffuse);
    glLightfv(light, GL_SPECULAR, setting.specular);
    glLightf(light, GL_SPOT_CUTOFF, setting.cutoff);
    if (setting.kind == LightKind::spot) glLightfv(light, GL_SPOT_DIRECTION, setting.direction);
    glMatrixMode(GL_MODELVIEW);
    if (setting.kind == LightKind::cameraFixed) {
        // Fixed to the camera: the position is given in eye space.
        glPushMatrix();
        glLoadIdentity();
        glLightfv(light, GL_POSITION, setting.position);
        glPopMatrix();
    } else {
        glLightfv(light, GL_POSITION, setting.position);
    }
}

} // namespace
} // namespace rt

using namespace rt;

void rtSetLight(double light, double colour, double x, double y, double z, double dx, double dy, double dz,
                double cone)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    int n = toInt(light);
    Vec3 position{float(x), float(y), float(z)};
    if (n < 0) {
        setEffectLight(scene->effectLight, n, toInt(colour), position, float(cone));
        // Marked before a shadow pass opens: while it is open nothing reaches the colour buffer.
        if (engine.debugMode && scene->effectLight.casting && !scene->shadowPass)
            rtDrawPoint3D(x, y, z, 40, 0x80C8FF);
        if (n == -3) {
            if (cone != 0)
                openShadowPass(*scene);
            else
                closeShadowPass(*scene);
        }
        return;
    }
    LightSetting setting = planLight(scene->enabledLights, n, toInt(colour), position,
                                     {float(dx), float(dy), float(dz)}, float(cone));
    sendLight(setting);
    scene->renderer->forgetGlState(); // colour material changed behind the 2D renderer's record
    if (engine.debugMode && setting.kind != LightKind::off && setting.kind != LightKind::cameraFixed) {
        // Where the light is, and for a spot light where it shines.
        rtDrawPoint3D(x, y, z, 40, 0x80C8FF);
        if (setting.kind == LightKind::spot) {
            const float* d = setting.direction;
            rtDrawLine3D(x, y, z, x + 500 * d[0], y + 500 * d[1], z + 500 * d[2], 3, 0x6CAAE1);
        }
    }
}

void rtSetCameraLight(double light, double colour)
{
    rtSetLight(light, colour, 0, 0, 0, 0, 0, 0, 180);
}

void rtSetFog(double colour, double exponential, double startOrDensity, double end)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    FogSetting fog = planFog(toInt(colour), exponential != 0, float(startOrDensity), float(end),
                             scene->camera.nearPlane, scene->camera.farPlane);
    if (!fog.on) {
        glDisable(GL_FOG);
        return;
    }
    glEnable(GL_FOG);
    if (fog.exponential) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, fog.density);
    } else {
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, fog.start);
        glFogf(GL_FOG_END, fog.end);
    }
    glFogfv(GL_FOG_COLOR, fog.colour);
}
