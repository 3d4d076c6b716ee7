// What a light or fog command asks of OpenGL, worked out without OpenGL: the kind of light, its
// position, direction, colours and cone, and which lights (and whether lighting) stay on.
#pragma once

#include <cstdint>

#include "runtime/gfx3d/scene_math.h"

namespace rt {

struct EffectLight;

// The culling mode a number asks for: its sign (not-a-number: 0).
inline int8_t cullingModeFor(double number)
{
    return int8_t(number > 0 ? 1 : number < 0 ? -1 : 0);
}

// A packed colour 0x00BBGGRR as red, green and blue 0..1.
void unpackColour(int colour, float rgb[3]);

enum class LightKind
{
    off,         // cone 0: the light is switched off
    cameraFixed, // position and direction all zero: shines along the view from the camera
    spot,        // cone up to 90 degrees
    point,       // cone between 90 and 180
    directional, // cone 180: parallel rays along the direction
};

struct LightSetting
{
    int light = 0; // OpenGL light 0..7
    LightKind kind = LightKind::off;
    bool lightingOn = false; // lighting as a whole after this change
    float position[4] = {0, 0, 1, 0};
    float direction[3] = {0, 0, -1};
    float diffuse[4] = {1, 1, 1, 1};
    float specular[4] = {0, 0, 0, 1};
    float cutoff = 180; // degrees
};

// OpenGL light n & 7 with the given colour, position p, direction d and cone; updates the bit set of
// lights that are on.
LightSetting planLight(uint8_t& enabledLights, int n, int colour, Vec3 p, Vec3 d, float cone);

// Light numbers below 0 set the effect light: -1 bump mapping, -3 stencil shadows, any other
// negative number ramp shading; casting while the cone is not 0.
void setEffectLight(EffectLight& light, int n, int colour, Vec3 p, float cone);

struct FogSetting
{
    bool on = false;
    bool exponential = false;
    float density = 0;
    float start = 0, end = 0;
    float colour[4] = {0, 0, 0, 0};
};

// Colour -1: fog off. Linear fog with start and end both 0 runs from the camera's near to its far
// plane.
FogSetting planFog(int colour, bool exponential, float startOrDensity, float end, float nearPlane,
                   float farPlane);

} // namespace rt
