// The runtime's key codes: the keyboard scan code set (1 Escape, 28 Return, 57 Space, 200, 208, 203,
// 205 the arrows, 156 keypad Enter, 184 right Alt, ...), and their mapping to SDL's scancodes.
#pragma once

#include <SDL_scancode.h>

namespace rt {

constexpr int keyEscape = 1;
constexpr int keyBackspace = 14;
constexpr int keyReturn = 28;
constexpr int keyLeftCtrl = 29;
constexpr int keyLeftShift = 42;
constexpr int keyRightShift = 54;
constexpr int keyLeftAlt = 56;
constexpr int keySpace = 57;
constexpr int keyCapsLock = 58;
constexpr int keyF4 = 62;
constexpr int keyNumLock = 69;
constexpr int keyKeypadEnter = 156;
constexpr int keyMenu = 221;

// The runtime key code of an SDL scancode; 0 for keys that have none.
int keyCodeOfScancode(SDL_Scancode scancode);
// The SDL scancode of a runtime key code (0..255); SDL_SCANCODE_UNKNOWN for codes without a key.
SDL_Scancode scancodeOfKeyCode(int code);

} // namespace rt
