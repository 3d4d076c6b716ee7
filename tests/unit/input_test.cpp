// The input context: key code table, typed characters, the mouse's frame logic and SDL's virtual
// joysticks read through the joystick commands. Runs on SDL's dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/input/key_codes.h"
#include "runtime/runtime.h"

using namespace rt;

namespace {

TEST(KeyCodes, TheExtendedKeysHaveTheirCodes)
{
    EXPECT_EQ(scancodeOfKeyCode(156), SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(scancodeOfKeyCode(157), SDL_SCANCODE_RCTRL);
    EXPECT_EQ(scancodeOfKeyCode(181), SDL_SCANCODE_KP_DIVIDE);
    EXPECT_EQ(scancodeOfKeyCode(184), SDL_SCANCODE_RALT);
    EXPECT_EQ(scancodeOfKeyCode(221), SDL_SCANCODE_APPLICATION);
    for (int code : {199, 200, 201, 203, 205, 207, 208, 209, 210, 211, 219, 220, 221})
        EXPECT_NE(scancodeOfKeyCode(code), SDL_SCANCODE_UNKNOWN) << code;
    for (int code : {0, 84, 202, 204, 206, 255, -1, 256})
        EXPECT_EQ(scancodeOfKeyCode(code), SDL_SCANCODE_UNKNOWN) << code;
}

TEST(KeyCodes, EveryKeyOfTheStandardKeyboardHasOneCodeBothWays)
{
    for (int scancode = SDL_SCANCODE_A; scancode <= SDL_SCANCODE_KP_PERIOD; ++scancode) {
        if (scancode == SDL_SCANCODE_NONUSHASH) continue; // PC keyboards report that key as backslash
        int code = keyCodeOfScancode(SDL_Scancode(scancode));
        EXPECT_NE(code, 0) << SDL_GetScancodeName(SDL_Scancode(scancode));
        EXPECT_EQ(scancodeOfKeyCode(code), scancode);
    }
    for (int scancode = SDL_SCANCODE_LCTRL; scancode <= SDL_SCANCODE_RGUI; ++scancode)
        EXPECT_EQ(scancodeOfKeyCode(keyCodeOfScancode(SDL_Scancode(scancode))), scancode);
    EXPECT_EQ(keyCodeOfScancode(SDL_Scancode(-1)), 0);
    EXPECT_EQ(keyCodeOfScancode(SDL_NUM_SCANCODES), 0);
}

class Input : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        engine.screenWidth = 320;
        engine.screenHeight = 240;
    }
    void start(bool exclusiveMouse = false, SDL_Window* window = nullptr)
    {
        engine.inputSystem = new InputContext;
        engine.inputSystem->setUp(window, exclusiveMouse);
    }
    void TearDown() override
    {
        delete engine.inputSystem;
        engine.inputSystem = nullptr;
        SDL_Quit();
    }
    InputContext& input() { return *engine.inputSystem; }
    void hold(std::initializer_list<int> codes)
    {
        for (uint8_t& state : input().keyStates)
            state = 0;
        for (int code : codes)
            input().keyStates[code] = 0x80;
    }
};

TEST_F(Input, AHeldKeyTypesOnceUntilAScanFindsNoCharacterKey)
{
    start();
    hold({30});
    EXPECT_EQ(input().scanTypedCharacter(), 'a');
    EXPECT_EQ(input().scanTypedCharacter(), 0);
    EXPECT_EQ(input().scanTypedCharacter(), 0);
    hold({30, rtKeyLeftShift}); // Shift changes the character: it comes in anew
    EXPECT_EQ(input().scanTypedCharacter(), 'A');
    hold({rtKeyLeftShift}); // Shift alone types nothing and clears the memory
    EXPECT_EQ(input().scanTypedCharacter(), 0);
    hold({30});
    EXPECT_EQ(input().scanTypedCharacter(), 'a');
    hold({31}); // another key in between lets the first type again
    EXPECT_EQ(input().scanTypedCharacter(), 's');
    hold({30});
    EXPECT_EQ(input().scanTypedCharacter(), 'a');
}

TEST_F(Input, ShiftMakesCapitalsOfLettersOnlyAndTheLowestCodeWins)
{
    start();
    hold({rtKeyRightShift, 30});
    EXPECT_EQ(input().scanTypedCharacter(), 'A');
    hold({rtKeyRightShift, 3}); // the layout's character of the key, unchanged
    EXPECT_EQ(input().scanTypedCharacter(), '2');
    hold({30, 31});
    EXPECT_EQ(input().scanTypedCharacter(), 'a');
    input().textOfKey[31] = 's'; // typed before Shift went down
    hold({31, rtKeyLeftShift});
    EXPECT_EQ(input().scanTypedCharacter(), 'S');
    hold({rtKeyBackspace});
    EXPECT_EQ(input().scanTypedCharacter(), 8);
    hold({rtKeyReturn});
    EXPECT_EQ(input().scanTypedCharacter(), 10);
    hold({rtKeySpace});
    EXPECT_EQ(input().scanTypedCharacter(), ' ');
    hold({rtKeyEscape, rtKeyKeypadEnter}); // Escape types nothing, so the keypad's Enter decides
    EXPECT_EQ(input().scanTypedCharacter(), 10);
    hold({15, rtKeyLeftAlt, rtKeyCapsLock, 211, 72}); // Tab, Alt, Caps Lock, Delete, keypad 8
    EXPECT_EQ(input().scanTypedCharacter(), 0);
}

// A key press as the system reports it: the key, then the text it typed (none for nullptr).
void press(int code, const char* text)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = scancodeOfKeyCode(code);
    SDL_PushEvent(&event);
    if (!text) return;
    event = {};
    event.type = SDL_TEXTINPUT;
    strncpy(event.text.text, text, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
}

TEST_F(Input, APressTypesTheTextTheSystemMadeOfItAndFallsBackToTheLayoutWithoutText)
{
    start();
    struct Case
    {
        int code;
        const char* text;
        int typed;
    } cases[] = {
        {2, "!", '!'},      // Shift and 1
        {16, "a", 'a'},     // the key of Q on a layout that prints A there
        {30, "A", 'A'},     // Caps Lock
        {72, "8", '8'},     // keypad 8 with Num Lock
        {3, "\xC3\xA9", 0}, // an accented letter is not one ASCII character
        {2, nullptr, '1'},  // a later press without text: the layout's character of the key
    };
    for (const Case& c : cases) {
        press(c.code, c.text);
        hold({c.code});
        EXPECT_EQ(input().scanTypedCharacter(), c.typed) << c.code << " " << (c.text ? c.text : "none");
        hold({});
        input().scanTypedCharacter();
    }
}

TEST_F(Input, TheMotionOfAFrameIsMeasuredOnceAndKeptForLaterReads)
{
    start();
    input().mouseX = 100, input().mouseY = 100;
    input().markNewFrame();
    PointerReading reading;
    reading.x = 110, reading.y = 95, reading.left = true;
    MouseSample first = input().applyPointerReading(reading);
    EXPECT_EQ(first.dx, 10);
    EXPECT_EQ(first.dy, -5);
    EXPECT_EQ(first.left, 1);
    reading.x = 150, reading.left = false, reading.right = true;
    MouseSample second = input().applyPointerReading(reading);
    EXPECT_EQ(second.dx, 10); // the same motion, fresh buttons
    EXPECT_EQ(second.dy, -5);
    EXPECT_EQ(second.left, 0);
    EXPECT_EQ(second.right, 1);
    EXPECT_EQ(input().mouseX, 110);
    input().markNewFrame();
    MouseSample next = input().applyPointerReading(reading);
    EXPECT_EQ(next.dx, 40);
    EXPECT_EQ(next.dy, 0);
    EXPECT_EQ(input().mouseX, 150);
}

TEST_F(Input, CapturedMotionMovesTheTrackedPositionAndCountsTheWheel)
{
    start();
    input().systemPointerMode = false;
    input().markNewFrame();
    PointerReading reading;
    reading.dx = -7, reading.dy = 3, reading.wheel = 2;
    MouseSample sample = input().applyPointerReading(reading);
    EXPECT_EQ(sample.dx, -7);
    EXPECT_EQ(sample.wheel, 0); // without the captured mouse there is no wheel
    int x = input().mouseX;
    input().mouseCaptured = true;
    input().markNewFrame();
    reading.wheel = -3;
    sample = input().applyPointerReading(reading);
    EXPECT_EQ(sample.wheel, -1);
    EXPECT_EQ(input().mouseX, x - 7);
}

TEST_F(Input, WheelEventsReachTheFramesReadOfACapturedMouse)
{
    SDL_Window* window = SDL_CreateWindow("input", 0, 0, 320, 240, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr);
    start(true, window);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 1;
    SDL_PushEvent(&wheel);
    SDL_PushEvent(&wheel);
    input().markNewFrame();
    int status = -1;
    MouseSample sample = input().readMouse(&status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(sample.wheel, 1);
    EXPECT_EQ(rtMouseAxis(2), 1); // still this frame
    input().markNewFrame();
    EXPECT_EQ(rtMouseAxis(2), 0);
    SDL_DestroyWindow(window);
}

TEST_F(Input, MouseStateClampsTheTrackedPositionToTheScreenAndKeepsIt)
{
    start();
    input().readMouse(); // this frame's position is taken
    rtSetMousePos(-5, 900);
    double x, y, b1, b2;
    rtMouseState(x, y, b1, b2);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 239);
    EXPECT_EQ(input().mouseX, 0);
    EXPECT_EQ(input().mouseY, 239);
    EXPECT_EQ(b1, 0);
    EXPECT_EQ(rtMouseAxis(6), 0);
    EXPECT_EQ(rtMouseAxis(-1), 0);
}

TEST(ScreenPlace, TheGameScreenScalesByWholeFactorsOrFitsItsAspect)
{
    auto placed = [](int windowWidth, int windowHeight) {
        SDL_Rect place = screenPlaceInWindow(320, 240, windowWidth, windowHeight);
        return std::to_string(place.x) + "," + std::to_string(place.y) + " " + std::to_string(place.w) + "x" +
               std::to_string(place.h);
    };
    EXPECT_EQ(placed(320, 240), "0,0 320x240");
    EXPECT_EQ(placed(1024, 768), "32,24 960x720");
    EXPECT_EQ(placed(160, 240), "0,60 160x120");
    EXPECT_EQ(placed(0, 0), "0,0 320x240"); // no window size known: the screen as it is
}

// Two virtual pads with six axes, 32 buttons and one hat.
class Joysticks : public Input
{
  protected:
    void SetUp() override
    {
        Input::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = 6;
        pad.nbuttons = 32;
        pad.nhats = 1;
        pad.name = "Test Pad";
        ASSERT_GE(SDL_JoystickAttachVirtualEx(&pad), 0);
        pad.name = "Second Pad";
        pad.naxes = 2;
        ASSERT_GE(SDL_JoystickAttachVirtualEx(&pad), 0);
        start();
        ASSERT_EQ(rtJoyCount(), 2);
        pad0 = input().joysticks[0];
    }
    void TearDown() override
    {
        Input::TearDown(); // closes the joysticks and quits SDL, which detaches the pads
    }
    SDL_Joystick* pad0 = nullptr;
};

TEST_F(Joysticks, CountAndNames)
{
    EXPECT_STREQ(rtJoyName(0).c_str(), "Test Pad, Test Pad");
    EXPECT_STREQ(rtJoyName(1).c_str(), "Second Pad, Second Pad");
    EXPECT_STREQ(rtJoyName(2).c_str(), "");
    EXPECT_STREQ(rtJoyName(-1).c_str(), "");
}

TEST_F(Joysticks, AxesAreScaledAndClampedToMinusOneToOne)
{
    SDL_JoystickSetVirtualAxis(pad0, 0, 32767);
    SDL_JoystickSetVirtualAxis(pad0, 1, -32768);
    SDL_JoystickSetVirtualAxis(pad0, 2, 16384);
    SDL_JoystickSetVirtualAxis(pad0, 3, -100);
    SDL_JoystickSetVirtualAxis(pad0, 4, 1);
    SDL_JoystickSetVirtualAxis(pad0, 5, -16384);
    EXPECT_EQ(rtJoyX(0), 1);
    EXPECT_EQ(rtJoyY(0), -1);
    EXPECT_NEAR(rtJoyZ(0), 0.5, 1e-4);
    EXPECT_NEAR(rtJoyRX(0), -100 / 32767.0, 1e-9);
    EXPECT_NEAR(rtJoyRY(0), 1 / 32767.0, 1e-9);
    EXPECT_NEAR(rtJoyRZ(0), -0.5, 1e-4);
    EXPECT_EQ(rtJoyZ(1), 0); // the second pad has two axes only
    EXPECT_EQ(rtJoyX(7), 0); // no such joystick
    EXPECT_EQ(rtJoyX(-3), 0);
}

TEST_F(Joysticks, ButtonsReadAsTheirRawBytes)
{
    SDL_JoystickSetVirtualButton(pad0, 3, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(pad0, 31, SDL_PRESSED);
    EXPECT_EQ(rtJoyButton(0, 3), 128);
    EXPECT_EQ(rtJoyButton(0, 31), 128);
    EXPECT_EQ(rtJoyButton(0, 4), 0);
    EXPECT_EQ(rtJoyButton(0, 32), 0);
    EXPECT_EQ(rtJoyButton(0, -1), 0);
    EXPECT_EQ(rtJoyButton(9, 3), 0);
}

TEST_F(Joysticks, TheFirstHatGivesStraightDirectionsOnly)
{
    struct Case
    {
        Uint8 hat;
        double x, y;
    } cases[] = {{SDL_HAT_UP, 0, -1},     {SDL_HAT_DOWN, 0, 1},    {SDL_HAT_LEFT, -1, 0},
                 {SDL_HAT_RIGHT, 1, 0},   {SDL_HAT_RIGHTUP, 0, 0}, {SDL_HAT_LEFTDOWN, 0, 0},
                 {SDL_HAT_CENTERED, 0, 0}};
    for (const Case& c : cases) {
        SDL_JoystickSetVirtualHat(pad0, 0, c.hat);
        EXPECT_EQ(rtJoyHatX(0), c.x) << int(c.hat);
        EXPECT_EQ(rtJoyHatY(0), c.y) << int(c.hat);
    }
    // A missing joystick reads as released, not as pushed up.
    EXPECT_EQ(rtJoyHatY(5), 0);
    EXPECT_EQ(rtJoyHatX(5), 0);
}

TEST_F(Joysticks, DigitalReadingNeedsThirtyThousandAndReadsButtonsZeroAndOne)
{
    double x, y, b1, b2;
    SDL_JoystickSetVirtualAxis(pad0, 0, 29999);
    SDL_JoystickSetVirtualAxis(pad0, 1, -30000);
    SDL_JoystickSetVirtualButton(pad0, 1, SDL_PRESSED);
    rtJoyDigital(x, y, b1, b2);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(b1, 0);
    EXPECT_EQ(b2, 128);
    SDL_JoystickSetVirtualAxis(pad0, 0, 30000);
    SDL_JoystickSetVirtualAxis(pad0, 1, -29999);
    SDL_JoystickSetVirtualButton(pad0, 0, SDL_PRESSED);
    rtJoyDigital(x, y, b1, b2);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(b1, 128);
}

TEST_F(Joysticks, ForceOnAJoystickWithoutForceFeedbackDoesNothing)
{
    rtJoyForce(0, 500, 1, -1);
    rtJoyForce(12, 500, 1, -1);
    rtJoyForce(-1, -5, NAN, 3);
    EXPECT_EQ(input().haptics[0], nullptr);
    EXPECT_EQ(input().forceEffects[0], -1);
}

} // namespace
