// The planner's set-up and containers, and the A* search.
#include "runtime/path/planner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

#include "runtime/path/search_memory.h"

namespace rt {

namespace {

// Search memory may take at most half of the machine's memory: a map too large for that fails the
// set-up instead of driving the system out of memory part-way through a search.
uint64_t searchMemoryLimit()
{
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return UINT64_MAX;
    return uint64_t(pages) * uint64_t(pageSize) / 2;
}

bool isPassable(double cost)
{
    return cost > 0 && cost < HUGE_VAL;
}

} // namespace

Planner::~Planner()
{
    Planner::clear();
    freeSearchMemory();
}

void Planner::freeSearchMemory()
{
    releaseSearchMemory(grid_, gridBytes());
    grid_ = nullptr;
    cells_ = 0;
    factory_.setCapacity(0);
    open_.release();
    closedCount_ = 0;
    markedNodes_ = 0;
}

bool Planner::setup(const PlannerParams& params)
{
    const int32_t width = params.width, height = params.height;
    if (width <= 0 || height <= 0 || !params.costs) return false;
    if (params.startX < 0 || params.startX >= width || params.startY < 0 || params.startY >= height ||
        params.goalX < 0 || params.goalX >= width || params.goalY < 0 || params.goalY >= height)
        return false;
    if (params.startX == params.goalX && params.startY == params.goalY) return false;
    if (params.nodeCapacity < 0 || params.openCapacity < 0) return false;
    const int64_t cells = int64_t(width) * height;
    if (cells > INT32_MAX) return false;
    const int32_t nodeCount = params.nodeCapacity ? params.nodeCapacity : int32_t(cells);
    const int32_t openCount = params.openCapacity ? params.openCapacity : int32_t(cells);

    // Everything the search may need (grid, nodes, heap entries), counted before any of it is taken.
    // The nodes and the heap are only touched as far as the search reaches.
    uint64_t bytes = uint64_t(cells) * sizeof(GridCell) + uint64_t(nodeCount) * sizeof(Node) +
                     NodeHeap::bytesFor(openCount, nodeCount);
    static const uint64_t memoryLimit = searchMemoryLimit(); // asks the system: once is enough
    if (bytes > memoryLimit) return false;

    clear();
    freeSearchMemory();
    params_ = PlannerParams();
    path_ = nullptr;

    cells_ = cells;
    grid_ = static_cast<GridCell*>(allocateSearchMemory(gridBytes(), false));
    if (!grid_) {
        freeSearchMemory();
        return false;
    }
    // Costs of 0 or less, and costs that are not finite numbers, make a cell impassable.
    const double* costs = params.costs;
    double largest = 0;
    for (int64_t i = 0; i < cells; ++i)
        largest = std::max(largest, isPassable(costs[i]) ? costs[i] : 0.0);
    if (largest <= 0) {
        freeSearchMemory();
        return false;
    }
    // Only costs relative to the largest matter: passable cells cost more than 1 and at most 2.
    for (int64_t i = 0; i < cells; ++i) {
        float normalised = float(costs[i] / largest + 1);
        grid_[i] = GridCell{isPassable(costs[i]) ? normalised : -1.0f, 0};
    }

    if (!factory_.setCapacity(nodeCount) || !open_.resize(openCount, nodeCount)) {
        freeSearchMemory();
        return false;
    }
    params_ = params;
    params_.costs = nullptr; // the cost map is our own from here on
    params_.weight = std::isnan(params.weight) ? 0.0f : std::clamp(params.weight, 0.0f, 1.0f);
    path_ = nullptr;
    done_ = true;
    return true;
}

void Planner::reset()
{
    clear();
    unmarkUsedCells();
    done_ = false;
    searchCount_ = 0;
    path_ = nullptr;
    expanded_ = 0;
}

void Planner::clear()
{
    // Every node handed out is open or closed, so all of them return to the pool. Their cells stay
    // marked closed until the next reset: a planner that is cleared and destroyed never walks them.
    markedNodes_ = std::max(markedNodes_, factory_.used());
    factory_.release(uint32_t(open_.size() + closedCount_));
    open_.clear();
    closedCount_ = 0;
    path_ = nullptr;
    done_ = true;
}

void Planner::unmarkUsedCells()
{
    for (uint32_t i = 0; i < markedNodes_; ++i) {
        const Node* node = factory_.at(i);
        grid_[cellOf(node->x, node->y)].mark = 0;
    }
    markedNodes_ = 0;
}

bool Planner::open(Node* node)
{
    uint32_t index = factory_.indexOf(node);
    if (!open_.insert(node, index)) return false;
    int32_t& mark = grid_[cellOf(node->x, node->y)].mark;
    if (mark != 0)
        --closedCount_; // a closed node opens again
    else
        mark = int32_t(index) + 1;
    return true;
}

int32_t Planner::pathLength() const
{
    int32_t length = 0;
    for (const Node* node = path_; node; node = node->parent)
        ++length;
    return length;
}

void AStarPlanner::reset()
{
    Planner::reset();
    if (!grid_) return;
    Node* start = factory_.allocate();
    if (!start) return;
    int32_t h = std::abs(params_.goalX - params_.startX) + std::abs(params_.goalY - params_.startY);
    *start = Node{nullptr, params_.startX, params_.startY, params_.weight * float(h), 0.0f, nullptr};
    if (!open(start)) factory_.release();
}

bool AStarPlanner::search()
{
    if (!grid_) return false;
    ++searchCount_;
    return params_.allowDiagonals ? run<true>() : run<false>();
}

// The search for one neighbourhood, so that the compiler can lay out the neighbour visits one by one.
template <bool diagonals> bool AStarPlanner::run()
{
    // Neighbours in this order; the diagonal ones only when allowed.
    static constexpr int stepX[8] = {-1, 0, 1, 1, -1, -1, 0, 1};
    static constexpr int stepY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    static constexpr bool diagonal[8] = {true, false, true, false, false, true, false, true};

    // The search writes nodes and heap entries, which the compiler must assume could change any member;
    // copies of what the loop reads stay in registers instead of being read again after every write.
    const int32_t width = params_.width, height = params_.height;
    const int32_t goalX = params_.goalX, goalY = params_.goalY;
    const float weight = params_.weight;
    const bool diagonalSqrt2 = params_.diagonalSqrt2;
    GridCell* const grid = grid_;
    while (!open_.isEmpty()) {
        Node* current = factory_.at(uint32_t(open_.popLowest()));
        ++expanded_;
        const int32_t x = current->x, y = current->y;
        if (x == goalX && y == goalY) {
            ++closedCount_; // expanded: closed
            done_ = true;
            path_ = current;
            return true;
        }
        for (int k = 0; k < 8; ++k) {
            if (diagonal[k] && !diagonals) continue;
            int32_t nx = x + stepX[k], ny = y + stepY[k];
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            GridCell& cell = grid[nx + int64_t(ny) * width];
            if (cell.cost < 0) continue;
            float step = diagonal[k] && diagonalSqrt2 ? cell.cost * 1.4142137f : cell.cost;
            float newG = current->g + step;
            float h = float(std::abs(goalX - nx) + std::abs(goalY - ny));
            visit(current, cell, nx, ny, newG, newG + weight * (h - newG));
        }
        ++closedCount_; // expanded: closed
    }
    done_ = true;
    return true;
}

inline void AStarPlanner::visit(Node* current, GridCell& cell, int32_t nx, int32_t ny, float newG, float newF)
{
    if (int32_t mark = cell.mark) {
        uint32_t index = uint32_t(mark - 1);
        Node* known = factory_.at(index);
        if (known->g <= newG) return;
        known->parent = current;
        known->g = newG;
        known->f = newF;
        if (open_.contains(index))
            open_.reenter(known, index);
        else
            open(known); // a cheaper way into an expanded cell opens it again
        return;
    }
    Node* node = factory_.allocate();
    if (!node) return; // a pool smaller than the grid: the cell stays unexplored
    *node = Node{current, nx, ny, newF, newG, nullptr};
    uint32_t index = factory_.indexOf(node);
    if (open_.insert(node, index))
        cell.mark = int32_t(index) + 1;
    else
        factory_.release();
}

} // namespace rt
