// Start, per-frame duties and release of the input system.
#include "runtime/input/input_lifecycle.h"

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/not_started.h"
#include "runtime/input/input.h"
#include "runtime/input/key_codes.h"

using namespace rt;

namespace rt {

InputContext* startedInput(const char* command)
{
    if (!engine.inputSystem) reportCalledBeforeStart(command);
    return engine.inputSystem;
}

void createInputContext()
{
    engine.inputSystem = new InputContext;
}

void startInput()
{
    engine.inputSystem->setUp(engine.window, engine.exclusiveMouse);
}

void pollInputForFrame()
{
    InputContext& input = *engine.inputSystem;
    input.refreshKeyboard();
    input.markNewFrame();
    if (engine.escapeEnds && input.keyDown(rtKeyEscape)) rtEnd();
    if (input.keyDown(rtKeyLeftAlt) && input.keyDown(rtKeyF4)) rtEnd();
}

void releaseInput()
{
    InputContext* input = engine.inputSystem;
    engine.inputSystem = nullptr;
    delete input;
}

} // namespace rt
