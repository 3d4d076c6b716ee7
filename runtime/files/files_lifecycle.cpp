// The files subsystem's start and release.
#include "runtime/files/files_lifecycle.h"

#include <cstdlib>
#include <unistd.h>

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"

using namespace rt;

namespace rt {

static FilesTeardown hooks;

// The process that last hooked a part in. A program that uses the parts without the engine has no end
// routine to release them, so the hooks also run when that process exits; a child forked from it
// that never uses them itself must not write its parent's files back.
static pid_t hookingProcess = 0;

static void releaseFilesAtExit()
{
    if (getpid() == hookingProcess) releaseFiles();
}

FilesTeardown& filesTeardown()
{
    pid_t self = getpid();
    if (hookingProcess != self) {
        if (hookingProcess == 0) std::atexit(releaseFilesAtExit);
        hookingProcess = self;
    }
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
