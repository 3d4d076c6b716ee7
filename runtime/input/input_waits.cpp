// Commands that wait for the player: the input waits (no frames shown, window kept alive) and the
// text-entry line editor (frames shown over a copy of the screen).
#include "runtime/input/input_waits.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/window_events.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/fonts.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/input/key_codes.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// ---- Input waits

// What rtWaitAnyInput saw of the mouse last time: a change from this counts as input.
static struct
{
    double x = 0, y = 0;
    double left = 0, right = 0;
} lastMouse;

// Whether any joystick, last to first, has a button pressed, a stick (first three axes) moved beyond
// a tenth of its range, or its first hat pushed straight in one direction.
static bool joystickTouched(InputContext& input)
{
    for (int index = std::min(input.joystickCount, maxJoysticks) - 1; index >= 0; --index) {
        JoystickState state = input.readJoystick(index);
        if (std::any_of(std::begin(state.buttons), std::end(state.buttons), [](uint8_t b) { return b != 0; }))
            return true;
        for (int32_t axis : {state.x, state.y, state.z})
            if (std::abs(joystickAxisValue(axis)) > 0.1) return true;
        uint32_t hat = state.hats[0];
        if (hat == 9000 || hat == 27000 || hat == 0 || hat == 18000) return true;
    }
    return false;
}

} // namespace rt

void rtWaitAnyInput()
{
    InputContext* started = startedInput(__func__);
    if (!started) return;
    InputContext& input = *started;
    for (int pass = 0; pass < 8; ++pass) {
        rtPumpMessages(); // a close request ends the program in the window procedure
        input.refreshKeyboard();
        input.markNewFrame();
        if (engine.escapeEnds && input.keyDown(rtKeyEscape)) rtFatalEnd();
        for (int code = 0; code < 255; ++code)
            if (input.keyDown(code)) return;

        double x, y, left, right;
        rtMouseState(x, y, left, right); // clamped to the screen
        bool moved =
            x != lastMouse.x || y != lastMouse.y || left != lastMouse.left || right != lastMouse.right;
        lastMouse = {x, y, left, right};
        if (moved) return;

        if (joystickTouched(input)) return;
        SDL_Delay(5);
    }
}

double rtWaitKey()
{
    InputContext* started = startedInput(__func__);
    if (!started) return 0;
    InputContext& input = *started;
    int character;
    while ((character = input.typedCharacter()) == 0) {
        rtPumpMessages();
        rtWaitAnyInput();
    }
    // Until a scan gives nothing: at once while the key is held, since the scan gives a held key's
    // character only once. The next wait then waits for a new key instead of seeing this one again.
    do {
        rtPumpMessages();
        SDL_Delay(1);
    } while (input.typedCharacter() != 0);
    return character;
}

double rtWaitMouse()
{
    InputContext* started = startedInput(__func__);
    if (!started) return 0;
    InputContext& input = *started;
    while (input.anyButtonDown()) {
        rtPumpMessages();
        SDL_Delay(1);
    }
    while (!input.anyButtonDown())
        rtWaitAnyInput();
    return 1;
}

namespace rt {

// ---- Text entry

bool LineEditor::take(int character)
{
    switch (character) {
    case 0:
        if (++blinkCounter > 20) {
            blinkCounter = 0;
            cursorVisible = !cursorVisible;
        }
        return true;
    case 10:
        return false;
    case 8:
        if (!text.empty()) text.cutAt(text.length() - 1);
        return true;
    default: {
        const char typed[2] = {char(character), 0};
        text += typed;
        return true;
    }
    }
}

RtString LineEditor::shownText() const
{
    return cursorVisible ? text + "_" : text;
}

} // namespace rt

void rtInputText(RtString& text, double x, double y)
{
    InputContext* input = startedInput(__func__);
    OpenGLRainbows* started = input ? startedRenderer(__func__) : nullptr;
    if (!started) return;
    OpenGLRainbows& renderer = *started;
    // Picture 3 keeps the screen as it is now; each frame shows it under the edited line.
    grabScreenToBackground(renderer, 3);
    drawBackgroundPicture(renderer, 3);
    drawText(renderer, engine.currentFont, text.c_str(), float(x), float(y), 0);
    LineEditor editor(text);
    for (;;) {
        rtShowFrame();
        if (!editor.take(input->typedCharacter())) break;
        drawBackgroundPicture(renderer, 3);
        rtPrint(editor.shownText(), toInt(x), toInt(y));
    }
    freeBackgroundPicture(renderer, 3);
}

void rtInputNumber(double& number, double x, double y)
{
    RtString text;
    rtInputText(text, x, y);
    number = textToNumber(text.c_str());
}
