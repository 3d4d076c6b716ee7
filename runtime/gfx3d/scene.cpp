// The scene object's life: creation bound to the renderer, the per-frame duties, release.
#include "runtime/gfx3d/scene.h"

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/object_textures.h"
#include "runtime/gfx3d/shadow_pass.h"

namespace rt {

Rainbows3D::Rainbows3D(OpenGLRainbows* boundRenderer) : renderer(boundRenderer)
{
}

Rainbows3D::~Rainbows3D()
{
    for (ObjectSlot& object : objects)
        releaseObjectSlot(*this, object);
    bool canDelete = renderer && renderer->contextReady && glDeleteObjectARB_;
    for (ShaderSlot& shader : shaders) {
        if (canDelete) {
            if (shader.program) glDeleteObjectARB_(shader.program);
            if (shader.vertexShader) glDeleteObjectARB_(shader.vertexShader);
            if (shader.fragmentShader) glDeleteObjectARB_(shader.fragmentShader);
        }
        shader = ShaderSlot();
    }
}

Rainbows3D* activeScene()
{
    return engine.scene3d;
}

ObjectSlot* objectSlot(Rainbows3D& scene, int slot)
{
    if (slot < 0 || slot >= objectSlotCount) return nullptr;
    return &scene.objects[slot];
}

void releaseObjectSlot(Rainbows3D& scene, ObjectSlot& object)
{
    bool canDelete = scene.renderer && scene.renderer->contextReady && glDeleteBuffersARB_;
    bool contextReady = scene.renderer && scene.renderer->contextReady;
    for (MeshObjectX& mesh : object.meshes) {
        for (uint32_t buffer : mesh.frameBuffers) {
            GLuint name = buffer;
            if (name && canDelete) glDeleteBuffersARB_(1, &name);
        }
        GLuint ramp = mesh.rampTexture;
        if (ramp && contextReady) {
            glDeleteTextures(1, &ramp);
            scene.renderer->glState.textureDeleted(ramp);
        }
    }
    if (scene.renderer) releaseObjectTextures(*scene.renderer, object.textures);
    object = ObjectSlot();
}

void startScene3D()
{
    engine.scene3d = new Rainbows3D(engine.renderer);
}

void endScene3DShadowPass()
{
    if (engine.scene3d) closeShadowPass(*engine.scene3d);
}

void resetScene3DForFrame()
{
    Rainbows3D* scene = engine.scene3d;
    if (!scene) return;
    scene->textureMode = 0;
    if (scene->currentShader < shaderSlotCount && glUseProgramObjectARB_) glUseProgramObjectARB_(0);
    scene->currentShader = shaderSlotCount;
}

void releaseScene3D()
{
    delete engine.scene3d;
    engine.scene3d = nullptr;
}

} // namespace rt
