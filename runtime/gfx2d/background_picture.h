// BackgroundPicture: a picture larger than a texture, held as a grid of up to 64 × 64 tiles. An empty
// picture has every field 0: BackgroundPicture{} is one. The tables are left uninitialised by a plain
// declaration, so that the renderer's pictures stay the untouched zero pages it was allocated as.
#pragma once

#include <SDL_opengl.h>

namespace rt {

constexpr int backgroundPictureCount = 16; // picture 0 is the screen background, 1 is scratch space
constexpr int maxBackgroundTiles = 64;     // tile columns and rows at most

struct BackgroundPicture
{
    // Tile at column c and row r is entry c × 64 + r.
    GLuint tileTextures[maxBackgroundTiles * maxBackgroundTiles];
    int tileTextureWidths[maxBackgroundTiles * maxBackgroundTiles];
    int tileTextureHeights[maxBackgroundTiles * maxBackgroundTiles];
    int tileWidths[maxBackgroundTiles * maxBackgroundTiles];  // pixels of the tile that carry picture
    int tileHeights[maxBackgroundTiles * maxBackgroundTiles]; // as above
    int columns = 0;                                          // tile columns in use
    int rows = 0;                                             // tile rows in use
};

} // namespace rt
