// File names of loading commands turned into paths to open, through the engine's data resolver.
#pragma once

#include "runtime/files/archive_resolver.h"
#include "runtime/values/rt_string.h"

namespace rt {

// Resolves the game's file name into `path` (resolvedPathCapacity bytes). Without a resolver the name
// is used as it is. False when there is no file to open, which is logged as a failed load of the kind
// of file named (see logLoadFailure; a null kind is not logged). The game's own text is left unchanged.
bool resolveDataName(const RtString& name, char* path, const char* kind);

} // namespace rt
