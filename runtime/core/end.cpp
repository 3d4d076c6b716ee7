// End codes, the source position and the one way out of the program.
#include "runtime/core/end.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "runtime/core/engine_state.h"

using namespace rt;

namespace rt {

// The end routine start-up installed; null until then.
static void (*installedEndRoutine)() = nullptr;

void installEndRoutine(void (*endRoutine)())
{
    installedEndRoutine = endRoutine;
}

} // namespace rt

double rtSetEndCode(double code)
{
    engine.endCode = code;
    engine.endLine = engine.sourceLine;
    return code;
}

void rtSetSourcePosition(double file, double line)
{
    engine.sourceFile = file;
    engine.sourceLine = line;
}

void rtEnd()
{
    rtSetEndCode(0);
    rtFatalEnd();
}

void rtEndWithCode(double code)
{
    rtSetEndCode(code);
    rtFatalEnd();
}

namespace rt {

static void logEndNumber(double value)
{
    char text[64];
    snprintf(text, sizeof text, "%.2g", value);
    rtLogError(text);
}

void logEndLines()
{
    if (!engine.debugMode) return;
    rtLogError("-End On Line");
    logEndNumber(engine.endCode);
    logEndNumber(engine.endLine - 1);
    logEndNumber(engine.sourceLine);
    logEndNumber(engine.sourceFile);
}

} // namespace rt

void rtFatalEnd()
{
    // An end asked for by a destructor while the process already exits must not exit twice.
    static bool exiting = false;
    if (exiting) _exit(0);
    // A program that never started the engine has nothing to release but still logs how it ended.
    if (installedEndRoutine)
        installedEndRoutine();
    else
        logEndLines();
    exiting = true;
    exit(0);
}
