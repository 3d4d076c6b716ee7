// File names as game code writes them, turned into names this system opens. Games written for
// systems that separate folders with '\' keep doing so: every '\' is a folder separator here.
#pragma once

#include <string>

namespace rt {

// The name with every '\' turned into '/'.
std::string hostPath(const char* name);
// Opens an existing regular file for reading (read-only, close-on-exec); -1 when the name is
// missing, cannot be read or names a folder.
int openExistingFile(const char* name);

} // namespace rt
