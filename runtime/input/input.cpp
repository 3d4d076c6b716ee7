// The input context over SDL: keyboard state, the pointer in system or relative mode, joysticks and
// their force feedback, and the typed-character scan.
#include "runtime/input/input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/key_codes.h"

using namespace rt;

namespace rt {

// ---- Set-up and release

void InputContext::setUp(SDL_Window* gameWindow, bool exclusiveMouse)
{
    window = gameWindow;

    eventSubsystem = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    keyboardReady = eventSubsystem;
    if (!keyboardReady) rtLogError("No DX_KB");
    SDL_StartTextInput(); // typed characters come from the system's text input

    PointerReading start = readPointer(); // the tracked position starts at the system pointer
    mouseX = start.x;
    mouseY = start.y;
    newFrameMark = true;
    if (exclusiveMouse) {
        systemPointerMode = false;
        mouseCaptured = true;
        if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) rtLogError("No DX_Mouse");
    } else {
        systemPointerMode = true;
    }
    SDL_GetRelativeMouseState(nullptr, nullptr); // motion before start-up is not the game's
    SDL_AddEventWatch(watchEvent, this);

    joystickSubsystem = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!joystickSubsystem) {
        rtLogError("No DX_Input");
        return;
    }
    hapticSubsystem = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
    // Joysticks in the system's order; one that cannot be opened is skipped.
    int attached = SDL_NumJoysticks();
    for (int device = 0; device < attached && joystickCount < maxJoysticks; ++device) {
        SDL_Joystick* joystick = SDL_JoystickOpen(device);
        if (!joystick) continue;
        const char* name = SDL_JoystickName(joystick);
        if (!name) name = "";
        // The device's own name, then its product name: SDL knows one name for both.
        snprintf(joystickNames[joystickCount], joystickNameSize, "%s, %s", name, name);
        joysticks[joystickCount++] = joystick;
    }
}

InputContext::~InputContext()
{
    if (eventSubsystem) SDL_DelEventWatch(watchEvent, this);
    for (int i = 0; i < maxJoysticks; ++i) {
        if (haptics[i]) SDL_HapticClose(haptics[i]);
        if (joysticks[i]) SDL_JoystickClose(joysticks[i]);
    }
    if (SDL_GetRelativeMouseMode()) SDL_SetRelativeMouseMode(SDL_FALSE);
    if (hapticSubsystem) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
    if (joystickSubsystem) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (eventSubsystem) SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// Wheel steps and typed text arrive only as events: taken here as they are queued (during the pump of
// a keyboard refresh), read by the frame's mouse read and the typed-character scan.
int SDLCALL InputContext::watchEvent(void* context, SDL_Event* event)
{
    auto& input = *static_cast<InputContext*>(context);
    switch (event->type) {
    case SDL_MOUSEWHEEL: {
        int steps = event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event->wheel.y : event->wheel.y;
        input.wheelSteps = std::clamp(input.wheelSteps + steps, -1000000, 1000000);
        break;
    }
    case SDL_KEYDOWN: // repeats too: SDL reports a quick new press of a key as a repeat
        input.notePressedKey(keyCodeOfScancode(event->key.keysym.scancode));
        break;
    case SDL_TEXTINPUT:
        input.noteTypedText(event->text.text);
        break;
    default:
        break;
    }
    return 1;
}

void InputContext::notePressedKey(int code)
{
    lastPressedKey = code;
    if (code > 0) textOfKey[code] = noTextYet;
}

// The system's text input turns a press into what is printed on the key for the layout and the
// modifiers held ("!" for Shift and 1). It belongs to the key pressed last; text that is not one
// printable ASCII character (accented letters, composed input) types nothing.
void InputContext::noteTypedText(const char* text)
{
    if (lastPressedKey <= 0) return;
    bool printable = text[0] >= 32 && text[0] < 127 && text[1] == 0;
    textOfKey[lastPressedKey] = printable ? text[0] : 0;
}

// ---- Keyboard

void InputContext::refreshKeyboard()
{
    if (!keyboardReady) return;
    SDL_PumpEvents(); // updates the key state; the events themselves wait for the next message pump
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int code = 0; code < 256; ++code) {
        SDL_Scancode scancode = scancodeOfKeyCode(code);
        keyStates[code] = scancode != SDL_SCANCODE_UNKNOWN && scancode < count && state[scancode] ? 0x80 : 0;
    }
}

// The character a key types: Backspace and Return are 8 and 10, modifier and lock keys type nothing,
// every other key the text its press brought, or, when no text came with it, what the keyboard layout
// gives the key on its own when that is printable ASCII (a capital letter with Shift).
int InputContext::characterOfKey(int code) const
{
    switch (code) {
    case rtKeyBackspace:
        return 8;
    case rtKeyReturn:
    case rtKeyKeypadEnter:
        return 10;
    case rtKeyLeftCtrl:
    case rtKeyLeftShift:
    case rtKeyRightShift:
    case rtKeyLeftAlt:
    case rtKeyCapsLock:
    case rtKeyNumLock:
    case rtKeyMenu:
        return 0;
    default:
        break;
    }
    // The key's text as typed, else its key on the layout; a Shift held now makes a letter a capital
    // either way, also when it went down after the letter.
    int key = textOfKey[code];
    if (key == noTextYet) {
        SDL_Scancode scancode = scancodeOfKeyCode(code);
        if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
        SDL_Keycode layoutKey = SDL_GetKeyFromScancode(scancode);
        if (layoutKey < 32 || layoutKey >= 127) return 0;
        key = int(layoutKey);
    }
    if ((keyDown(rtKeyLeftShift) || keyDown(rtKeyRightShift)) && key >= 'a' && key <= 'z') key -= 32;
    return key;
}

int InputContext::typedCharacter()
{
    refreshKeyboard();
    return scanTypedCharacter();
}

int InputContext::scanTypedCharacter()
{
    int character = 0;
    for (int code = 0; code < 255 && character == 0; ++code)
        if (keyDown(code)) character = characterOfKey(code);
    if (character == 0) {
        lastTypedCharacter = 0;
        return 0;
    }
    if (character == lastTypedCharacter) return 0;
    lastTypedCharacter = character;
    return character;
}

// ---- Mouse

// The game screen's size and where it lands in the window.
static void screenGeometry(SDL_Window* window, int& width, int& height, SDL_Rect& place)
{
    width = engine.renderer ? engine.renderer->screenWidth : engine.screenWidth;
    height = engine.renderer ? engine.renderer->screenHeight : engine.screenHeight;
    int windowWidth = width, windowHeight = height;
    if (window) SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    place = screenPlaceInWindow(width, height, windowWidth, windowHeight);
}

PointerReading InputContext::readPointer()
{
    PointerReading reading;
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    reading.left = buttons & SDL_BUTTON_LMASK;
    reading.right = buttons & SDL_BUTTON_RMASK;
    reading.middle = buttons & SDL_BUTTON_MMASK;
    if (!newFrameMark) return reading; // position and motion are measured once per frame

    int globalX, globalY, windowX = 0, windowY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    if (window) SDL_GetWindowPosition(window, &windowX, &windowY);
    int width, height;
    SDL_Rect place;
    screenGeometry(window, width, height, place);
    reading.x = int(std::floor(double(globalX - windowX - place.x) * width / place.w));
    reading.y = int(std::floor(double(globalY - windowY - place.y) * height / place.h));
    SDL_GetRelativeMouseState(&reading.dx, &reading.dy);
    reading.wheel = wheelSteps;
    wheelSteps = 0;
    return reading;
}

MouseSample InputContext::readMouse(int* status)
{
    if (status) *status = 1;
    // A capture that was lost (or never granted) is asked for again; this read then reports nothing.
    if (mouseCaptured && !systemPointerMode && !SDL_GetRelativeMouseMode()) {
        SDL_SetRelativeMouseMode(SDL_TRUE);
        if (status) *status = 0;
        return MouseSample{};
    }
    return applyPointerReading(readPointer());
}

MouseSample InputContext::applyPointerReading(const PointerReading& reading)
{
    MouseSample sample;
    if (newFrameMark) {
        newFrameMark = false;
        // The wheel is counted with the captured mouse only.
        frameWheel = !mouseCaptured || reading.wheel == 0 ? 0 : reading.wheel > 0 ? 1 : -1;
        if (systemPointerMode) {
            frameDx = int16_t(reading.x - mouseX);
            frameDy = int16_t(reading.y - mouseY);
            mouseX = reading.x;
            mouseY = reading.y;
        } else {
            frameDx = int16_t(reading.dx);
            frameDy = int16_t(reading.dy);
            mouseX += frameDx;
            mouseY += frameDy;
        }
    }
    sample.dx = frameDx;
    sample.dy = frameDy;
    sample.wheel = frameWheel;
    sample.left = reading.left;
    sample.right = reading.right;
    sample.middle = reading.middle;
    return sample;
}

bool InputContext::anyButtonDown()
{
    MouseSample sample = readMouse();
    return sample.left || sample.right || sample.middle;
}

void InputContext::setSystemPointer(bool on)
{
    if (on == systemPointerMode) return;
    systemPointerMode = on;
    SDL_GetRelativeMouseState(nullptr, nullptr); // motion so far belongs to the old mode
    SDL_SetRelativeMouseMode(on ? SDL_FALSE : SDL_TRUE);
    if (!on) return;
    // The visible pointer appears where the game's pointer was.
    int width, height;
    SDL_Rect place;
    screenGeometry(window, width, height, place);
    if (window)
        SDL_WarpMouseInWindow(window, place.x + int(double(mouseX) * place.w / width),
                              place.y + int(double(mouseY) * place.h / height));
    SDL_ShowCursor(SDL_ENABLE);
}

// ---- Joysticks

// SDL's hat positions as hundredths of a degree clockwise from up.
static uint32_t hatAngle(Uint8 hat)
{
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return hatCentred;
    }
}

JoystickState InputContext::readJoystick(int index)
{
    JoystickState state;
    if (index < 0 || index >= maxJoysticks || !joysticks[index]) return state;
    SDL_Joystick* joystick = joysticks[index];
    SDL_JoystickUpdate();
    int32_t* axes[] = {&state.x,  &state.y,  &state.z,          &state.rx,
                       &state.ry, &state.rz, &state.sliders[0], &state.sliders[1]};
    int axisCount = std::min(SDL_JoystickNumAxes(joystick), 8);
    for (int i = 0; i < axisCount; ++i)
        *axes[i] = SDL_JoystickGetAxis(joystick, i);
    int hatCount = std::min(SDL_JoystickNumHats(joystick), 4);
    for (int i = 0; i < hatCount; ++i)
        state.hats[i] = hatAngle(SDL_JoystickGetHat(joystick, i));
    int buttonCount = std::min(SDL_JoystickNumButtons(joystick), 32);
    for (int i = 0; i < buttonCount; ++i)
        state.buttons[i] = SDL_JoystickGetButton(joystick, i) ? 128 : 0;
    return state;
}

void InputContext::playForce(int index, int durationMs, double x, double y)
{
    if (index < 0 || index >= maxJoysticks || !joysticks[index] || !hapticSubsystem) return;
    SDL_Haptic*& haptic = haptics[index];
    if (!haptic) {
        if (SDL_JoystickIsHaptic(joysticks[index]) != 1) return;
        haptic = SDL_HapticOpenFromJoystick(joysticks[index]);
        if (!haptic) return;
    }
    unsigned int features = SDL_HapticQuery(haptic);
    if (!(features & SDL_HAPTIC_CONSTANT)) return;
    // A new force replaces whatever the device still plays.
    SDL_HapticStopAll(haptic);
    if (forceEffects[index] >= 0) SDL_HapticDestroyEffect(haptic, forceEffects[index]);
    forceEffects[index] = -1;

    x = std::isnan(x) ? 0 : std::clamp(x, -1.0, 1.0);
    y = std::isnan(y) ? 0 : std::clamp(y, -1.0, 1.0);
    double magnitude = (x * x + y * y) * 0.5; // 0..1
    SDL_HapticEffect effect{};
    effect.type = SDL_HAPTIC_CONSTANT;
    effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
    effect.constant.direction.dir[0] = int(x * 32767);
    effect.constant.direction.dir[1] = int(y * 32767);
    effect.constant.length = Uint32(std::max(durationMs, 0));
    effect.constant.level = Sint16(magnitude * 32767);
    if (features & SDL_HAPTIC_GAIN) SDL_HapticSetGain(haptic, 100);
    int id = SDL_HapticNewEffect(haptic, &effect);
    if (id < 0) return;
    forceEffects[index] = id;
    SDL_HapticRunEffect(haptic, id, 1);
}

} // namespace rt
