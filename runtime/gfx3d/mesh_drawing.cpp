// Frame choice, the visibility test and drawing meshes from vertex arrays.
#include "runtime/gfx3d/mesh_drawing.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/effect_light_drawing.h"
#include "runtime/gfx3d/scene.h"

namespace rt {

FrameChoice chooseFrames(int frameCount, int a, int b, float t, bool animate)
{
    auto clampFrame = [frameCount](int frame) { return std::clamp(frame, 0, std::max(frameCount - 1, 0)); };
    if (std::isnan(t)) t = 0;
    FrameChoice choice;
    if (!animate) {
        choice = {clampFrame(a), clampFrame(b), t};
    } else {
        if (t < 0 || t > 1) t = std::fabs(std::fmod(t, 1.0f));
        double position = a + double(b - a) * t;
        int index = int(std::trunc(position));
        int next = index < INT_MAX ? index + 1 : index;
        choice = {clampFrame(index), clampFrame(next), float(position - index)};
        if (a == b) choice = {clampFrame(a), clampFrame(a), 0};
    }
    if (choice.first == choice.second) choice.fraction = 0;
    return choice;
}

bool sphereInView(Vec3 centre, float radius, Vec3 eye, Vec3 target, float cullingTangent)
{
    Vec3 axis = target - eye;
    float axisLength = std::sqrt(dot(axis, axis));
    if (!(axisLength > 0)) return true;
    axis = axis * (1 / axisLength);
    Vec3 toCentre = centre - eye;
    float along = dot(toCentre, axis);
    float squaredDistance = dot(toCentre, toCentre);
    if (along < 0) return squaredDistance < radius * radius;
    float fromAxisSquared = squaredDistance - along * along;
    float reach = along * cullingTangent * 1.05f;
    return fromAxisSquared < reach * reach + radius * radius;
}

float largestScale(const Matrix4& m)
{
    float largest = 0;
    for (int column = 0; column < 3; ++column) {
        Vec3 c{m[column * 4], m[column * 4 + 1], m[column * 4 + 2]};
        largest = std::max(largest, std::sqrt(dot(c, c)));
    }
    return largest;
}

namespace {

constexpr GLsizei vertexStride = sizeof(MeshVertex);

// The frame's triangles in a GL buffer, made the first time the frame is drawn; 0 without buffers.
GLuint frameBuffer(MeshObjectX& mesh, size_t frame)
{
    if (!glGenBuffersARB_ || !glBindBufferARB_ || !glBufferDataARB_) return 0;
    if (mesh.frameBuffers.size() < mesh.frames.size()) mesh.frameBuffers.resize(mesh.frames.size(), 0);
    GLuint name = mesh.frameBuffers[frame];
    if (name) return name;
    const std::vector<MeshVertex>& triangles = mesh.frames[frame].triangles;
    glGenBuffersARB_(1, &name);
    glBindBufferARB_(GL_ARRAY_BUFFER_ARB, name);
    glBufferDataARB_(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(triangles.size() * sizeof(MeshVertex)),
                     triangles.data(), GL_STATIC_DRAW_ARB);
    mesh.frameBuffers[frame] = name;
    return name;
}

// The blended shape (and the texture offset) written into the mesh's drawing list; the number of
// vertices to draw.
size_t fillWorkingCopy(MeshObjectX& mesh, const FrameChoice& choice, const float offset[2])
{
    const std::vector<MeshVertex>& from = mesh.frames[size_t(choice.first)].triangles;
    const std::vector<MeshVertex>& to = mesh.frames[size_t(choice.second)].triangles;
    size_t count = std::min({from.size(), to.size(), mesh.drawList.size()});
    float f = choice.fraction;
    for (size_t i = 0; i < count; ++i) {
        MeshVertex& out = mesh.drawList[i];
        const MeshVertex &a = from[i], &b = to[i];
        for (int axis = 0; axis < 3; ++axis) {
            out.position[axis] = a.position[axis] + (b.position[axis] - a.position[axis]) * f;
            out.normal[axis] = a.normal[axis] + (b.normal[axis] - a.normal[axis]) * f;
        }
        out.u = a.u + offset[0];
        out.v = a.v + offset[1];
    }
    return count;
}

// Points the vertex arrays at `base` (a buffer offset when a buffer is bound, else memory). Texture
// coordinates go only where something can read them: a bound texture or a shader program. Bump
// mapping takes its colours from the packed light vectors; ramp shading gives unit 1 the ramp
// coordinates kept in the same place and leaves the vertex colours to the ramp.
void setArrays(const Rainbows3D& scene, const char* base, bool coloured, EffectLightMode mode)
{
    const OpenGLRainbows& renderer = *scene.renderer;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, vertexStride, base + offsetof(MeshVertex, position));
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, vertexStride, base + offsetof(MeshVertex, normal));
    if (renderer.boundSprite >= 0 || scene.currentShader < shaderSlotCount) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, vertexStride, base + offsetof(MeshVertex, u));
    }
    bool ramp = mode == EffectLightMode::rampShading;
    if (multitextureAvailable() && (ramp || (renderer.boundSprite >= 0 && renderer.boundSecondSprite >= 0))) {
        glClientActiveTextureARB_(GL_TEXTURE1_ARB);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, vertexStride,
                          base + (ramp ? offsetof(MeshVertex, lightVector) : offsetof(MeshVertex, u)));
        glClientActiveTextureARB_(GL_TEXTURE0_ARB);
    }
    if (mode == EffectLightMode::bumpMapping) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, vertexStride, base + offsetof(MeshVertex, lightVector));
    } else if (coloured && !ramp) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, vertexStride, base + offsetof(MeshVertex, red));
    }
    if (scene.sphereMapping) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
}

void clearArrays(bool sphereMapping)
{
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    if (multitextureAvailable()) {
        glClientActiveTextureARB_(GL_TEXTURE1_ARB);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glClientActiveTextureARB_(GL_TEXTURE0_ARB);
    }
    if (sphereMapping) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

void drawMesh(Rainbows3D& scene, MeshObjectX& mesh, int a, int b, float blend, bool animate,
              const Matrix4& placement)
{
    if (mesh.frames.empty() || mesh.frames[0].triangles.empty()) return;
    FrameChoice choice = chooseFrames(int(mesh.frames.size()), a, b, blend, animate);
    const MeshFrame& shown = mesh.frames[size_t(choice.first)];
    Vec3 centre{shown.boundingCentre[0], shown.boundingCentre[1], shown.boundingCentre[2]};
    if (!sphereInView(transformPoint(placement, centre), shown.boundingRadius * largestScale(placement),
                      scene.camera.eye, scene.camera.target, scene.camera.cullingTangent))
        return;

    OpenGLRainbows& renderer = *scene.renderer;
    // 2D drawing between the scene's start and end may have left the texture alone; lit vertices
    // modulate it. The drawing modes may leave another colour than this one.
    renderer.glState.setTextureReplace(false);
    float intensity = renderer.intensity;
    glColor4f(intensity, intensity, intensity, intensity);
    renderer.colourWhite = false;
    // The effect light's modes: what the mesh needs for them is built once, the light goes into the
    // mesh's own space and bump mapping and ramp shading fill per-vertex fields of the working copy.
    EffectLightMode mode = drawModeFor(scene);
    Vec3 light;
    if (mode != EffectLightMode::none && !lightInMeshSpace(scene, placement, light)) return;
    prepareMeshForMode(mesh, mode);
    bool perVertex = mode == EffectLightMode::bumpMapping || mode == EffectLightMode::rampShading;

    bool offset = scene.textureOffset[0] != 0 || scene.textureOffset[1] != 0;
    bool blended = choice.fraction != 0;
    MeshFrame& frame = mesh.frames[size_t(choice.first)];
    size_t count;
    const char* base = nullptr;
    GLuint buffer = 0;
    if (mode == EffectLightMode::stencilShadows) {
        // Only the volume is drawn, from the shape as it stands.
        bool copy = blended && !mesh.drawList.empty();
        count = copy ? fillWorkingCopy(mesh, choice, scene.textureOffset) : frame.triangles.size();
        drawShadowVolume(mesh, copy ? mesh.drawList : frame.triangles, count, light);
        return;
    }
    if (!blended && !offset && !perVertex) {
        // The key frame as it is: its own triangle list, kept in a GL buffer.
        count = frame.triangles.size();
        buffer = frameBuffer(mesh, size_t(choice.first));
        if (!buffer) base = reinterpret_cast<const char*>(frame.triangles.data());
    } else {
        count = fillWorkingCopy(mesh, choice, scene.textureOffset);
        base = reinterpret_cast<const char*>(mesh.drawList.data());
        if (perVertex) fillModeFields(mesh, mode, count, light);
    }
    if (count < 3) return;
    if (buffer) glBindBufferARB_(GL_ARRAY_BUFFER_ARB, buffer);
    setArrays(scene, base, mesh.coloured, mode);
    if (perVertex) beginModeDraw(mesh, mode);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(count - count % 3));
    if (mode == EffectLightMode::rampShading) drawRampOutline(scene, mesh, frame, count);
    if (perVertex) endModeDraw();
    clearArrays(scene.sphereMapping);
    if (buffer) glBindBufferARB_(GL_ARRAY_BUFFER_ARB, 0);
}

// A mesh's texture number as a binding: -1 when the slot's list has no such texture.
int textureBinding(const ObjectSlot& object, int texture)
{
    return texture >= 0 && size_t(texture) < object.textures.size() ? texture : -1;
}

} // namespace

void drawObjectSlot(Rainbows3D& scene, ObjectSlot& object, int a, int b, float blend, bool animate)
{
    if (!object.loaded || object.meshes.empty()) return;
    Matrix4 placement = placementMatrix(scene.transforms);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(placement.data());
    if (!object.composite) {
        scene.renderer->useMadeFiltersForBoundSprites();
        drawMesh(scene, object.meshes[0], a, b, blend, animate, placement);
    } else {
        OpenGLRainbows& renderer = *scene.renderer;
        int boundA = renderer.boundSprite, boundB = renderer.boundSecondSprite;
        bool boundMip = renderer.boundMip;
        const GLuint* table = object.textures.empty() ? nullptr : object.textures.data();
        for (MeshObjectX& mesh : object.meshes) {
            int first = table ? textureBinding(object, mesh.textureA) : -1;
            int second = first >= 0 ? textureBinding(object, mesh.textureB) : -1;
            renderer.bindSprite(first, second, false, table);
            drawMesh(scene, mesh, a, b, blend, animate, placement);
        }
        renderer.bindSprite(boundA, boundB, boundMip);
    }
    glPopMatrix();
}

} // namespace rt
