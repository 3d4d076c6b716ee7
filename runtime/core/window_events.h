// Window events for code that waits: the frame wait, the input waits and any other blocking command
// hand the main window's waiting events to the window procedure start-up installed.
#pragma once

union SDL_Event;

namespace rt {

// Start-up installs the window procedure; until then waiting events are taken and dropped.
void installWindowProcedure(void (*procedure)(const SDL_Event& event));
// Hands every waiting event to the window procedure; returns 1 (it never reports a quit).
int rtPumpMessages();
// Hands at most one waiting event to the window procedure; false when none was waiting.
bool rtDispatchOneMessage();

// A dialog of another program (a file chooser) needs the screen: the main window steps aside before
// and comes back in its screen mode after. Start-up installs how; before that nothing happens.
void installDialogWindowSteps(void (*stepAside)(), void (*comeBack)());
void stepWindowAsideForDialog();
void bringWindowBackAfterDialog();

} // namespace rt
