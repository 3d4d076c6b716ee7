// The window procedure: what the runtime does with the main window's events.
#pragma once

union SDL_Event;

namespace rt {

// Focus lost: pause with " <pause>" after the title (not in debug mode); focus gained: resume;
// close request or quit: the end routine. Everything else is left to SDL.
void rtWindowProc(const SDL_Event& event);
// While paused: pump events, then sleep 100 ms, and look again.
void rtWaitWhilePaused();

} // namespace rt
