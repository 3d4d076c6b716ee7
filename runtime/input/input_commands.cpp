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
    InputContext& input = *engine.inputSystem;
    input.refreshKeyboard();
    return input.keyDown(toInt(code) & 0xFF) ? 1 : 0;
}

RtString rtKeyText()
{
    char text[2] = {char(engine.inputSystem->typedCharacter()), 0};
    return RtString(text);
}

// ---- Mouse

void rtMouseState(double& x, double& y, double& button1, double& button2)
{
    InputContext& input = *engine.inputSystem;
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
    MouseSample sample = engine.inputSystem->readMouse();
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
    engine.inputSystem->mouseX = toInt(x);
    engine.inputSystem->mouseY = toInt(y);
}

void rtSetSystemPointer(double on)
{
    engine.inputSystem->setSystemPointer(on != 0);
}

// ---- Joysticks

double rtJoyCount()
{
    return engine.inputSystem->joystickCount;
}

RtString rtJoyName(double index)
{
    const InputContext& input = *engine.inputSystem;
    int i = toInt(index);
    if (i < 0 || i >= input.joystickCount || i >= maxJoysticks) return RtString();
    return RtString(input.joystickNames[i]);
}

double rtJoyX(double index)
{
    return joystickAxisValue(engine.inputSystem->readJoystick(toInt(index)).x);
}

double rtJoyY(double index)
{
    return joystickAxisValue(engine.inputSystem->readJoystick(toInt(index)).y);
}

double rtJoyZ(double index)
{
    return joystickAxisValue(engine.inputSystem->readJoystick(toInt(index)).z);
}

double rtJoyRX(double index)
{
    return joystickAxisValue(engine.inputSystem->readJoystick(toInt(index)).rx);
}

double rtJoyRY(double index)
{
    return joystickAxisValue(engine.inputSystem->readJoystick(toInt(index)).ry);
}

double rtJoyRZ(double index)
{
    return joystickAxisValue(engine.inputSystem->readJoystick(toInt(index)).rz);
}

double rtJoyButton(double index, double button)
{
    int b = toInt(button);
    if (b < 0 || b >= 32) return 0;
    return engine.inputSystem->readJoystick(toInt(index)).buttons[b];
}

double rtJoyHatX(double index)
{
    uint32_t hat = engine.inputSystem->readJoystick(toInt(index)).hats[0];
    return hat == 9000 ? 1 : hat == 27000 ? -1 : 0;
}

double rtJoyHatY(double index)
{
    uint32_t hat = engine.inputSystem->readJoystick(toInt(index)).hats[0];
    return hat == 0 ? -1 : hat == 18000 ? 1 : 0;
}

void rtJoyDigital(double& x, double& y, double& button1, double& button2)
{
    JoystickState state = engine.inputSystem->readJoystick(0);
    x = state.x / 30000;
    y = state.y / 30000;
    button1 = state.buttons[0];
    button2 = state.buttons[1];
}

void rtJoyForce(double index, double durationMs, double x, double y)
{
    engine.inputSystem->playForce(toInt(index), toInt(durationMs), x, y);
}
