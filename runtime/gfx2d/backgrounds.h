// Background pictures: loading into tiles, drawing them from the viewport's top-left corner, grabbing
// the screen into them. Picture numbers outside 0..15 are ignored.
#pragma once

namespace rt {

class OpenGLRainbows;

// Decodes the file (no colour key) into tiles of min(GL_MAX_TEXTURE_SIZE, 512); edge tiles are whole
// tiles, transparent beyond the picture. False, and the old picture kept, when it cannot be decoded.
bool loadBackgroundPicture(OpenGLRainbows& renderer, int picture, const char* path);
// Deletes the tiles' textures (while the context is ready) and empties the picture.
void freeBackgroundPicture(OpenGLRainbows& renderer, int picture);
// Draws the tiles with the current colour and blend mode; an empty picture draws nothing.
void drawBackgroundPicture(OpenGLRainbows& renderer, int picture);
// Copies the whole screen into the picture's tiles.
void grabScreenToBackground(OpenGLRainbows& renderer, int picture);

} // namespace rt
