// Flipmatics' main routine. Until the board and menu are written, the game shows empty frames on
// the 60 Hz grid; Escape, Left Alt + F4 or closing the window end it.
#include "game/flipmatics.h"

#include "runtime/runtime.h"

void flipmaticsMain()
{
    for (;;) rtShowFrame();
}
