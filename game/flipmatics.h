// Flipmatics, the pairs game.
#pragma once

// The game's main routine: loads its pictures and sounds, then runs the title menu for ever.
void flipmaticsMain();
