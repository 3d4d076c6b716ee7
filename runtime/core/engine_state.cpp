// The engine's one global record.
#include "runtime/core/engine_state.h"

using namespace rt;

namespace rt {

EngineState engine;

} // namespace rt
