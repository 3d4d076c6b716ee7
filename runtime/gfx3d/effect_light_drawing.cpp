// The OpenGL side of the effect light's modes.
#include "runtime/gfx3d/effect_light_drawing.h"

#include <SDL_opengl.h>

#include <cmath>
#include <cstdio>

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/effect_light_math.h"
#include "runtime/gfx3d/scene_gl.h"

namespace rt {
namespace {

// Everything the modes change, saved by beginModeDraw and drawShadowVolume and put back after.
constexpr GLbitfield modeStateBits = GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT |
                                     GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT | GL_STENCIL_BUFFER_BIT;

void makeRampTexture(MeshObjectX& mesh)
{
    mesh.rampRows = rampRowCount(mesh.palette.size());
    // Rows of 16 RGBA texels are 64 bytes: any unpack alignment reads them as they are.
    std::vector<uint8_t> texels = buildRampTexels(mesh.palette, mesh.rampRows);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rampWidth, mesh.rampRows, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
    mesh.rampTexture = name;
}

// Unit 0 takes the dot product of the primary colour (the packed light vector) and the normal map;
// unit 1 multiplies by its own texture when one is bound there.
void useBumpCombiners()
{
    glActiveTextureARB_(GL_TEXTURE0_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PRIMARY_COLOR_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB, GL_PRIMARY_COLOR_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA_ARB, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA_ARB, GL_SRC_ALPHA);
    glActiveTextureARB_(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glActiveTextureARB_(GL_TEXTURE0_ARB);
}

// Unit 1 multiplies whatever unit 0 gives by the mesh's ramp.
void useRampTexture(MeshObjectX& mesh)
{
    glActiveTextureARB_(GL_TEXTURE1_ARB);
    if (!mesh.rampTexture) makeRampTexture(mesh);
    glBindTexture(GL_TEXTURE_2D, mesh.rampTexture);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glActiveTextureARB_(GL_TEXTURE0_ARB);
}

// Stencil counts that wrap (OpenGL 1.4) keep volumes that overlap, or that are wound inside out,
// apart from 0; older drivers only clamp.
bool stencilWraps()
{
    static int wraps = -1;
    if (wraps < 0) {
        int major = 0, minor = 0;
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        wraps = version && sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 1 || minor >= 4);
    }
    return wraps == 1;
}

void drawVolumeFaces(const MeshObjectX& mesh)
{
    if (!mesh.volumeQuads.empty()) {
        glVertexPointer(4, GL_FLOAT, 0, mesh.volumeQuads.data());
        glDrawArrays(GL_QUADS, 0, GLsizei(mesh.volumeQuads.size() / 4));
    }
    if (!mesh.volumeCaps.empty()) {
        glVertexPointer(4, GL_FLOAT, 0, mesh.volumeCaps.data());
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(mesh.volumeCaps.size() / 4));
    }
}

} // namespace

EffectLightMode drawModeFor(const Rainbows3D& scene)
{
    const EffectLight& light = scene.effectLight;
    if (!light.casting) return EffectLightMode::none;
    switch (light.mode) {
    case EffectLightMode::bumpMapping:
        return multitextureAvailable() && scene.renderer->boundSprite >= 0 ? light.mode
                                                                           : EffectLightMode::none;
    case EffectLightMode::rampShading:
        return multitextureAvailable() ? light.mode : EffectLightMode::none;
    case EffectLightMode::stencilShadows:
        return scene.shadowPass ? light.mode : EffectLightMode::none;
    default:
        return EffectLightMode::none;
    }
}

void prepareMeshForMode(MeshObjectX& mesh, EffectLightMode mode)
{
    if (mode == EffectLightMode::bumpMapping && !mesh.tangentsReady) {
        computeTangents(mesh.drawList);
        mesh.tangentsReady = true;
    }
    if (mode == EffectLightMode::stencilShadows && !mesh.neighboursReady) {
        mesh.edgeNeighbours = buildEdgeNeighbours(mesh.frames[0].triangles);
        mesh.neighboursReady = true;
    }
}

bool lightInMeshSpace(const Rainbows3D& scene, const Matrix4& placement, Vec3& light)
{
    Matrix4 inverse;
    if (!invert(placement, inverse)) return false;
    light = transformPoint(inverse, scene.effectLight.position);
    return true;
}

void fillModeFields(MeshObjectX& mesh, EffectLightMode mode, size_t count, Vec3 light)
{
    if (mode == EffectLightMode::bumpMapping) fillLightVectors(mesh.drawList, count, light);
    if (mode == EffectLightMode::rampShading) {
        if (!mesh.rampRows) mesh.rampRows = rampRowCount(mesh.palette.size());
        fillRampCoordinates(mesh.drawList, count, light, mesh.rampRows);
    }
}

void beginModeDraw(MeshObjectX& mesh, EffectLightMode mode)
{
    glPushAttrib(modeStateBits);
    // The light lives in the colours and the ramp; fixed-function lighting would count it twice.
    glDisable(GL_LIGHTING);
    if (mode == EffectLightMode::bumpMapping) useBumpCombiners();
    if (mode == EffectLightMode::rampShading) useRampTexture(mesh);
}

void endModeDraw()
{
    glPopAttrib();
}

void drawRampOutline(const Rainbows3D& scene, MeshObjectX& mesh, const MeshFrame& frame, size_t count)
{
    if (scene.cullingMode == 0) return;
    Matrix4 rigidInverse;
    if (!invert(rigidPlacementMatrix(scene.transforms), rigidInverse)) return;
    Vec3 eye = transformPoint(rigidInverse, scene.camera.eye);
    Vec3 centre{frame.boundingCentre[0], frame.boundingCentre[1], frame.boundingCentre[2]};
    Vec3 toCentre = centre - eye;
    float width = std::sqrt(dot(toCentre, toCentre)) * scene.camera.cullingTangent * 0.003f;
    for (int level = 0; level <= scene.transforms.depth; ++level) {
        float scaleY = scene.transforms.levels[level].scale[1];
        width /= scaleY * scaleY;
    }
    if (!(width >= 1e-7f && width <= frame.boundingRadius * 0.125f)) return;

    for (size_t i = 0; i < count; ++i) {
        MeshVertex& vertex = mesh.drawList[i];
        for (int axis = 0; axis < 3; ++axis)
            vertex.position[axis] += vertex.normal[axis] * width;
    }
    applyCulling(-scene.cullingMode);
    glActiveTextureARB_(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB_(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_COLOR_ARRAY);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, scene.renderer->intensity);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(count - count % 3));
    // Depth function, culling, blending and textures come back with endModeDraw.
}

void drawShadowVolume(MeshObjectX& mesh, const std::vector<MeshVertex>& triangles, size_t count, Vec3 light)
{
    buildShadowVolume(triangles, count, mesh.edgeNeighbours, light, mesh.facingLight, mesh.volumeQuads,
                      mesh.volumeCaps);
    glPushAttrib(modeStateBits);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    if (multitextureAvailable()) {
        glActiveTextureARB_(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB_(GL_TEXTURE0_ARB);
    }
    glEnable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    bool wraps = stencilWraps();
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_KEEP, wraps ? GL_INCR_WRAP : GL_INCR);
    drawVolumeFaces(mesh);
    glCullFace(GL_FRONT);
    glStencilOp(GL_KEEP, GL_KEEP, wraps ? GL_DECR_WRAP : GL_DECR);
    drawVolumeFaces(mesh);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopAttrib();
}

} // namespace rt
