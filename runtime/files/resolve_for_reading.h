// The path a reader of game data opens for a name: through the data resolver (disk first, then the
// archive, or the disk alone while no engine runs), else the name itself as a host path.
#pragma once

#include <string>

namespace rt {

// The resolved path when the name resolves, else the name unchanged (with '/' separators).
std::string resolveForReading(const char* name);

} // namespace rt
