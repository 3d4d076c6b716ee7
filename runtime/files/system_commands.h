// Host system queries, file dialogs, starting other programs and the debugger mark.
#pragma once

#include <cstdint>

namespace rt {

// The 32-bit machine code that "ID" shows before its mask: a hash of the system's machine
// identifier, or a fixed default when the system has none.
uint32_t machineSerial();

} // namespace rt
