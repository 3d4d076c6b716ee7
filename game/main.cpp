// Flipmatics' entry: a 320 × 240 screen at 60 frames per second, full screen.
#include "game/flipmatics.h"
#include "runtime/runtime.h"

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "Flipmatics";
    settings.screenWidth = 320;
    settings.screenHeight = 240;
    settings.frameRate = 60;
    settings.fullScreen = true;
    settings.debugMode = false;
    settings.exclusiveMouse = false;
    rtRunGame(argc, argv, settings, flipmaticsMain);
}
