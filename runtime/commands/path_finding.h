// The path finding command: A* across a cost map.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/arrays.h"

// ---------------------------------------------------------------------------------------------
// Path finding
// ---------------------------------------------------------------------------------------------

// A* across the two-dimensional cost map (cell (x, y) = element (x, y); 0 or less, or not a finite
// number, is impassable) from the start to the goal cell with straight steps only. weight (held to
// 0..1) trades path cost (0) against distance to the goal (1). Returns the number of cells n on the
// path and writes them into path dimensioned n × 2 ((i, 0) = x, (i, 1) = y, start to goal); 0 and a
// path of size 0 when the goal cannot be reached; 0 with path untouched when start or goal lie
// outside the map or coincide, no cell is passable, the map is not two-dimensional, or the search
// would need more memory than the machine can spare.
double rtFindPath(const RtArray& map, RtArray& path, double weight, double startX, double startY,
                  double goalX, double goalY);
