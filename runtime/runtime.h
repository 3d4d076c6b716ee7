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
// Network: games over a relaying host, HTTP download
// ---------------------------------------------------------------------------------------------

// Hosts a game on the TCP port in the text (0 or less: 27013) and joins it; 1 on success, else 0.
double rtNetHost(const RtString& port);
// Joins the game at host (empty: this machine) and port (0 or less: 27013); 1 when the server answered.
double rtNetJoin(const RtString& host, const RtString& port);
// Registers a local player (an empty name registers a hidden one); its id as text, "-1" after 5 s.
RtString rtNetCreatePlayer(const RtString& name);
// Tells the server that the player with this id leaves; always 1.
double rtNetRemovePlayer(const RtString& player);
// Sends a text (cut to 2047 bytes) from one id to another (0: every player); 1 when it was written.
double rtNetSendMessage(const RtString& from, const RtString& to, const RtString& message);
// The oldest message in the local player's inbox, or "" when there is none.
RtString rtNetReceiveMessage(const RtString& player);
// The sender id of the message rtNetReceiveMessage took last, as text ("0" before any).
RtString rtNetLastSender();
// Number of visible players on the server; 0 without a local player or without a reply within 5 s.
double rtNetPlayerCount();
// Id of the n-th visible player (from 0) in join order, as text; "0" past the last or without reply.
RtString rtNetPlayerIdAt(double index);
// Name of the player with this id ("" for an unknown id); "NO_DATA" without a reply.
RtString rtNetPlayerName(const RtString& player);
// This machine's addresses as "a.b.c.d:27013" joined by "|"; "" when port 27013 cannot be opened.
RtString rtNetLocalAddresses();
// Fetches path from host:port (HTTP/1.0 GET) and stores the body in the file; 1 when the server
// closed the connection normally, 0 otherwise (a host that does not resolve creates no file).
double rtNetHttpGet(const RtString& host, const RtString& path, double port, const RtString& outputFile);
