// The engine's one global record.
#include "runtime/core/engine_state.h"

EngineState engine;
