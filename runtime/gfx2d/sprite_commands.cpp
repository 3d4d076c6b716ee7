// The sprite commands: load, grab, draw, collide and measure sprite slots. Slot numbers come from game
// code: a slot outside the table is ignored (loads fail, draws draw nothing, collisions are 0).
#include <cmath>

#include "runtime/core/engine_state.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/gfx2d/data_files.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/sprite_drawing.h"
#include "runtime/gfx2d/textures.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

static double loadSlot(const char* command, const RtString& file, double slot, bool normalMap)
{
    OpenGLRainbows* renderer = startedRenderer(command);
    if (!renderer) return 0;
    int index = toInt(slot);
    if (!renderer->sprites.slot(index)) return 0;
    freeSprite(*renderer, index);
    char path[resolvedPathCapacity];
    const char* kind = normalMap ? "normal map" : "sprite";
    if (!resolveDataName(file, path, kind)) return 0;
    if (loadSprite(*renderer, index, path, spriteColourKey, normalMap)) return 1;
    rt::logLoadFailure(kind, file.c_str(), rt::LoadFailure::Undecodable);
    return 0;
}

} // namespace rt

double rtLoadSprite(const RtString& file, double slot)
{
    return loadSlot(__func__, file, slot, false);
}

double rtLoadNormalMap(const RtString& file, double slot)
{
    return loadSlot(__func__, file, slot, true);
}

double rtGrabSprite(double slot, double x, double y, double width, double height)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return grabScreenToSprite(*renderer, toInt(slot), toInt(x), toInt(y), toInt(width), toInt(height));
}

void rtDrawSprite(double slot, double x, double y)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawSprite(*renderer, toInt(slot), float(x), float(y));
}

void rtStretchSprite(double slot, double x, double y, double width, double height)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawSpriteStretched(*renderer, toInt(slot), float(x), float(y), float(width), float(height));
}

void rtZoomSprite(double slot, double x, double y, double scaleX, double scaleY)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    int index = toInt(slot);
    const SpriteSlot* sprite = renderer->sprites.slot(index);
    if (!sprite) return;
    double imageWidth = sprite->imageWidth, imageHeight = sprite->imageHeight;
    double width = std::fabs(imageWidth * scaleX), height = std::fabs(imageHeight * scaleY);
    drawSpriteStretched(*renderer, index, float(x - (width - imageWidth) / 2),
                        float(y - (height - imageHeight) / 2), float(width), float(height));
}

void rtDrawSpriteRotated(double slot, double x, double y, double angle)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawSpriteRotated(*renderer, toInt(slot), float(x), float(y), float(angle), 1);
}

void rtDrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawSpriteRotated(*renderer, toInt(slot), float(x), float(y), float(angle), float(zoom));
}

double rtSpriteCollision(double slotA, double xA, double yA, double slotB, double xB, double yB)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return spriteCollision(*renderer, toInt(slotA), toInt(slotB), toInt(xA), toInt(yA), toInt(xB), toInt(yB))
               ? 1
               : 0;
}

void rtSpriteSize(double slot, double& width, double& height)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) {
        width = height = 0;
        return;
    }
    const SpriteSlot* sprite = renderer->sprites.slot(toInt(slot));
    width = sprite ? sprite->imageWidth : 0;
    height = sprite ? sprite->imageHeight : 0;
}
