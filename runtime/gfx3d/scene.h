// Rainbows3D: the 3D scene. One object, made at start-up next to the renderer and bound to it, kept
// for the whole run: 4096 object slots, the transform stack, the camera, the lights and the effect
// light, the shader slots and the per-draw settings (texture offset, sphere mapping, normal mode).
// The commands in runtime.h's 3D sections work on it through engine.scene3d.
#pragma once

#include <cstdint>

#include "runtime/gfx3d/object_file.h"
#include "runtime/gfx3d/scene_math.h"
#include "runtime/gfx3d/transform_stack.h"

namespace rt {

class OpenGLRainbows;

constexpr int objectSlotCount = 4096;
constexpr int shaderSlotCount = 255;
constexpr int sceneLightCount = 8; // OpenGL lights 0..7

// The effect light that mesh drawing uses for its per-vertex modes (bump mapping, ramp shading with
// outlines, stencil shadow volumes). Light numbers below 0 set it; mesh drawing applies the modes (see
// effect_light_drawing.h) and the shadow volumes count into the shadow pass (see shadow_pass.h).
enum class EffectLightMode : uint8_t
{
    none = 0,
    bumpMapping = 1,
    rampShading = 2,
    stencilShadows = 3,
};

struct EffectLight
{
    bool casting = false; // the mode is applied while drawing meshes
    EffectLightMode mode = EffectLightMode::none;
    Vec3 position;
    float colour[3] = {1, 1, 1}; // 0..1
};

struct SceneCamera
{
    Vec3 up{0, 1, 0}; // used by the next rtSetCamera
    Vec3 eye;
    Vec3 target;
    float cullingTangent = 1; // tangent of the view angle widened by 5 degrees
    float nearPlane = 1;
    float farPlane = 1000;
};

struct ShaderSlot
{
    uint32_t program = 0; // GL program object, 0 = empty
    uint32_t vertexShader = 0;
    uint32_t fragmentShader = 0;
};

class Rainbows3D
{
  public:
    explicit Rainbows3D(OpenGLRainbows* renderer);
    // Deletes the slots' GL objects (textures, buffers, programs) while the renderer's context lives.
    virtual ~Rainbows3D();
    Rainbows3D(const Rainbows3D&) = delete;
    Rainbows3D& operator=(const Rainbows3D&) = delete;

    ObjectSlot objects[objectSlotCount];
    int currentShader = shaderSlotCount; // 255 and above: no program
    ShaderSlot shaders[shaderSlotCount];
    bool shadowPass = false; // stencil shadow volumes are being collected
    int8_t cullingMode = 0;  // 0 off, 1 clockwise front faces, -1 counter-clockwise front faces
    TransformStack transforms;
    Matrix4 cameraMatrix = identityMatrix(); // the modelview read back after the camera was set
    float textureOffset[2] = {0, 0};         // added to u and v when meshes are drawn
    uint8_t enabledLights = 0;               // bit n: OpenGL light n is on
    bool sphereMapping = false;              // meshes get sphere-mapped texture coordinates
    OpenGLRainbows* renderer;                // not owned
    EffectLight effectLight;
    SceneCamera camera;
    int normalMode = 0;    // how rtEndObject derives normals: 0 none, 1 per face, 2 smoothed
    int buildingSlot = -1; // the slot rtStartObject opened, -1 when none
    int textureMode = 0;   // passed by rtBind3DTextures as the mipmap choice; 0 after every frame
};

// The engine's scene; null before start-up and after the end routine (commands then do nothing).
Rainbows3D* activeScene();

// Object slot n, or null for a number outside 0..4095.
ObjectSlot* objectSlot(Rainbows3D& scene, int slot);

// Deletes the GL objects an object slot owns (its textures and vertex buffers) and empties it.
void releaseObjectSlot(Rainbows3D& scene, ObjectSlot& object);

// Start-up, per-frame and release duties of the 3D scene; only the engine's lifecycle calls them.
void startScene3D();
// Before the frame is shown: a shadow pass left open is closed (its darkening drawn).
void endScene3DShadowPass();
// After the next frame is prepared: 3D texture mode 0 and no shader program selected.
void resetScene3DForFrame();
void releaseScene3D();

} // namespace rt
