// The font and text commands. Font numbers from game code are held to 0..15.
#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/data_files.h"
#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

using namespace rt;

void rtPrint(const RtString& text, double x, double y)
{
    drawText(*engine.renderer, engine.currentFont, text.c_str(), float(x), float(y), 0);
}

void rtPrintNumber(double number, double x, double y)
{
    rtPrint(RtString(number), x, y);
}

void rtSetFont(double font)
{
    engine.currentFont = clampFont(toInt(font));
}

void rtLoadFont(const RtString& file, double font)
{
    engine.currentFont = clampFont(toInt(font));
    char path[resolvedPathCapacity];
    if (resolveDataName(file, path) && loadFont(*engine.renderer, engine.currentFont, path)) return;
    installBuiltinFont(*engine.renderer, engine.currentFont);
}

void rtFontSize(double& width, double& height)
{
    int cellWidth, cellHeight;
    fontCellSize(*engine.renderer, engine.currentFont, cellWidth, cellHeight);
    width = cellWidth;
    height = cellHeight;
}
