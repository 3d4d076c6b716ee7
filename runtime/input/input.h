// InputContext: keyboard, mouse and joysticks, polled (nothing reaches the game as an event). The
// frame presenter refreshes the keyboard and marks a new mouse frame once per frame; commands refresh
// again where they need fresh values. Keys are named by the runtime's key codes (key_codes.h).
#pragma once

#include <SDL.h>
#include <algorithm>
#include <cstdint>
#include <iterator>

namespace rt {

constexpr int maxJoysticks = 10;
constexpr int joystickNameSize = 522; // bytes, terminator included
constexpr uint32_t hatCentred = 0xFFFFFFFF;

// One mouse reading. Buttons are non-zero while pressed; wheel is -1, 0 or 1.
struct MouseSample
{
    int16_t left = 0, right = 0, middle = 0;
    int16_t dx = 0, dy = 0, wheel = 0;
};

// What the system reports about the pointer when the mouse is read.
struct PointerReading
{
    int x = 0, y = 0;   // the pointer in game screen pixels (used in system pointer mode)
    int dx = 0, dy = 0; // relative motion since the last frame's reading (used in exclusive mode)
    int wheel = 0;      // wheel steps since the last frame's reading, away from the user positive
    bool left = false, right = false, middle = false;
};

// One joystick reading: six axes (-32768..32767 at the ends), two sliders, four hats in hundredths
// of a degree clockwise from up (hatCentred when released), 32 buttons (128 while pressed).
struct JoystickState
{
    int32_t x = 0, y = 0, z = 0, rx = 0, ry = 0, rz = 0;
    int32_t sliders[2] = {};
    uint32_t hats[4] = {hatCentred, hatCentred, hatCentred, hatCentred};
    uint8_t buttons[32] = {};
};

// An axis reading as -1..1: divided by 32767 and clamped.
inline double joystickAxisValue(int32_t raw)
{
    return std::clamp(raw / 32767.0, -1.0, 1.0);
}

struct InputContext
{
    InputContext() { std::fill(std::begin(textOfKey), std::end(textOfKey), noTextYet); }
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;
    // Closes the joysticks, gives the pointer back and stops listening to the wheel.
    ~InputContext();

    // Starts keyboard, mouse and joysticks for the window. With exclusiveMouse the pointer is captured
    // (relative motion, no system pointer); problems are logged ("No DX_KB", "No DX_Mouse",
    // "No DX_Input") and the program goes on.
    void setUp(SDL_Window* gameWindow, bool exclusiveMouse);

    // Reads the keyboard into the key states.
    void refreshKeyboard();
    // Whether a key (0..255) was down at the last refresh.
    bool keyDown(int code) const { return code >= 0 && code < 256 && (keyStates[code] & 0x80); }
    // The next mouse read measures the motion of a new frame.
    void markNewFrame() { newFrameMark = true; }

    // Reads the mouse. The first read after a frame mark measures the frame's motion (dx, dy, wheel)
    // and moves the tracked position; later reads in the frame report the same motion. status is 0
    // when the pointer had to be captured again (the sample is then empty), else 1.
    MouseSample readMouse(int* status = nullptr);
    // The frame logic of readMouse over a reading of the system pointer.
    MouseSample applyPointerReading(const PointerReading& reading);
    // Whether any of the three mouse buttons is down.
    bool anyButtonDown();
    // Switches between the visible system pointer (on) and captured relative motion (off).
    void setSystemPointer(bool on);

    // A joystick's state; indexes without a joystick read as released and centred.
    JoystickState readJoystick(int index);
    // Plays a constant force on a force-feedback joystick for durationMs, direction and strength from
    // x and y (each -1..1); nothing happens for other joysticks.
    void playForce(int index, int durationMs, double x, double y);

    // Refreshes the keyboard and returns the character of the first key (lowest code) that is down:
    // 8 for Backspace, 10 for Return, the printable character the system's text input made of its
    // press (Shift and the layout applied), else 0. A character equal to the one reported last gives
    // 0, so a held key types once.
    int typedCharacter();
    // The same scan over the key states as they are, without refreshing them.
    int scanTypedCharacter();
    // Whether a new character key is down (the same scan and memory as typedCharacter).
    bool characterKeyDown() { return typedCharacter() != 0; }

    int mouseX = 100, mouseY = 100; // tracked position, game screen pixels
    bool keyboardReady = false;     // the keyboard is read through SDL's key state
    bool mouseCaptured = false;     // exclusive mouse asked for at set-up: relative motion and the wheel
    SDL_Joystick* joysticks[maxJoysticks] = {};
    SDL_Haptic* haptics[maxJoysticks] = {}; // opened by the first force on the joystick
    int forceEffects[maxJoysticks] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}; // last effect, -1 = none
    char joystickNames[maxJoysticks][joystickNameSize] = {};
    SDL_Window* window = nullptr;
    uint8_t keyStates[256] = {}; // bit 7 set = down
    bool systemPointerMode = false;
    int joystickCount = 0;
    bool newFrameMark = true;
    int16_t frameDx = 0, frameDy = 0, frameWheel = 0; // motion of the current frame
    int wheelSteps = 0;                               // wheel events since the last frame's reading
    int lastTypedCharacter = 0; // what the typed-character scan reported last, 0 after an idle scan

    // What each key's latest press typed through the system's text input (0 = nothing printable), or
    // noTextYet while none came; fed by the event watch as the keyboard refresh pumps events.
    static constexpr int16_t noTextYet = -1;
    int16_t textOfKey[256];
    int lastPressedKey = 0; // key code of the latest press, which the next text belongs to
    void notePressedKey(int code);
    void noteTypedText(const char* text);

  private:
    int characterOfKey(int code) const;
    PointerReading readPointer();
    static int SDLCALL watchEvent(void* context, SDL_Event* event);
    bool joystickSubsystem = false, hapticSubsystem = false, eventSubsystem = false;
};

// The input context for a command, or null (after one line on standard error) before start-up created
// it or after the end routine released it.
InputContext* startedInput(const char* command);

} // namespace rt
