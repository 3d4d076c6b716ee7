// The mapping between the runtime's key codes (named in keys.h) and SDL's scancodes.
#pragma once

#include "runtime/input/keys.h"

#include <SDL_scancode.h>

namespace rt {

// The runtime key code of an SDL scancode; 0 for keys that have none.
int keyCodeOfScancode(SDL_Scancode scancode);
// The SDL scancode of a runtime key code (0..255); SDL_SCANCODE_UNKNOWN for codes without a key.
SDL_Scancode scancodeOfKeyCode(int code);

} // namespace rt
