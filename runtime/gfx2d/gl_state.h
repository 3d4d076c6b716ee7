// The renderer's record of the OpenGL states that 2D drawing switches often: texture units, bound
// textures, the texture function, alpha test, blending, colour material and the matrix mode. A draw
// asks for the state it needs and only what differs from the record reaches OpenGL. Every state
// change between two draws makes the driver end its batch of vertices (a software driver even builds
// fresh state for each batch), so a run of sprites, glyphs or primitives sharing one state must not
// set it again.
//
// The record is true only while every change of these states goes through it. Code that calls OpenGL
// directly for them calls forget() afterwards; each state is then set again on its next request.
// Texture unit 0 is the active unit after every call.
#pragma once

#include <SDL_opengl.h>

#include <cstdint>

namespace rt {

class GlStateCache
{
  public:
    // Nothing known: the next request of every state issues its GL call.
    void forget();

    void setTexturing(int unit, bool on);
    void bindTexture(int unit, GLuint texture);
    // GL unbinds a texture that is deleted while bound: it no longer counts as bound.
    void textureDeleted(GLuint texture);
    void setAlphaTest(bool on);
    void setBlending(bool on);
    void setBlendFunction(GLenum source, GLenum destination);
    void setColourMaterial(bool on);
    void setMatrixMode(GLenum mode);
    // Unit 0's texture function: the texture alone (GL_REPLACE) or the texture times the current colour
    // (GL_MODULATE, GL's own setting). While the colour is white both give the same pixels, and a
    // software driver shades the texture alone about a fifth faster.
    void setTextureReplace(bool replace);

  private:
    static constexpr int unknown = -1;
    void selectUnit(int unit);
    static void setCapability(int& known, GLenum capability, bool on);

    int activeUnit = unknown;
    int texturing[2] = {unknown, unknown};        // GL_TEXTURE_2D per unit: 0, 1 or unknown
    int64_t boundTexture[2] = {unknown, unknown}; // texture name per unit, or unknown
    int alphaTest = unknown;
    int blending = unknown;
    GLenum blendSource = 0, blendDestination = 0; // 0 = unknown
    int colourMaterial = unknown;
    int textureReplace = unknown;
    GLenum matrixMode = 0; // 0 = unknown
};

} // namespace rt
