// The files subsystem's start and release.
#include "runtime/files/files_lifecycle.h"

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"

using namespace rt;

namespace rt {

static FilesTeardown hooks;

FilesTeardown& filesTeardown()
{
    return hooks;
}

void createArchiveResolvers()
{
    engine.dataResolver = createArchiveResolver();
    engine.mediaResolver = createArchiveResolver();
}

void releaseArchiveResolvers()
{
    releaseArchiveResolver(engine.mediaResolver);
    engine.mediaResolver = nullptr;
    releaseArchiveResolver(engine.dataResolver);
    engine.dataResolver = nullptr;
}

void releaseFiles()
{
    for (void (**step)() : {&hooks.writeBackIniDocument, &hooks.closeFileChannels, &hooks.writeBackLineFile,
                            &hooks.releaseLibraries}) {
        void (*release)() = *step;
        *step = nullptr; // taken before it runs: a step that ends the program again is not repeated
        if (release) release();
    }
}

} // namespace rt
