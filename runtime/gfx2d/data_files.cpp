// The one place where the 2D loaders turn a game's file name into a path.
#include "runtime/gfx2d/data_files.h"

#include <cstring>

#include "runtime/core/engine_state.h"
#include "runtime/files/load_failure_log.h"

using namespace rt;

namespace rt {

bool resolveDataName(const RtString& name, char* path, const char* kind)
{
    if (name.empty()) {
        // An empty name names no file, but asking for it still ends the life of the temporary file the
        // resolver unpacked for the previous name, as every lookup does.
        if (engine.dataResolver) rtResolveDataFile(engine.dataResolver, "", path);
        return false;
    }
    if (!engine.dataResolver) {
        if (name.length() >= uint32_t(resolvedPathCapacity)) return false;
        memcpy(path, name.c_str(), name.length() + 1);
        return true;
    }
    if (rtResolveDataFile(engine.dataResolver, name.c_str(), path)) return true;
    if (kind) rt::logLoadFailure(kind, name.c_str(), rt::LoadFailure::NotFound);
    return false;
}

} // namespace rt
