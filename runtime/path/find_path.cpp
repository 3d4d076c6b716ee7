// rtFindPath: A* over a game array of cell costs, the path written into another game array.
#include <cmath>

#include "runtime/path/planner.h"
#include "runtime/runtime.h"

using namespace rt;

double rtFindPath(const RtArray& map, RtArray& path, double weight, double startX, double startY,
                  double goalX, double goalY)
{
    PlannerParams params;
    params.startX = toInt(startX);
    params.startY = toInt(startY);
    params.goalX = toInt(goalX);
    params.goalY = toInt(goalY);
    params.diagonalSqrt2 = 1;
    params.allowDiagonals = 0;
    params.nodeCapacity = 0;
    params.openCapacity = 0;
    params.weight = std::isnan(weight) ? 0.0f : float(std::fmin(std::fmax(weight, 0.0), 1.0));
    // A map needs two dimensions; the cells are the first width × height elements of its storage.
    params.width = map.size2 > 0 ? map.size1 : 0;
    params.height = map.size2 > 0 ? map.size2 : 0;
    params.costs = map.data;

    AStarPlanner planner;
    if (!planner.setup(params)) return 0;
    planner.reset();
    planner.search();

    int32_t length = planner.pathLength();
    if (length == 0) {
        rtDimArray(path, 0, 0, 0, 0);
        return 0;
    }
    rtDimArray(path, length, 2, 0, 0);
    int32_t row = length;
    for (const Node* node = planner.path(); node; node = node->parent) {
        --row;
        rtArrayAt(path, row, 0) = node->x;
        rtArrayAt(path, row, 1) = node->y;
    }
    planner.clear();
    return path.size1;
}
