// The files subsystem's start and release.
#include "runtime/files/files_lifecycle.h"

#include <cstdlib>
#include <pthread.h>

#include "runtime/core/engine_state.h"
#include "runtime/files/archive_resolver.h"

using namespace rt;

namespace rt {

static FilesTeardown hooks;

// A program that uses the parts without the engine has no end routine to release them, so the hooks
// also run when the process exits - if this process used the parts: a child forked from it that never
// uses them itself must not write its parent's files back. Every INI and line command comes through
// here, so the check costs no system call.
static bool usedHere = false;

static void releaseFilesAtExit()
{
    if (usedHere) releaseFiles();
}

static void forgetUseInChild()
{
    usedHere = false;
}

FilesTeardown& filesTeardown()
{
    static bool exitHooked = false;
    if (!exitHooked) {
        std::atexit(releaseFilesAtExit);
        pthread_atfork(nullptr, nullptr, forgetUseInChild);
        exitHooked = true;
    }
    usedHere = true;
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
