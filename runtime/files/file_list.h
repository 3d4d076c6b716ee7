// Folder listings for rtFileList.
#pragma once

namespace rt {

// True when the name matches the pattern: '*' any run of characters (none included), '?' any one
// character except '.', everything else itself with ASCII letter case ignored.
bool matchesFilePattern(const char* name, const char* pattern);

} // namespace rt
