// Light and fog settings from the commands' numbers.
#include "runtime/gfx3d/scene_lighting.h"

#include <algorithm>

#include "runtime/gfx3d/scene.h"

namespace rt {

void unpackColour(int colour, float rgb[3])
{
    rgb[0] = float(colour & 0xFF) / 255;
    rgb[1] = float((colour >> 8) & 0xFF) / 255;
    rgb[2] = float((colour >> 16) & 0xFF) / 255;
}

static bool isZero(Vec3 v)
{
    return v.x == 0 && v.y == 0 && v.z == 0;
}

LightSetting planLight(uint8_t& enabledLights, int n, int colour, Vec3 p, Vec3 d, float cone)
{
    LightSetting setting;
    setting.light = n & 7;
    uint8_t bit = uint8_t(1u << setting.light);
    if (cone == 0) {
        enabledLights &= uint8_t(~bit);
        setting.kind = LightKind::off;
        setting.lightingOn = enabledLights != 0;
        return setting;
    }
    enabledLights |= bit;
    setting.lightingOn = true;
    unpackColour(colour, setting.diffuse);
    setting.diffuse[3] = 1;
    const float colourSpecular[4] = {setting.diffuse[0], setting.diffuse[1], setting.diffuse[2], 1};

    if (isZero(p) && isZero(d)) {
        setting.kind = LightKind::cameraFixed;
    } else if (cone <= 90) {
        setting.kind = LightKind::spot;
        setting.cutoff = std::max(cone, 0.0f);
        Vec3 direction = dot(d, d) > 1e-7f ? normalised(d) : d;
        setting.direction[0] = direction.x;
        setting.direction[1] = direction.y;
        setting.direction[2] = direction.z;
        std::copy(colourSpecular, colourSpecular + 4, setting.specular);
    } else if (cone < 180) {
        setting.kind = LightKind::point;
        std::copy(colourSpecular, colourSpecular + 4, setting.specular);
    } else {
        setting.kind = LightKind::directional;
        Vec3 towards = normalised(d) * -1.0f;
        setting.position[0] = towards.x;
        setting.position[1] = towards.y;
        setting.position[2] = towards.z;
        setting.position[3] = 0;
    }
    if (setting.kind == LightKind::spot || setting.kind == LightKind::point) {
        setting.position[0] = p.x;
        setting.position[1] = p.y;
        setting.position[2] = p.z;
        setting.position[3] = 1;
    }
    return setting;
}

void setEffectLight(EffectLight& light, int n, int colour, Vec3 p, float cone)
{
    light.casting = cone != 0;
    light.position = p;
    unpackColour(colour, light.colour);
    if (n == -1)
        light.mode = EffectLightMode::bumpMapping;
    else if (n == -3)
        light.mode = EffectLightMode::stencilShadows;
    else
        light.mode = EffectLightMode::rampShading;
}

FogSetting planFog(int colour, bool exponential, float startOrDensity, float end, float nearPlane,
                   float farPlane)
{
    FogSetting fog;
    if (colour == -1) return fog;
    fog.on = true;
    fog.exponential = exponential;
    if (exponential) {
        fog.density = startOrDensity;
    } else if (startOrDensity == 0 && end == 0) {
        fog.start = nearPlane;
        fog.end = farPlane;
    } else {
        fog.start = startOrDensity;
        fog.end = end;
    }
    unpackColour(colour, fog.colour);
    fog.colour[3] = 0;
    return fog;
}

} // namespace rt
