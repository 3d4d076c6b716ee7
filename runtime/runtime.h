// The runtime's commands: everything a game calls. Numbers are doubles (integer arguments truncate
// toward zero), texts are RtString values. A command never throws: soft failures come back as
// results (0, -1, "", "NO_DATA", "NO_FILE"); hard failures end the program through the end routine.
#pragma once

#include "runtime/core/end.h"
#include "runtime/values/numbers.h"
#include "runtime/values/rt_string.h"

// ---------------------------------------------------------------------------------------------
// Core: entry, start-up, frames and timers
// ---------------------------------------------------------------------------------------------

// What a game fixes at its entry.
struct GameSettings {
    const char* title = "Flipmatics";
    int screenWidth = 320;   // pixels
    int screenHeight = 240;  // pixels
    int frameRate = 60;      // frames per second
    bool fullScreen = true;  // start in full-screen mode
    bool debugMode = false;  // log the end lines; keep running without focus
    bool exclusiveMouse = false;
};

// Stores the settings and the command line, starts the engine, runs gameMain and ends the program.
[[noreturn]] void rtRunGame(int argc, char** argv, const GameSettings& settings, void (*gameMain)());
// Engine start-up: window, subsystems, working folder (the program's own), "Loading..." frame.
// Ends the process with a message on standard error and exit code 1 when no window or GL context
// can be had. Returns 0.
int rtEngineInit(const char* title);

// Shows the frame drawn so far and waits for the next point of the frame grid, handling window
// events meanwhile; ends the program on Escape (see rtSetEscapeEnds) or Left Alt + F4.
void rtShowFrame();
// Frames per second from now on; 0 or below means at most 500 (a 2 ms interval).
void rtSetFrameRate(double framesPerSecond);
// Milliseconds since the previous rtShowFrame began; at least 1.
double rtFrameDuration();
// Milliseconds since the end of start-up.
double rtElapsedTime();
// Whether Escape ends the program (it does from the start); not-a-number counts as on.
void rtSetEscapeEnds(double ends);
// A copy of the program's arguments.
RtString rtCommandLine();

// ---------------------------------------------------------------------------------------------
// Values: text commands
// ---------------------------------------------------------------------------------------------

double rtTextLength(const RtString& text);
// Length of the number's text ("5" → 1, "0.5" → 3).
double rtNumberTextLength(double value);
// Byte value 0..255 of the first byte; 0 for the empty text.
double rtCharCode(const RtString& text);
// The code as a 16-bit value, low byte first, up to the first zero byte: 65 → "A", 0 and 256 → "".
RtString rtCharFromCode(double code);
// printf's "%<width>.<decimals>f": (3, 2, 3.14159) → "3.14"; width and decimals held to 511.
RtString rtFormatNumber(double width, double decimals, double value);
// 0-based position of find in text, -1 when absent; the empty text is found at 0.
double rtFindText(const RtString& text, const RtString& find);
// Copies with only ASCII letters changed.
RtString rtLowerText(const RtString& text);
RtString rtUpperText(const RtString& text);

// ---------------------------------------------------------------------------------------------
// 2D: screen, viewport and screen mode
// ---------------------------------------------------------------------------------------------

void rtScreenSize(double& width, double& height);
// Drawing origin and clip at (x, y) of the screen with the given size until the next frame;
// a width or height of 0 or below means the whole screen.
void rtSetViewport(double x, double y, double width, double height);
// Screen size (0 keeps it) and full-screen flag; 1 on success, 0 when full screen was refused.
double rtSetScreenMode(double width, double height, double fullscreen);
// 1 while full screen, else 0.
double rtIsFullscreen();

// ---------------------------------------------------------------------------------------------
// Input: keyboard, mouse and joysticks
// ---------------------------------------------------------------------------------------------

// 1 while the key is down (1 Escape, 28 Return, 57 Space, 200/208/203/205 the arrows, ...); the
// code's low 8 bits count (257 reads key 1). Reads the keyboard afresh.
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
// Sound: sound effects in 128 slots
// ---------------------------------------------------------------------------------------------

// Loads a WAV file (8 or 16 bits, mono or stereo) into slot 0..127 (higher numbers are slot 127) with
// 1..4 copies that can play at once; 1 on success, 0 for a missing or malformed file or no audio
// device (the slot is then empty).
double rtLoadSound(const RtString& name, double slot, double copies);
// Plays the slot's next free copy once (a busy copy hands over to the next, which restarts); pan -1
// left .. 1 right, volume 0 silent .. 1 full. Returns the channel slot × 256 + copy, or -1 when the
// slot is empty or its only copy still plays.
double rtPlaySound(double slot, double pan, double volume);
// 1 while the channel that rtPlaySound returned plays, else 0.
double rtSoundPlaying(double channel);
// Stops every sound.
void rtStopAllSounds();
