// Finding and opening the file of a music or a movie.
#include <cstring>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"
#include "runtime/media/media.h"

namespace rt {

MediaOpening openMediaByName(const char* name, MediaKind kind, MediaWindow*& window)
{
    window = nullptr;
    char path[resolvedPathCapacity];
    if (!rtResolveDataFile(engine.mediaResolver, name, path)) return MediaOpening::NotFound;
    std::string reason;
    window = openMediaWindow(path, kind, reason);
    if (!window) {
        std::string line = std::string("Cannot play ") + path + ": " + reason;
        rtLogError(line.c_str());
        return MediaOpening::Unplayable;
    }
    ArchiveResolver* resolver = engine.mediaResolver;
    if (resolver && resolver->pendingTempFile[0] && strcmp(resolver->pendingTempFile, path) == 0) {
        window->ownedTempFile = path;
        resolver->pendingTempFile[0] = '\0';
    }
    return MediaOpening::Opened;
}

} // namespace rt
