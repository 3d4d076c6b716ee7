// The keyboard, mouse and joystick commands.
#include <algorithm>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/runtime.h"

using namespace rt;

// ---- Keyboard

double rtKeyState(double code)
{
    InputContext* started = startedInput(__func__);
    if (!started) return 0;
    InputContext& input = *started;
    input.refreshKeyboard();
    return input.keyDown(toInt(code) & 0xFF) ? 1 : 0;
}

RtString rtKeyText()
{
    InputContext* input = startedInput(__func__);
    if (!input) return RtString();
    char text[2] = {char(input->typedCharacter()), 0};
    return RtString(text);
}

// ---- Mouse

void rtMouseState(double& x, double& y, double& button1, double& button2)
{
    InputContext* started = startedInput(__func__);
    if (!started) {
        x = y = button1 = button2 = 0;
        return;
    }
    InputContext& input = *started;
    MouseSample sample = input.readMouse();
    int width = engine.renderer ? engine.renderer->screenWidth : engine.screenWidth;
    int height = engine.renderer ? engine.renderer->screenHeight : engine.screenHeight;
    input.mouseX = std::clamp(input.mouseX, 0, std::max(width - 1, 0));
    input.mouseY = std::clamp(input.mouseY, 0, std::max(height - 1, 0));
    x = input.mouseX;
    y = input.mouseY;
    button1 = sample.left ? 1 : 0;
    button2 = sample.right ? 1 : 0;
}

double rtMouseAxis(double axis)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    MouseSample sample = input->readMouse();
    switch (toInt(axis)) {
    case 0:
        return sample.dx;
    case 1:
        return sample.dy;
    case 2:
        return sample.wheel;
    case 3:
        return sample.left ? 1 : 0;
    case 4:
        return sample.right ? 1 : 0;
    case 5:
        return sample.middle ? 1 : 0;
    default:
        return 0;
    }
}

void rtSetMousePos(double x, double y)
{
    InputContext* input = startedInput(__func__);
    if (!input) return;
    input->mouseX = toInt(x);
    input->mouseY = toInt(y);
}

void rtSetSystemPointer(double on)
{
    InputContext* input = startedInput(__func__);
    if (!input) return;
    input->setSystemPointer(on != 0);
}

// ---- Joysticks

double rtJoyCount()
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return input->joystickCount;
}

RtString rtJoyName(double index)
{
    InputContext* started = startedInput(__func__);
    if (!started) return RtString();
    const InputContext& input = *started;
    int i = toInt(index);
    if (i < 0 || i >= input.joystickCount || i >= maxJoysticks) return RtString();
    return RtString(input.joystickNames[i]);
}

double rtJoyX(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return joystickAxisValue(input->readJoystick(toInt(index)).x);
}

double rtJoyY(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return joystickAxisValue(input->readJoystick(toInt(index)).y);
}

double rtJoyZ(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return joystickAxisValue(input->readJoystick(toInt(index)).z);
}

double rtJoyRX(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return joystickAxisValue(input->readJoystick(toInt(index)).rx);
}

double rtJoyRY(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return joystickAxisValue(input->readJoystick(toInt(index)).ry);
}

double rtJoyRZ(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    return joystickAxisValue(input->readJoystick(toInt(index)).rz);
}

double rtJoyButton(double index, double button)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    int b = toInt(button);
    if (b < 0 || b >= 32) return 0;
    return input->readJoystick(toInt(index)).buttons[b];
}

double rtJoyHatX(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    uint32_t hat = input->readJoystick(toInt(index)).hats[0];
    return hat == 9000 ? 1 : hat == 27000 ? -1 : 0;
}

double rtJoyHatY(double index)
{
    InputContext* input = startedInput(__func__);
    if (!input) return 0;
    uint32_t hat = input->readJoystick(toInt(index)).hats[0];
    return hat == 0 ? -1 : hat == 18000 ? 1 : 0;
}

void rtJoyDigital(double& x, double& y, double& button1, double& button2)
{
    InputContext* input = startedInput(__func__);
    if (!input) {
        x = y = button1 = button2 = 0;
        return;
    }
    JoystickState state = input->readJoystick(0);
    x = state.x / 30000;
    y = state.y / 30000;
    button1 = state.buttons[0];
    button2 = state.buttons[1];
}

void rtJoyForce(double index, double durationMs, double x, double y)
{
    InputContext* input = startedInput(__func__);
    if (!input) return;
    input->playForce(toInt(index), toInt(durationMs), x, y);
}
