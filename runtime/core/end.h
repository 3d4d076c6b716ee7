// The error log and the one way out of the program.
#pragma once

// Append one line (plus CR LF) to ErrorLog.txt in the temp folder; the file is opened and closed for
// every line so that lines written just before a crash are on disk. A line that cannot be written
// is dropped silently. A null text writes "null".
void rtLogError(const char* text);


// The text "TX" and the given text to the debugger's output, only while a debugger is attached.
void rtDebugText(const char* text);
// With debug mode off: a log line; with it on: debugger output of the text and a line feed.
void rtErrorOrDebugText(const char* text);

// endCode = code, endLine = sourceLine; returns code.
double rtSetEndCode(double code);
void rtSetSourcePosition(double file, double line);

// The game's end command: end code 0, then the end routine.
[[noreturn]] void rtEnd();
// The one way out: runs the end routine start-up installed (which releases every subsystem in a fixed
// order) and exits the process with code 0. Before start-up only the end lines are logged.
[[noreturn]] void rtFatalEnd();
// Runtime errors: rtSetEndCode(code), then the end routine (7 = out of range or no storage,
// 8 = no size, 9 = index out of range).
[[noreturn]] void rtEndWithCode(double code);

namespace rt {

// Path of the error log: the temp folder followed directly by "ErrorLog.txt".
const char* errorLogPath();

// Start-up hands over the routine that releases the subsystems; rtFatalEnd runs it.
void installEndRoutine(void (*endRoutine)());
// In debug mode: "-End On Line", then end code, end line - 1, source line and source file ("%.2g").
void logEndLines();

} // namespace rt
