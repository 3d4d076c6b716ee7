// One table between SDL's scancodes (USB usage codes, named after the key's place on a US keyboard)
// and the runtime's key codes (the PC keyboard's scan code set, extended keys at 128 + their code).
#include "runtime/input/key_codes.h"

#include <array>
#include <utility>

using namespace rt;

namespace rt {

namespace {

constexpr std::pair<int, SDL_Scancode> keyTable[] = {
    {1, SDL_SCANCODE_ESCAPE},
    {2, SDL_SCANCODE_1},
    {3, SDL_SCANCODE_2},
    {4, SDL_SCANCODE_3},
    {5, SDL_SCANCODE_4},
    {6, SDL_SCANCODE_5},
    {7, SDL_SCANCODE_6},
    {8, SDL_SCANCODE_7},
    {9, SDL_SCANCODE_8},
    {10, SDL_SCANCODE_9},
    {11, SDL_SCANCODE_0},
    {12, SDL_SCANCODE_MINUS},
    {13, SDL_SCANCODE_EQUALS},
    {14, SDL_SCANCODE_BACKSPACE},
    {15, SDL_SCANCODE_TAB},
    {16, SDL_SCANCODE_Q},
    {17, SDL_SCANCODE_W},
    {18, SDL_SCANCODE_E},
    {19, SDL_SCANCODE_R},
    {20, SDL_SCANCODE_T},
    {21, SDL_SCANCODE_Y},
    {22, SDL_SCANCODE_U},
    {23, SDL_SCANCODE_I},
    {24, SDL_SCANCODE_O},
    {25, SDL_SCANCODE_P},
    {26, SDL_SCANCODE_LEFTBRACKET},
    {27, SDL_SCANCODE_RIGHTBRACKET},
    {28, SDL_SCANCODE_RETURN},
    {29, SDL_SCANCODE_LCTRL},
    {30, SDL_SCANCODE_A},
    {31, SDL_SCANCODE_S},
    {32, SDL_SCANCODE_D},
    {33, SDL_SCANCODE_F},
    {34, SDL_SCANCODE_G},
    {35, SDL_SCANCODE_H},
    {36, SDL_SCANCODE_J},
    {37, SDL_SCANCODE_K},
    {38, SDL_SCANCODE_L},
    {39, SDL_SCANCODE_SEMICOLON},
    {40, SDL_SCANCODE_APOSTROPHE},
    {41, SDL_SCANCODE_GRAVE},
    {42, SDL_SCANCODE_LSHIFT},
    {43, SDL_SCANCODE_BACKSLASH},
    {44, SDL_SCANCODE_Z},
    {45, SDL_SCANCODE_X},
    {46, SDL_SCANCODE_C},
    {47, SDL_SCANCODE_V},
    {48, SDL_SCANCODE_B},
    {49, SDL_SCANCODE_N},
    {50, SDL_SCANCODE_M},
    {51, SDL_SCANCODE_COMMA},
    {52, SDL_SCANCODE_PERIOD},
    {53, SDL_SCANCODE_SLASH},
    {54, SDL_SCANCODE_RSHIFT},
    {55, SDL_SCANCODE_KP_MULTIPLY},
    {56, SDL_SCANCODE_LALT},
    {57, SDL_SCANCODE_SPACE},
    {58, SDL_SCANCODE_CAPSLOCK},
    {59, SDL_SCANCODE_F1},
    {60, SDL_SCANCODE_F2},
    {61, SDL_SCANCODE_F3},
    {62, SDL_SCANCODE_F4},
    {63, SDL_SCANCODE_F5},
    {64, SDL_SCANCODE_F6},
    {65, SDL_SCANCODE_F7},
    {66, SDL_SCANCODE_F8},
    {67, SDL_SCANCODE_F9},
    {68, SDL_SCANCODE_F10},
    {69, SDL_SCANCODE_NUMLOCKCLEAR},
    {70, SDL_SCANCODE_SCROLLLOCK},
    {71, SDL_SCANCODE_KP_7},
    {72, SDL_SCANCODE_KP_8},
    {73, SDL_SCANCODE_KP_9},
    {74, SDL_SCANCODE_KP_MINUS},
    {75, SDL_SCANCODE_KP_4},
    {76, SDL_SCANCODE_KP_5},
    {77, SDL_SCANCODE_KP_6},
    {78, SDL_SCANCODE_KP_PLUS},
    {79, SDL_SCANCODE_KP_1},
    {80, SDL_SCANCODE_KP_2},
    {81, SDL_SCANCODE_KP_3},
    {82, SDL_SCANCODE_KP_0},
    {83, SDL_SCANCODE_KP_PERIOD},
    {86, SDL_SCANCODE_NONUSBACKSLASH}, // the extra key left of Z on European keyboards
    {87, SDL_SCANCODE_F11},
    {88, SDL_SCANCODE_F12},
    {100, SDL_SCANCODE_F13},
    {101, SDL_SCANCODE_F14},
    {102, SDL_SCANCODE_F15},
    {112, SDL_SCANCODE_INTERNATIONAL2}, // Kana
    {115, SDL_SCANCODE_INTERNATIONAL1}, // the Brazilian and Japanese / key
    {121, SDL_SCANCODE_INTERNATIONAL4}, // Convert
    {123, SDL_SCANCODE_INTERNATIONAL5}, // No convert
    {125, SDL_SCANCODE_INTERNATIONAL3}, // Yen
    {126, SDL_SCANCODE_KP_COMMA},       // the Brazilian keypad's period
    {141, SDL_SCANCODE_KP_EQUALS},
    {156, SDL_SCANCODE_KP_ENTER},
    {157, SDL_SCANCODE_RCTRL},
    {160, SDL_SCANCODE_MUTE},
    {174, SDL_SCANCODE_VOLUMEDOWN},
    {176, SDL_SCANCODE_VOLUMEUP},
    {181, SDL_SCANCODE_KP_DIVIDE},
    {183, SDL_SCANCODE_PRINTSCREEN},
    {184, SDL_SCANCODE_RALT},
    {197, SDL_SCANCODE_PAUSE},
    {199, SDL_SCANCODE_HOME},
    {200, SDL_SCANCODE_UP},
    {201, SDL_SCANCODE_PAGEUP},
    {203, SDL_SCANCODE_LEFT},
    {205, SDL_SCANCODE_RIGHT},
    {207, SDL_SCANCODE_END},
    {208, SDL_SCANCODE_DOWN},
    {209, SDL_SCANCODE_PAGEDOWN},
    {210, SDL_SCANCODE_INSERT},
    {211, SDL_SCANCODE_DELETE},
    {219, SDL_SCANCODE_LGUI},
    {220, SDL_SCANCODE_RGUI},
    {221, SDL_SCANCODE_APPLICATION},
    {222, SDL_SCANCODE_POWER},
    {223, SDL_SCANCODE_SLEEP},
};

struct KeyMaps
{
    std::array<unsigned char, SDL_NUM_SCANCODES> codeOfScancode{};
    std::array<SDL_Scancode, 256> scancodeOfCode{};
};

constexpr KeyMaps makeKeyMaps()
{
    KeyMaps maps;
    for (SDL_Scancode& scancode : maps.scancodeOfCode)
        scancode = SDL_SCANCODE_UNKNOWN;
    for (auto [code, scancode] : keyTable) {
        maps.codeOfScancode[scancode] = (unsigned char)code;
        maps.scancodeOfCode[code] = scancode;
    }
    return maps;
}

constexpr KeyMaps keyMaps = makeKeyMaps();

} // namespace

int keyCodeOfScancode(SDL_Scancode scancode)
{
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    return keyMaps.codeOfScancode[scancode];
}

SDL_Scancode scancodeOfKeyCode(int code)
{
    if (code < 0 || code > 255) return SDL_SCANCODE_UNKNOWN;
    return keyMaps.scancodeOfCode[code];
}

} // namespace rt
