// The background picture and saving commands. Loading resolves names through the data resolver;
// saving writes to the name as given.
#include "runtime/core/engine_state.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/data_files.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/primitives.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/platform/clock.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

static constexpr double fadeMs = 1500;

} // namespace rt

void rtLoadBackground(const RtString& file)
{
    OpenGLRainbows* started = startedRenderer(__func__);
    if (!started) return;
    OpenGLRainbows& renderer = *started;
    char path[resolvedPathCapacity];
    if (resolveDataName(file, path, "background")) {
        if (loadBackgroundPicture(renderer, 0, path)) {
            drawBackgroundPicture(renderer, 0);
            return;
        }
        rt::logLoadFailure("background", file.c_str(), rt::LoadFailure::Undecodable);
    }
    freeBackgroundPicture(renderer, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

double rtFadeInBackground(const RtString& file)
{
    OpenGLRainbows* started = startedRenderer(__func__);
    if (!started) return 0;
    OpenGLRainbows& renderer = *started;
    char path[resolvedPathCapacity];
    if (!resolveDataName(file, path, "background")) return 0;
    if (!loadBackgroundPicture(renderer, 1, path))
        rt::logLoadFailure("background", file.c_str(), rt::LoadFailure::Undecodable);
    freeBackgroundPicture(renderer, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    // Brighten the new picture over black, added at a rising intensity, for 1.5 seconds.
    double end = nowMs() + fadeMs, remaining = 0.9;
    do {
        setAlphaMode(renderer, float(1 - remaining));
        drawBackgroundPicture(renderer, 1);
        rtShowFrame();
        remaining = (end - nowMs()) / fadeMs;
    } while (remaining > 0 && remaining < 1);
    setAlphaMode(renderer, 0);
    drawBackgroundPicture(renderer, 1);
    rtShowFrame();
    freeBackgroundPicture(renderer, 1);
    return loadBackgroundPicture(renderer, 0, path) ? 1 : 0;
}

void rtGrabBackground()
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    grabScreenToBackground(*renderer, 0);
}

double rtSaveScreen(const RtString& file)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return saveScreen(*renderer, file.c_str()) ? 1 : 0;
}

double rtSaveSprite(double slot, const RtString& file)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return saveSprite(*renderer, toInt(slot), file.c_str()) ? 1 : 0;
}
