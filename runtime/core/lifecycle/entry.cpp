// The program entry: the game's start settings, start-up, the game's main routine, the end.
#include <cstring>
#include <string>

#include "runtime/core/engine_state.h"
#include "runtime/platform/window_sdl.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

// The arguments after the program's own name, separated by blanks; an argument that holds a blank
// is quoted, so the text reads as the command line that started the program.
static std::string argumentsText(int argc, char** argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += " ";
        bool quote = strchr(argv[i], ' ') || strchr(argv[i], '\t');
        if (quote) text += "\"";
        text += argv[i];
        if (quote) text += "\"";
    }
    return text;
}

} // namespace rt

void rtRunGame(int argc, char** argv, const GameSettings& settings, void (*gameMain)())
{
    engine.screenWidth = settings.screenWidth;
    engine.screenHeight = settings.screenHeight;
    engine.commandLine = argumentsText(argc, argv);
    engine.fullScreen = settings.fullScreen;
    engine.frameRate = settings.frameRate;
    engine.debugMode = settings.debugMode;
    engine.exclusiveMouse = settings.exclusiveMouse;
    rtEngineInit(settings.title);
    engine.endLine = 0;
    engine.endCode = 0;
    engine.sourceLine = 0;
    gameMain();
    rtFatalEnd();
}

double rtWindowHandle()
{
    return double(nativeWindowHandle(engine.window));
}
