// Commands that work on a subsystem start-up creates (the renderer, the input context) have nothing to
// work on before start-up or after the end routine released it: a tool, a test or a static initialiser
// that calls one gets a clear line and the command's failure value instead of a crash.
#pragma once

namespace rt {

// Writes "<command> called before the engine started" as one line on standard error.
void reportCalledBeforeStart(const char* command);

} // namespace rt
