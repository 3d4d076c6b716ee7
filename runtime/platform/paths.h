// Folders and files the runtime finds on the system.
#pragma once

#include <string>

namespace rt {

// The system temp folder with a trailing '/': $TMPDIR when set, else /tmp.
std::string tempFolderPath();
// The running program's own file, or the empty text when the system does not tell.
std::string programPath();
// True when a debugger is attached to this process.
bool debuggerAttached();

} // namespace rt
