// Window events handed to the installed window procedure.
#include "runtime/core/window_events.h"

#include <SDL.h>

using namespace rt;

namespace rt {

static void (*windowProcedure)(const SDL_Event& event) = nullptr;

void installWindowProcedure(void (*procedure)(const SDL_Event& event))
{
    windowProcedure = procedure;
}

bool rtDispatchOneMessage()
{
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return false;
    if (windowProcedure) windowProcedure(event);
    return true;
}

int rtPumpMessages()
{
    while (rtDispatchOneMessage()) {
    }
    return 1;
}

static void (*windowStepAside)() = nullptr;
static void (*windowComeBack)() = nullptr;

void installDialogWindowSteps(void (*stepAside)(), void (*comeBack)())
{
    windowStepAside = stepAside;
    windowComeBack = comeBack;
}

void stepWindowAsideForDialog()
{
    if (windowStepAside) windowStepAside();
}

void bringWindowBackAfterDialog()
{
    if (windowComeBack) windowComeBack();
}

} // namespace rt
