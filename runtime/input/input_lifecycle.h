// The input system's share of start-up, of every frame and of the end routine.
#pragma once

namespace rt {

// The input context, not yet listening to any device.
void createInputContext();
// Keyboard, mouse and joysticks for the main window, the mouse captured when the entry asked for it.
void startInput();
// This frame's input: fresh key states and a new mouse frame. Escape (while it ends the game) and
// Left Alt + F4 end the program.
void pollInputForFrame();
// Closes the devices and deletes the input context.
void releaseInput();

} // namespace rt
