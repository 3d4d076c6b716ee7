// Setting OpenGL state only where it differs from what was set last.
#include "runtime/gfx2d/gl_state.h"

#include "runtime/gfx2d/gl_functions.h"

namespace rt {

void GlStateCache::forget()
{
    *this = GlStateCache{};
}

void GlStateCache::selectUnit(int unit)
{
    if (activeUnit == unit) return;
    if (multitextureAvailable()) glActiveTextureARB_(unit == 0 ? GL_TEXTURE0_ARB : GL_TEXTURE1_ARB);
    activeUnit = unit;
}

void GlStateCache::setCapability(int& known, GLenum capability, bool on)
{
    if (known == int(on)) return;
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
    known = on;
}

void GlStateCache::setTexturing(int unit, bool on)
{
    if (texturing[unit] == int(on)) return;
    if (unit == 1 && !multitextureAvailable()) return; // there is no second unit to switch
    selectUnit(unit);
    setCapability(texturing[unit], GL_TEXTURE_2D, on);
    selectUnit(0);
}

void GlStateCache::bindTexture(int unit, GLuint texture)
{
    if (boundTexture[unit] == int64_t(texture)) return;
    if (unit == 1 && !multitextureAvailable()) return;
    selectUnit(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    boundTexture[unit] = texture;
    selectUnit(0);
}

void GlStateCache::textureDeleted(GLuint texture)
{
    for (int64_t& bound : boundTexture)
        if (bound == int64_t(texture)) bound = unknown;
}

void GlStateCache::setAlphaTest(bool on)
{
    setCapability(alphaTest, GL_ALPHA_TEST, on);
}

void GlStateCache::setBlending(bool on)
{
    setCapability(blending, GL_BLEND, on);
}

void GlStateCache::setBlendFunction(GLenum source, GLenum destination)
{
    if (blendSource == source && blendDestination == destination) return;
    glBlendFunc(source, destination);
    blendSource = source;
    blendDestination = destination;
}

void GlStateCache::setColourMaterial(bool on)
{
    setCapability(colourMaterial, GL_COLOR_MATERIAL, on);
}

void GlStateCache::setTextureReplace(bool replace)
{
    if (textureReplace == int(replace)) return;
    selectUnit(0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, replace ? GL_REPLACE : GL_MODULATE);
    textureReplace = replace;
}

void GlStateCache::setMatrixMode(GLenum mode)
{
    if (matrixMode == mode) return;
    glMatrixMode(mode);
    matrixMode = mode;
}

} // namespace rt
