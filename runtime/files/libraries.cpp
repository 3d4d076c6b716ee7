// rtGetLibraryFunction: functions of other libraries by name, each library loaded once and kept
// until the process ends.
#include "runtime/files/libraries.h"

#include <dlfcn.h>
#include <vector>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/files/files_lifecycle.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// Parallel lists, in load order: the lower-cased name each library was asked for, and its handle.
static std::vector<RtString> libraryNames;
static std::vector<void*> libraryHandles;

int cachedLibraryCount()
{
    return int(libraryHandles.size());
}

void releaseLibraries()
{
    for (void* handle : libraryHandles)
        dlclose(handle);
    libraryHandles.clear();
    libraryNames.clear();
}

} // namespace rt

void rtGetLibraryFunction(RtString& libraryName, const RtString& functionName, void*& function)
{
    function = nullptr;
    RtString requested = libraryName;
    libraryName = libraryName.lowerCase();

    void* library = nullptr;
    for (size_t i = 0; i < libraryNames.size() && !library; ++i)
        if (libraryNames[i] == libraryName) library = libraryHandles[i];
    if (!library) {
        // Names are matched in lower case, but files here are named with capitals too: the name
        // as the game wrote it is tried first. The system's loader takes an empty name for the
        // program itself, which is no library.
        if (!libraryName.empty()) library = dlopen(requested.c_str(), RTLD_NOW);
        if (!library && requested != libraryName) library = dlopen(libraryName.c_str(), RTLD_NOW);
        if (!library) {
            if (engine.debugMode) rtDebugText(("Failed to load: " + libraryName).c_str());
            return;
        }
        filesTeardown().releaseLibraries = releaseLibraries;
        libraryHandles.push_back(library);
        libraryNames.push_back(libraryName);
    }
    function = dlsym(library, functionName.c_str());
}
