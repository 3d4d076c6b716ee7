// Commands on files and the system: the data resolver, file channels, folder listing, INI and line
// files, system queries, dialogs, shell commands and library functions.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/rt_string.h"

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
