#include "runtime/core/not_started.h"

#include <cstdio>

namespace rt {

void reportCalledBeforeStart(const char* command)
{
    fprintf(stderr, "%s called before the engine started\n", command);
}

} // namespace rt
