// The end routine: every subsystem released once, in a fixed order, then the process exits.
#pragma once

namespace rt {

// Makes rtFatalEnd (and so every way of ending) run the end routine; start-up does this first.
void installEngineEndRoutine();

} // namespace rt
