// The socket layer's per-thread error number, set by each of its files and read with nlGetError.
#pragma once

#include "runtime/net/nl_sockets.h"

namespace rt {

// Sets the calling thread's error number.
void setNlError(NLint error);

// Sets the calling thread's error number and gives back `result`, for a failing return in one line.
template <class T> T nlFail(NLint error, T result)
{
    setNlError(error);
    return result;
}

} // namespace rt
