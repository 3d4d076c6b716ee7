// The frame limiter: frames are shown on the engine's frame grid (see frame_grid.h). After a frame is
// presented the frame loop waits here for the next grid point, handing the window events that arrive
// meanwhile to the window procedure.
#pragma once

namespace rt {

// Starts the grid now, at the frame rate the game asked for at its entry.
void startFrameGrid();
// Waits until the next grid point and advances the grid. Returns the milliseconds spent waiting
// plus 1, never 0.
double waitForNextFrame();

} // namespace rt
