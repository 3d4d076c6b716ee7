// The path a reader of game data opens for a name: through the data resolver (disk first, then the
// archive) while it exists, else the name itself as a host path.
#pragma once

#include <string>

// The resolved path when the name resolves, else the name unchanged (with '/' separators).
std::string resolveForReading(const char* name);
