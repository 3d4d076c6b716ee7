// The unit tests run without a display or a sound device: SDL's dummy drivers, unless the caller
// chose others. ctest's per-test environment carries only the first of several variables through
// test discovery, so the program sets its own defaults before any test starts SDL.
#include <cstdlib>

namespace {

const bool dummyDrivers = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("RT_UNATTENDED", "1", 0);
    return true;
}();

} // namespace
