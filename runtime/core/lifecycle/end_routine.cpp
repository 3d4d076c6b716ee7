// The end routine and its fixed order of releases.
#include "runtime/core/lifecycle/end_routine.h"

#include <SDL.h>
#include <iterator>

#include "runtime/audio/sound_lifecycle.h"
#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/gfx2d/renderer_lifecycle.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/input/input_lifecycle.h"
#include "runtime/media/media.h"
#include "runtime/net/net_state.h"
#include "runtime/platform/window_sdl.h"

using namespace rt;

namespace rt {

static void closeMainWindow()
{
    SDL_Window* window = engine.window;
    engine.window = nullptr;
    destroyMainWindow(window);
    SDL_Quit();
}

// The system timer period needs no giving back on this platform.
static void (*const endSteps[])() = {
    closeMedia,              // music and movies stopped, their window closed
    logEndLines,             // debug mode only
    releaseScene3D,          // its GL objects go while the renderer's context lives
    releaseRenderer,         // the GL context; the desktop keeps its mode
    releaseInput,            //
    releaseSoundSystem,      // slots from the last to the first, then the mixer
    netShutdown,             // thread stopped, local players announced as leaving
    releaseArchiveResolvers, // media, then data: their temporary files are deleted
    releaseFiles,            // INI document, file channels, line file, libraries
    closeMainWindow,         // the window goes last
};

// The step running now. An end asked for again from inside a step (a close event while the window
// goes, a library that ends the game as it unloads) runs the rest of the routine from that same step:
// each step releases what is left of its part, so nothing is released twice and nothing is skipped.
static size_t currentStep = 0;

static void runEndRoutine()
{
    for (; currentStep < std::size(endSteps); ++currentStep)
        endSteps[currentStep]();
}

void installEngineEndRoutine()
{
    installEndRoutine(runEndRoutine);
}

} // namespace rt
