// Data file names for the INI and line-file readers.
#include "runtime/files/resolve_for_reading.h"

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/files/host_path.h"

using namespace rt;

namespace rt {

std::string resolveForReading(const char* name)
{
    char resolved[resolvedPathCapacity];
    if (rtResolveDataFile(engine.dataResolver, name, resolved)) return resolved;
    return hostPath(name);
}

} // namespace rt
