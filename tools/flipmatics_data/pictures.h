// The background and the three end pictures.
#pragma once

#include "picture.h"

namespace flipdata {

// Dark green baize: a soft light in the middle, darker edges, a faint woven texture.
Picture background();
// Level won: a gold rosette with ribbons and "WELL DONE".
Picture pictureWin();
// Level lost: a maroon tablet with a turn-back arrow and "TRY AGAIN".
Picture pictureLose();
// Last level won: a trophy in a burst of rays and "ALL CLEAR!".
Picture pictureEnd();

} // namespace flipdata
