// The end routine: every subsystem released once, in a fixed order, then the process exits.
#pragma once

// Makes rtFatalEnd (and so every way of ending) run the end routine; start-up does this first.
void installEngineEndRoutine();
