// The font and text commands. Font numbers from game code are held to 0..15.
#include "runtime/core/engine_state.h"
#include "runtime/files/load_failure_log.h"
#include "runtime/gfx2d/data_files.h"
#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

using namespace rt;

void rtPrint(const RtString& text, double x, double y)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawText(*renderer, engine.currentFont, text.c_str(), float(x), float(y), 0);
}

void rtPrintNumber(double number, double x, double y)
{
    rtPrint(RtString(number), x, y);
}

void rtSetFont(double font)
{
    engine.currentFont = clampFont(toInt(font));
}

// Selects the font and loads the file into it, or the built-in font when it cannot be loaded; a failure
// is logged only when logged is true.
static void selectAndLoadFont(const char* command, const RtString& file, double font, bool logged)
{
    OpenGLRainbows* renderer = startedRenderer(command);
    if (!renderer) return;
    engine.currentFont = clampFont(toInt(font));
    char path[resolvedPathCapacity];
    if (resolveDataName(file, path, logged ? "font" : nullptr)) {
        if (loadFont(*renderer, engine.currentFont, path)) return;
        if (logged) rt::logLoadFailure("font", file.c_str(), rt::LoadFailure::Undecodable);
    }
    installBuiltinFont(*renderer, engine.currentFont);
}

void rtLoadFont(const RtString& file, double font)
{
    selectAndLoadFont(__func__, file, font, true);
}

void rt::loadDefaultFont(const RtString& file)
{
    selectAndLoadFont("rtLoadFont", file, 0, false);
}

void rtFontSize(double& width, double& height)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) {
        width = height = 0;
        return;
    }
    int cellWidth, cellHeight;
    fontCellSize(*renderer, engine.currentFont, cellWidth, cellHeight);
    width = cellWidth;
    height = cellHeight;
}
