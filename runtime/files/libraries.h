// The cache of libraries that game code loaded through rtGetLibraryFunction.
#pragma once

namespace rt {

// How many libraries the cache holds.
int cachedLibraryCount();
// Unloads every cached library (at process exit).
void releaseLibraries();

} // namespace rt
