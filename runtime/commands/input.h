// Input commands: keyboard, mouse and joysticks, waits and text entry.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// Input: keyboard, mouse and joysticks
// ---------------------------------------------------------------------------------------------

// 1 while the key is down (rtKeyEscape, rtKeyUp, ... from runtime/input/keys.h); the code's low 8
// bits count (257 reads key 1). Reads the keyboard afresh.
double rtKeyState(double code);
// The character of the first key down (Backspace "\b", Return "\n", capitals with Shift); a held key
// types once, so "" until another character or an idle scan comes in between.
RtString rtKeyText();
// The mouse position in game screen pixels, clamped to the screen (and kept so), and whether the left
// and right buttons are down (1 or 0).
void rtMouseState(double& x, double& y, double& button1, double& button2);
// 0 dx, 1 dy, 2 wheel (-1, 0, 1) of this frame (the same for every read within a frame); 3 left,
// 4 right, 5 middle button (1 or 0); anything else 0.
double rtMouseAxis(double axis);
// Sets the tracked mouse position (not clamped; the system pointer stays where it is).
void rtSetMousePos(double x, double y);
// Non-zero: the mouse follows the visible system pointer; 0: the pointer is captured and the mouse
// reports relative motion.
void rtSetSystemPointer(double on);
// Number of joysticks found at start-up (at most 10).
double rtJoyCount();
// The joystick's name; "" for an index outside 0..count - 1.
RtString rtJoyName(double index);
// Axes of joystick `index` from -1 to 1 (0 for a missing joystick).
double rtJoyX(double index);
double rtJoyY(double index);
double rtJoyZ(double index);
double rtJoyRX(double index);
double rtJoyRY(double index);
double rtJoyRZ(double index);
// 128 while button 0..31 is pressed, else 0 (also for buttons outside 0..31).
double rtJoyButton(double index, double button);
// First hat: 1 right, -1 left, else 0.
double rtJoyHatX(double index);
// First hat: -1 up, 1 down, else 0.
double rtJoyHatY(double index);
// Joystick 0 as a digital pad: x and y -1, 0 or 1 (past 30000 of 32767), buttons 0 and 1 (128 or 0).
void rtJoyDigital(double& x, double& y, double& button1, double& button2);
// A constant force for durationMs on a force-feedback joystick, direction and strength from x and y
// (each clamped to -1..1); nothing for other joysticks.
void rtJoyForce(double index, double durationMs, double x, double y);

// ---------------------------------------------------------------------------------------------
// Input: waits and text entry
// ---------------------------------------------------------------------------------------------

// Waits up to about 40 ms (8 passes of 5 ms, window kept alive, no frame shown) for a key down, a
// change of the mouse position or buttons since the last call, or a joystick button, stick or hat.
void rtWaitAnyInput();
// Waits until a key types a character and returns its code; a key still held from before types none.
double rtWaitKey();
// Waits until no mouse button is down, then until one is pressed; returns 1.
double rtWaitMouse();
// Edits the text in place on a line at (x, y) over the screen as it is, one pass per frame, with a
// blinking "_" cursor: Backspace cuts the last byte, Return ends the entry.
void rtInputText(RtString& text, double x, double y);
// rtInputText on an empty text, then the text's number value (0 for an empty entry) into number.
void rtInputNumber(double& number, double x, double y);
