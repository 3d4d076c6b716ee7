// The renderer's share of start-up, of every frame and of the end routine.
#pragma once

namespace rt {

// Creates the renderer and attaches OpenGL to the main window at the engine's screen size and frame
// rate. False when no usable context could be made.
bool startRenderer();
// Full screen or windowed, as the game asked at its entry (also after a dialog).
void enterStartScreenMode();
// The window hidden (out of full screen) while a dialog of another program is open.
void hideWindowForDialog();
// A fresh frame: blending off, full intensity and white, background picture 0 drawn, the whole screen
// as viewport.
void beginNextFrame2D();
// Deletes the renderer: the GL context and every texture go.
void releaseRenderer();

} // namespace rt
