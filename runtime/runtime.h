// The runtime's commands: everything a game calls. Numbers are doubles (integer arguments truncate
// toward zero), texts are RtString values. A command never throws: soft failures come back as
// results (0, -1, "", "NO_DATA", "NO_FILE"); hard failures end the program through the end routine.
#pragma once

#include "runtime/core/end.h"
#include "runtime/input/keys.h"
#include "runtime/values/arrays.h"
#include "runtime/values/numbers.h"
#include "runtime/values/rt_string.h"
#include "runtime/values/text_arrays.h"

// ---------------------------------------------------------------------------------------------
// Core: entry, start-up, frames and timers
// ---------------------------------------------------------------------------------------------

// What a game fixes at its entry.
struct GameSettings
{
    const char* title = "Game";
    int screenWidth = 320;  // pixels
    int screenHeight = 240; // pixels
    int frameRate = 60;     // frames per second
    bool fullScreen = true; // start in full-screen mode
    bool debugMode = false; // log the end lines; keep running without focus
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
// The main window's system handle (its X11 window id), 0 when there is none.
double rtWindowHandle();

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
// Values: arrays and math
// ---------------------------------------------------------------------------------------------

// All elements 0; sizes that are not numbers count as 0, a first size below 1 leaves the array without
// size, a negative other size is kept (no index lies inside it); more elements than storage can hold
// (or no storage) end with code 7.
void rtDimArray(RtArray& array, double a, double b, double c, double d);
// Element (i, j, k, l); ends with code 8 for an array without size, 9 for any index outside it
// (an index of a dimension the array lacks must be 0).
double& rtArrayAt(RtArray& array, double i, double j, double k, double l);
// New sizes, keeping the elements inside both the old and the new sizes.
void rtResizeArray(RtArray& array, double a, double b, double c, double d);
// Destination dimensioned like source, with all its elements; copying an array onto itself keeps it.
void rtCopyArray(RtArray& destination, const RtArray& source);
// One dimension of count elements holding values in order.
void rtDimArrayWithData(RtArray& array, double count, const double* values);
// Size of dimension d = 0..3; 0 for any other d.
double rtArraySize(const RtArray& array, double d);

// Sine, cosine and tangent of an angle in degrees.
double rtSin(double degrees);
double rtCos(double degrees);
double rtTan(double degrees);
// Angle in degrees of the point (x, y), -180 to 180.
double rtAtan2(double y, double x);
// Arc sine in degrees; 90 for x >= 1, -90 for x <= -1.
double rtAsin(double x);
// Arc cosine in degrees; 0 for x >= 1, 180 for x <= -1.
double rtAcos(double x);
// Square root; not a number for a negative x.
double rtSqrt(double x);
double rtAbs(double x);
double rtPow(double x, double y);
// trunc(a) remainder trunc(b) with the sign of a (-7, 3 → -1); 0 when trunc(b) is 0 (b = 0 or a fraction).
double rtRemainder(double a, double b);
// 1 when the two boxes share a point (touching edges count), else 0; widths and heights may be negative.
double rtBoxesOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2, double h2);

// ---------------------------------------------------------------------------------------------
// Values: random numbers
// ---------------------------------------------------------------------------------------------

// Seed the generator (start-up does it from the clock).
void rtSeedRandom(uint32_t seed);
// A whole number from 0 to trunc(n) inclusive, in unsigned 32-bit arithmetic (any n from 2^32 - 1 up
// draws from the whole 32-bit range); 0 for a negative n.
double rtRandom(double n);

// ---------------------------------------------------------------------------------------------
// Values: text arrays and text commands
// ---------------------------------------------------------------------------------------------

// Every text empty; sizes as for rtDimArray (a first size below 1 leaves the array without size,
// more texts than storage can hold end with code 7).
void rtDimTextArray(RtTextArray& array, double a, double b, double c, double d);
// Text (i, j, k, l); ends with code 8 for an array without size, 9 for any index outside it.
RtString& rtTextArrayAt(RtTextArray& array, double i, double j, double k, double l);
// count bytes from byte start (from 0), cut at the text's end: ("ABCDE", 1, 3) → "BCD"; a start
// below 0 or past the end, or a count of 0 or less, gives "".
RtString rtMidText(const RtString& text, double start, double count);
// Every occurrence of find replaced; with a replacement of another length the search goes on inside
// or just after the inserted text ("aaaa", "aa", "a" → "a"). An empty find returns the text unchanged.
RtString rtReplaceText(const RtString& text, const RtString& find, const RtString& replacement);
// Split text at any byte of delimiters into array (one dimension) and return the number of elements:
// runs of delimiters between elements give no empty elements, trailing ones do ("a,," → a, "").
// The empty text gives none; an empty delimiter set gives the whole text as one element.
double rtSplitText(const RtString& text, RtTextArray& array, const RtString& delimiters);

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
// 2D: images and sprites
// ---------------------------------------------------------------------------------------------
// Sprite slots are 0..65519 (65520..65535 hold the fonts); a slot outside 0..65535 is ignored.
// Images are BMP (8, 24 or 32 bits) or PNG; pixels of colour 0x8000FF (red 255, blue 128) are
// transparent.

// Empties the slot, then loads the file into it; 1 on success, 0 when missing or undecodable.
double rtLoadSprite(const RtString& file, double slot);
// As rtLoadSprite, but the slot holds the picture's normal map (heights from its blue channel).
double rtLoadNormalMap(const RtString& file, double slot);
// Copies the screen rectangle into the slot as a sprite of its size; parts beyond the screen are
// transparent. 1, or 0 (slot unchanged) for a width or height below 1 or above the largest texture.
double rtGrabSprite(double slot, double x, double y, double width, double height);
// Natural size, top-left corner at (x, y) rounded up to whole pixels.
void rtDrawSprite(double slot, double x, double y);
// The whole picture onto width × height pixels at (x, y); negative sizes draw nothing.
void rtStretchSprite(double slot, double x, double y, double width, double height);
// Scaled by (scaleX, scaleY) about the centre of where rtDrawSprite would put it; never mirrored.
void rtZoomSprite(double slot, double x, double y, double scaleX, double scaleY);
// Turned counter-clockwise by angle degrees about pixel (x + width div 2, y + height div 2).
void rtDrawSpriteRotated(double slot, double x, double y, double angle);
// As rtDrawSpriteRotated, also scaled by zoom about the same centre.
void rtDrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom);
// 1 when a visible pixel of sprite A at (xA, yA) lies on a fully opaque pixel of B at (xB, yB), else 0.
double rtSpriteCollision(double slotA, double xA, double yA, double slotB, double xB, double yB);
// The slot's picture size in pixels; 0 and 0 when empty.
void rtSpriteSize(double slot, double& width, double& height);

// ---------------------------------------------------------------------------------------------
// 2D: fonts and text
// ---------------------------------------------------------------------------------------------
// A font is an image of 16 × 16 character cells (taller than wide) or 16 × 8 cells; black is transparent.

// Text in the current font with its top-left corner at (x, y) rounded up; one cell per byte.
void rtPrint(const RtString& text, double x, double y);
// The number as text (the runtime's number-to-text rule), printed as rtPrint does.
void rtPrintNumber(double number, double x, double y);
// Selects font 0..15 (numbers outside are held to that range).
void rtSetFont(double font);
// Selects font 0..15 and loads the file into it; a missing or undecodable file (or an empty name)
// gives the built-in 8 × 8 font.
void rtLoadFont(const RtString& file, double font);
// Cell width and height of the current font; 0 and 0 when it is empty.
void rtFontSize(double& width, double& height);

// ---------------------------------------------------------------------------------------------
// 2D: primitives
// ---------------------------------------------------------------------------------------------
// Colours are red + green × 256 + blue × 65536; 0x8000FF draws with alpha 0 (invisible only with
// alpha blending). Coordinates are pixels from the viewport's top left.

// Removes background picture 0 and clears the screen to black.
void rtClearScreen();
// 0: opaque; a > 0: added at intensity min(a, 1); a < 0: alpha-blended at opacity min(-a, 1).
// Lasts until the next call or rtShowFrame.
void rtSetAlphaMode(double a);
void rtDrawPixel(double x, double y, double colour);
// Both end pixels are drawn.
void rtDrawLine(double x1, double y1, double x2, double y2, double colour);
// Filled, both corners included, in any corner order.
void rtDrawRect(double x1, double y1, double x2, double y2, double colour);
// Packed colour of a screen pixel (window coordinates); 0 outside the screen.
double rtReadPixel(double x, double y);
// Starts a polygon textured with the slot, or untextured for -1 (or any slot outside the table).
void rtBeginPolygon(double slot);
// Adds a corner at (x, y) with texture position (s, t) in pixels of the slot's picture (t from its top)
// and a colour that tints the texture.
void rtPolygonVertex(double x, double y, double s, double t, double colour);
// Draws the polygon as a triangle fan; corners must run counter-clockwise on the screen.
void rtEndPolygon();

// ---------------------------------------------------------------------------------------------
// 2D: background pictures and saving
// ---------------------------------------------------------------------------------------------
// The background picture is redrawn by rtShowFrame under every new frame.

// Loads the file as the background and draws it now; an empty, missing or undecodable file removes
// the background and clears the screen.
void rtLoadBackground(const RtString& file);
// Fades the file in over black for 1.5 seconds (showing frames), then makes it the background.
// 0 when the name cannot be resolved or the picture cannot be decoded.
double rtFadeInBackground(const RtString& file);
// The current screen becomes the background.
void rtGrabBackground();
// Writes the screen to the file, as PNG when the name ends in ".png" (any case; pixels of the sprite
// colour key become transparent), else as 24-bit BMP; the name is used as given. 1 on success, else 0.
double rtSaveScreen(const RtString& file);
// Writes the slot's picture as rtSaveScreen does; 0 for an empty slot.
double rtSaveSprite(double slot, const RtString& file);

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

// ---------------------------------------------------------------------------------------------
// Media: music and movies
// ---------------------------------------------------------------------------------------------
// Any file the media player can play; names are found through the media resolver, so music and
// movies may come from the appended archive. Without a sound device both play silently.

// Stops any music, then plays the file in the background; it starts again at its end while frames
// are shown (rtShowFrame), never otherwise. 0 when it plays, 3 when the file cannot be found or
// played (why is logged for a file that cannot be played).
double rtPlayMusic(const RtString& name);
// Stops and closes the music, if any.
void rtStopMusic();
// Milliseconds into the music (its length once it has reached its end); 0 without music.
double rtMusicPosition();
// The music's length in milliseconds; 0 without music or when the player cannot tell.
double rtMusicLength();
// Plays a movie in the game window, scaled to fit and centred on black, again and again until a
// character key or a mouse button is pressed (one held when it starts counts only once released).
// The game draws nothing meanwhile; a close request ends the program. 0 when done, 3 when the file
// cannot be found or played.
double rtPlayMovieLooped(const RtString& name);
// As rtPlayMovieLooped, but the movie plays once.
double rtPlayMovieOnce(const RtString& name);

// ---------------------------------------------------------------------------------------------
// Files: data file resolver and appended archive
// ---------------------------------------------------------------------------------------------

// The host files whose appended archives the data and the media resolver consult from now on
// (an empty text: none); each resolver is enabled again and its pending temp file deleted.
void rtSetArchiveFiles(const RtString& dataArchive, const RtString& mediaArchive);

// ---------------------------------------------------------------------------------------------
// Files: file channels and file-system commands
// ---------------------------------------------------------------------------------------------
// Channels 0 to 7. A channel number outside 0..7 ends the program with code 7; a read or write
// that moves fewer bytes than asked (a closed channel included) ends it with code 3. Values are
// little-endian with nothing between them; '\' in file names is a folder separator.

// Opens the file on the channel (closing what it held): for reading when mode is non-zero
// (not-a-number included), else created empty for writing. 1 when open, else 0.
double rtOpenFile(double channel, const RtString& name, double mode);
// Closes the channel if it is open.
void rtCloseFile(double channel);
// 1 at the end of the file (and for a closed channel or a number outside 0..7), else 0.
double rtEndOfFile(double channel);
// Read 1, 2 or 4 bytes as an unsigned number, or 8 bytes as a double.
void rtReadUInt8(double channel, double& value);
void rtReadUInt16(double channel, double& value);
void rtReadUInt32(double channel, double& value);
void rtReadFloat64(double channel, double& value);
// Exactly count bytes (none for a count of 0 or less); the text ends at the first zero byte.
void rtReadChars(double channel, RtString& text, double count);
// Up to 1024 bytes up to the next LF; the LF and a CR before it are dropped. Code 3 at the end.
void rtReadLine(double channel, RtString& text);
// Write the low 8, 16 or 32 bits of the value truncated toward zero (300 → 44, -1 → FF FF),
// or the double as is.
void rtWriteUInt8(double channel, double value);
void rtWriteUInt16(double channel, double value);
void rtWriteUInt32(double channel, double value);
void rtWriteFloat64(double channel, double value);
// The text's bytes, without length or terminator.
void rtWriteChars(double channel, const RtString& text);
// The text followed by CR LF.
void rtWriteLine(double channel, const RtString& text);

// Size in bytes (low 32 bits); 0 when the file cannot be read.
double rtFileSize(const RtString& name);
// 1 when the file can be opened for reading, else 0 (folders are not files).
double rtFileExists(const RtString& name);
// 1 when the file was deleted, else 0.
double rtDeleteFile(const RtString& name);
// Copies source to destination, replacing it; a copy that fails part-way is removed again, and
// a file is never copied onto itself.
void rtCopyFile(const RtString& source, const RtString& destination);
// The current folder with '/' separators and a '/' at the end.
RtString rtGetCurrentDir();
// 1 when the current folder changed, else 0.
double rtSetCurrentDir(const RtString& folder);
// Turns every '\' of the text into '/'.
void rtForwardSlashes(RtString& text);

// ---------------------------------------------------------------------------------------------
// Files: folder listing
// ---------------------------------------------------------------------------------------------

struct RtTextArray;
// Fills the array with the current folder's sub-folders ("." and ".." included), then its files
// that match the pattern ('*' any run, '?' one character but not '.', letters in any case), each
// group in the system's order. Returns files + 65536 × folders.
double rtFileList(const RtString& pattern, RtTextArray& array);

// ---------------------------------------------------------------------------------------------
// Files: INI files and line files
// ---------------------------------------------------------------------------------------------
// One INI document and one line file are held at a time; each is written back when another is
// opened and when the program ends. Both are read through the data resolver.

// Writes the current INI document back if it changed, then reads the named file (a missing file
// gives an empty document that write-back creates).
void rtIniOpen(const RtString& name);
// The value of key in section (letter case ignored), or "NO_DATA".
RtString rtIniGet(const RtString& section, const RtString& key);
// Sets key = value in section (both made when missing); an empty value removes the pair, an
// empty key the whole section.
void rtIniPut(const RtString& section, const RtString& key, const RtString& value);

// Line n (0 to 255) of the named text file, trailing control bytes cut: "NO_FILE" when the file
// cannot be read, "NO_DATA" for an empty line or an index outside 0..255 (which records end code 7).
RtString rtGetFileLine(const RtString& name, double line);
// The line as a number (its leading number, else 0).
void rtGetFileLineNumber(const RtString& name, double line, double& value);
// Sets line n (0 to 255; another index records end code 7 and changes nothing); lines are cut
// to 1023 bytes.
void rtPutFileLine(const RtString& name, double line, const RtString& text);
// Sets line n to the number with 10 significant digits (2.5 → "2.5", 3 → "3").
void rtPutFileLineNumber(const RtString& name, double line, double number);

// ---------------------------------------------------------------------------------------------
// Files: system queries, dialogs, shell commands and library functions
// ---------------------------------------------------------------------------------------------

// Platform facts by key (the key is turned into capitals in place): "" → "WIN32", "ID" → an
// 8-digit hexadecimal machine code, "DEVICE" → "DESKTOP", "TIME" → local "2007-3-5 9:7:3";
// any other key → "NO_DATA".
RtString rtPlatformInfo(RtString& key);
// The system's open (mode non-zero) or save (mode 0) file dialog with a "description|pattern|..."
// filter; the chosen path with '/' separators, or "NO_FILE" when cancelled or no dialog exists.
RtString rtFileDialog(double mode, const RtString& filter);
// Runs the command line through the shell; with wait non-zero, waits and stores its exit code
// (else the code stays 0). 1 when it started, 0 when its program cannot be found or started.
double rtShellCommand(const RtString& commandLine, double wait, double show, double& exitCode);
// With a debugger attached: "BP" and the number in lower-case hexadecimal to the debugger's output,
// the window brought back to the front, the pause ended and the keys read anew; returns 1. Without
// one: 0.
double rtDebugMark(double number);
// The address of functionName in the library (loaded once, whatever the letter case of the
// request; libraryName is lower-cased in place), or null.
void rtGetLibraryFunction(RtString& libraryName, const RtString& functionName, void*& function);

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

// ---------------------------------------------------------------------------------------------
// 3D: frames, camera, lights and fog
// ---------------------------------------------------------------------------------------------
// Colours are packed red + green × 256 + blue × 65536. Positions are world units; angles degrees.

// Opens a 3D frame on the current viewport: projection with the near and far planes and the vertical
// view angle (0 or less: an orthographic box as wide as the near plane of that angle widened 100
// times), the view from the origin along -z, depth test on, lighting, fog and culling off, the
// transform stack closed down to level 0, texture offset and sphere mapping off.
void rtStart3D(double nearPlane, double farPlane, double viewAngle);
// Draws a pending shadow darkening and returns to 2D drawing on the current viewport.
void rtEnd3D();
// The view from the eye towards the target with the up direction of rtSetCameraUp; closes every
// transform level and resets level 0. An eye equal to the target keeps the view unturned.
void rtSetCamera(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ);
// The up direction used by the next rtSetCamera ((0, 1, 0) after rtStart3D).
void rtSetCameraUp(double x, double y, double z);
// By the number's sign: 1 culls counter-clockwise faces (clockwise ones are the front), -1 clockwise
// ones, 0 culls nothing.
void rtSetCulling(double mode);
// Fog in the colour (-1: fog off): exponential with density startOrDensity when exponential is
// non-zero, else linear from start to end (both 0: from the near to the far plane).
void rtSetFog(double colour, double exponential, double startOrDensity, double end);
// OpenGL light 0..7 (the number's low 3 bits): cone 0 switches it off (and lighting with the last);
// position and direction all 0: a light at the camera; cone up to 90: a spot at the position shining
// along the direction; up to 180: a point light; 180: parallel light along the direction. Numbers
// below 0 set the effect light of the per-vertex modes (-1 bump mapping, -3 stencil shadows, others
// ramp shading), casting while the cone is not 0; -3 also opens (cone not 0) or closes the shadow pass.
// Bump mapping lights meshes drawn with a bound normal map (rtLoadNormalMap): rtBind3DTextures(colour,
// normal map), or the normal map alone. Ramp shading lights them in four steps of their palette colours
// with a black outline while culling is on. For shadows, draw the scene, call rtSetLight(-3, ...) and
// draw the shadow casters again: they add only their shadow volumes, which rtEnd3D darkens.
void rtSetLight(double light, double colour, double x, double y, double z, double dx, double dy, double dz,
                double cone);
// rtSetLight with a light at the camera.
void rtSetCameraLight(double light, double colour);
// Clears the depth buffer.
void rtClearDepth();

// ---------------------------------------------------------------------------------------------
// 3D: placing objects
// ---------------------------------------------------------------------------------------------
// Up to 16 levels; drawing applies levels 0 to the current one, each as its matrices, translation,
// rotations (the last given first) and scale.

// Opens a level with no matrices or rotations, scale 1 and translation 0; nothing past 16 levels.
void rtPushMatrix();
// Closes the current level; nothing at level 0.
void rtPopMatrix();
// The level's translation, or scale; both drop the level's rotations and matrices.
void rtTranslate(double x, double y, double z);
void rtScale(double x, double y, double z);
// Adds a rotation by degrees about the axis to the level (at most 16; more are ignored).
void rtRotate(double degrees, double x, double y, double z);
// Adds a matrix of 16 numbers in OpenGL's column order to the level (at most 16); anything but a
// one-dimensional array of 16 elements is ignored.
void rtMultMatrix(const RtArray& matrix);

// ---------------------------------------------------------------------------------------------
// 3D: objects
// ---------------------------------------------------------------------------------------------
// Object slots are 0..4095; commands on other slot numbers do nothing and return 0.

// Loads a binary or text mesh file or an object description (meshes and their textures) into the
// slot; 1 on success, 0 when the file is missing or unreadable (the slot is then empty).
double rtLoadObject(const RtString& file, double slot);
// Writes the slot's first mesh as a binary mesh file; 1 on success.
double rtSaveObject(const RtString& file, double slot);
// Empties the slot and starts building a mesh in it from the following vertices (separate
// triangles until rtNewObjectStrip).
void rtStartObject(double slot);
// Adds a vertex to the object being built (nothing when none is); colour values from 0xFFFFFFFC up
// are white.
void rtAddObjectVertex(double x, double y, double z, double u, double v, double colour);
// The vertices that follow form a new triangle strip.
void rtNewObjectStrip();
// Finishes the object being built: normals by the normal mode, packing to 256 steps per axis. An
// object of fewer than three vertices is left empty.
void rtEndObject();
// How rtEndObject derives normals (the number modulo 3): 0 none, 1 each vertex from the faces it
// belongs to, 2 smoothed over all vertices at the same place.
void rtSetNormalMode(double mode);
// Draws the slot between key frames a and b (blend 0 = a, 1 = b); with animate non-zero the blend
// wraps into 0..1 and picks the neighbouring frames around a + (b - a) × blend. Meshes out of view
// are skipped.
void rtDrawObject(double slot, double frameA, double frameB, double blend, double animate);
void rtDrawObjectFrame(double slot, double frame);
// Triangles of the slot (all its meshes); 0 for an empty slot.
double rtObjectTriangleCount(double slot);
// Dimensions the array 3 × 6 and fills element (i, 0..5) with corner i's x, y, z, u, v and colour;
// all 0 for a triangle or frame the slot does not have.
void rtGetObjectTriangle(double slot, double frame, double triangle, RtArray& array);
// 1 when the slot's frame touches the sphere (or box: width on x and z, height on y; or the ray's
// distance factor to its nearest hit, 0 for none), the query placed by the current transform levels
// without their scales.
double rtObjectHitsSphere(double slot, double frame, double radius, double x, double y, double z);
double rtObjectHitsBox(double slot, double frame, double x, double y, double z, double width, double height);
double rtObjectRayDistance(double slot, double frame, double x, double y, double z, double dx, double dy,
                           double dz);

// ---------------------------------------------------------------------------------------------
// 3D: screen points, lines, sprites, text and textures
// ---------------------------------------------------------------------------------------------

// World point to screen pixel (y from the top) and depth 0..1; the outputs stay as they are when the
// point cannot be projected.
void rtProjectPoint(double x, double y, double z, double& screenX, double& screenY, double& depth);
// Screen point (pixel row y from the top, so the row of a projected y is y - 1) and depth to the world
// point; the outputs stay as they are when it has none.
void rtUnprojectPoint(double screenX, double screenY, double depth, double& x, double& y, double& z);
// A line or a point in the colour; width and size held to 1..512.
void rtDrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                  double colour);
void rtDrawPoint3D(double x, double y, double z, double size, double colour);
// Arrows of length 20 from the point along x (red), y (green) and z (blue).
void rtDrawAxes(double x, double y, double z);
// The sprite as a camera-facing quad standing on the point, scale × its size / 2 (no culling).
void rtDrawSpriteIn3D(double slot, double x, double y, double z, double scale);
// The text in the current font as a camera-facing strip centred on the point (scale 0: screen-aligned
// above the point's projection).
void rtDrawTextIn3D(const RtString& text, double x, double y, double z, double scale);
// Binds sprite slots as the textures of plain objects drawn next (-1 or any other number outside the
// sprite table: none), mipmapped when rtSet3DTextureMode chose so.
void rtBind3DTextures(double first, double second);
// Non-zero: rtBind3DTextures binds the mipmapped textures. 0 again after every frame.
void rtSet3DTextureMode(double mode);
// Added to every texture coordinate of the meshes drawn next (0 after rtStart3D).
void rtSetTextureOffset(double du, double dv);
// Non-zero: meshes get sphere-mapped texture coordinates (off after rtStart3D).
void rtSetSphereMapping(double on);

// ---------------------------------------------------------------------------------------------
// 3D: shaders
// ---------------------------------------------------------------------------------------------
// 255 shader slots (0..254); messages of the driver go to the error log (the debugger in debug mode).

// Compiles and links the vertex and fragment shader files into the slot (replacing what it held);
// 1 on success, 0 (and the slot empty) otherwise.
double rtLoadShader(double slot, const RtString& vertexFile, const RtString& fragmentFile);
// Draws with the slot's program from now on; 255 and above (or below 0): the fixed pipeline. Every
// frame starts with the fixed pipeline.
void rtUseShader(double slot);
// Sets the float uniform of that name in the current program, when it has one.
void rtSetShaderFloat(const RtString& name, double value);

// ---------------------------------------------------------------------------------------------
// Path finding
// ---------------------------------------------------------------------------------------------

// A* across the two-dimensional cost map (cell (x, y) = element (x, y); 0 or less, or not a finite
// number, is impassable) from the start to the goal cell with straight steps only. weight (held to
// 0..1) trades path cost (0) against distance to the goal (1). Returns the number of cells n on the
// path and writes them into path dimensioned n × 2 ((i, 0) = x, (i, 1) = y, start to goal); 0 and a
// path of size 0 when the goal cannot be reached; 0 with path untouched when start or goal lie
// outside the map or coincide, no cell is passable, the map is not two-dimensional, or the search
// would need more memory than the machine can spare.
double rtFindPath(const RtArray& map, RtArray& path, double weight, double startX, double startY,
                  double goalX, double goalY);
