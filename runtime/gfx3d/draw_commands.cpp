// The 3D drawing commands: objects, lines, points, axes, sprites and text in the scene, and the
// texture settings meshes are drawn with.
#include <algorithm>
#include <cmath>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/sprite_drawing.h"
#include "runtime/gfx3d/mesh_drawing.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/gfx3d/scene_lighting.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

// Lines and points are drawn in their own colour: no texture, no lighting, the GL state put back after.
class PlainDrawing
{
  public:
    explicit PlainDrawing(int colour)
    {
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        float rgb[3];
        unpackColour(colour, rgb);
        glColor4f(rgb[0], rgb[1], rgb[2], 1);
    }
    ~PlainDrawing() { glPopAttrib(); }
    PlainDrawing(const PlainDrawing&) = delete;
    PlainDrawing& operator=(const PlainDrawing&) = delete;
};

float clampSize(double size)
{
    return std::isnan(size) ? 1.0f : float(std::clamp(size, 1.0, 512.0));
}

void drawSegment(Vec3 from, Vec3 to)
{
    glVertex3f(from.x, from.y, from.z);
    glVertex3f(to.x, to.y, to.z);
}

// A segment with two short barbs at its end.
void drawArrow(Vec3 from, Vec3 along, Vec3 across)
{
    Vec3 tip = from + along * 20;
    drawSegment(from, tip);
    drawSegment(tip, tip - along * 4 + across * 2);
    drawSegment(tip, tip - along * 4 - across * 2);
}

} // namespace
} // namespace rt

using namespace rt;

void rtDrawObject(double slot, double frameA, double frameB, double blend, double animate)
{
    Rainbows3D* scene = activeScene();
    ObjectSlot* object = scene ? objectSlot(*scene, toInt(slot)) : nullptr;
    if (!object) return;
    drawObjectSlot(*scene, *object, toInt(frameA), toInt(frameB), float(blend), animate != 0);
}

void rtDrawObjectFrame(double slot, double frame)
{
    rtDrawObject(slot, frame, frame, 0, 0);
}

void rtDrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                  double colour)
{
    if (!activeScene()) return;
    PlainDrawing plain(toInt(colour));
    glLineWidth(clampSize(width));
    glBegin(GL_LINES);
    drawSegment({float(x1), float(y1), float(z1)}, {float(x2), float(y2), float(z2)});
    glEnd();
}

void rtDrawPoint3D(double x, double y, double z, double size, double colour)
{
    if (!activeScene()) return;
    PlainDrawing plain(toInt(colour));
    glPointSize(clampSize(size));
    glBegin(GL_POINTS);
    glVertex3f(float(x), float(y), float(z));
    glEnd();
}

void rtDrawAxes(double x, double y, double z)
{
    if (!activeScene()) return;
    Vec3 origin{float(x), float(y), float(z)};
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const int colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int i = 0; i < 3; ++i) {
        PlainDrawing plain(colours[i]);
        glBegin(GL_LINES);
        drawArrow(origin, axes[i], axes[(i + 1) % 3]);
        glEnd();
    }
}

void rtDrawSpriteIn3D(double slot, double x, double y, double z, double scale)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    bool culling = glIsEnabled(GL_CULL_FACE);
    if (culling) glDisable(GL_CULL_FACE);
    // The 2D renderer draws the quad through its record of GL state, which 3D drawing bypasses.
    scene->renderer->forgetGlState();
    drawSpriteInScene(*scene->renderer, toInt(slot), toInt(x), toInt(y), toInt(z), float(scale));
    scene->renderer->forgetGlState();
    if (culling) glEnable(GL_CULL_FACE);
}

void rtDrawTextIn3D(const RtString& text, double x, double y, double z, double scale)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    scene->renderer->forgetGlState();
    drawTextInScene(*scene->renderer, engine.currentFont, text.c_str(), float(x), float(y), float(z),
                    float(scale));
    scene->renderer->forgetGlState();
}

void rtBind3DTextures(double first, double second)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return;
    // A number outside the sprite table binds no texture.
    const SpriteTable& sprites = scene->renderer->sprites;
    auto binding = [&](double slot) { return sprites.slot(toInt(slot)) ? toInt(slot) : -1; };
    scene->renderer->bindSprite(binding(first), binding(second), scene->textureMode != 0);
}

void rtSet3DTextureMode(double mode)
{
    if (Rainbows3D* scene = activeScene()) scene->textureMode = toInt(mode);
}

void rtSetTextureOffset(double du, double dv)
{
    if (Rainbows3D* scene = activeScene()) {
        scene->textureOffset[0] = float(du);
        scene->textureOffset[1] = float(dv);
    }
}

void rtSetSphereMapping(double on)
{
    if (Rainbows3D* scene = activeScene()) scene->sphereMapping = on != 0;
}
