// The ordered tear-down of files, documents and libraries at process exit.
#include "runtime/files/files_teardown.h"

#include <cstdlib>
#include <initializer_list>

static FilesTeardown hooks;

FilesTeardown& filesTeardown()
{
    // Registered on first use, so it runs before the destructors of any state made earlier.
    static bool registered = atexit(runFilesTeardown) == 0;
    (void)registered;
    return hooks;
}

void runFilesTeardown()
{
    for (void (*step)() : {hooks.writeBackIniDocument, hooks.closeFileChannels, hooks.writeBackLineFile,
                           hooks.releaseLibraries})
        if (step) step();
}
