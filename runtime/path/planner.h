// The path planner: a cost grid, an open list, a closed set and a node pool, set up once and searched
// with A*. rtFindPath builds one on its stack for every call.
#pragma once

#include <cstdint>

#include "runtime/path/node_heap.h"
#include "runtime/path/nodes.h"

namespace rt {

struct PlannerParams
{
    int32_t startX = 0, startY = 0; // start cell
    int32_t goalX = 0, goalY = 0;   // goal cell
    uint8_t diagonalSqrt2 = 1;      // a diagonal step costs 1.4142137 times the cell cost (else 1 times)
    uint8_t allowDiagonals = 0;     // also step to the four diagonal neighbours
    int32_t nodeCapacity = 0;       // node pool size; 0 = width × height
    int32_t openCapacity = 0;       // open list capacity; 0 = width × height
    float weight = 0.5f;            // heuristic weight, held to 0..1: 0 orders by cost, 1 by distance
    int32_t width = 0, height = 0;  // grid size in cells
    const double* costs = nullptr;  // width × height cell costs, cell (x, y) at x + y × width
};

// Owns the cost map and the search containers; subclasses supply the search.
class Planner
{
  public:
    Planner() = default;
    virtual ~Planner();
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;

    // Check and load the parameters and allocate all search memory. False when start or goal lie outside
    // the grid or coincide, no cell is passable, or the memory cannot (or should not) be had; the
    // planner cannot search then.
    bool setup(const PlannerParams& params);
    // Ready to search again from the start; what an earlier search left is cleared first.
    virtual void reset();
    // Run the search to its end; true when it ran (whether or not it found a path).
    virtual bool search() = 0;
    // Return every node to the pool and empty both lists; the planner is idle again.
    virtual void clear();

    // The goal node of the path found, its parents leading back to the start; null without a path.
    const Node* path() const { return path_; }
    // g of the goal node; -1 without a path.
    float pathCost() const { return path_ ? path_->g : -1; }
    // Nodes on the path, start and goal included; 0 without a path.
    int32_t pathLength() const;
    int32_t openCount() const { return open_.size(); }
    int32_t closedCount() const { return closedCount_; }
    // Searches since the last reset.
    int32_t searchCount() const { return searchCount_; }
    // Nodes taken from the open list by the searches since the last reset.
    int64_t expandedCount() const { return expanded_; }
    bool isDone() const { return done_; }

    // Cost of entering cell (x, y): from above 1 to 2 for passable cells, -1 for impassable ones.
    float cellCost(int32_t x, int32_t y) const { return grid_[cellOf(x, y)].cost; }

  protected:
    // The node, not open, is put on the open list; false (and it stays as it was) when the list is full.
    bool open(Node* node);
    int64_t cellOf(int32_t x, int32_t y) const { return x + int64_t(y) * params_.width; }

    bool done_ = true;
    NodeFactory factory_;
    PlannerParams params_;
    int32_t searchCount_ = 0; // searches since the last reset
    NodeHeap open_;
    int32_t closedCount_ = 0; // expanded nodes that have not opened again
    // What the search keeps of a cell, both halves side by side: a neighbour's cost and its node are
    // then one memory access away.
    struct GridCell
    {
        float cost; // of entering the cell: above 1 to 2 when passable, -1 when not
        // 0 when no node was made for the cell, else its pool node number + 1. The node is open when
        // the open list holds it and closed otherwise, so neither list is ever searched.
        int32_t mark;
    };
    GridCell* grid_ = nullptr; // width × height, cell (x, y) at x + y × width
    int64_t cells_ = 0;
    Node* path_ = nullptr;
    int64_t expanded_ = 0;

  private:
    void freeSearchMemory();
    size_t gridBytes() const { return size_t(cells_) * sizeof(GridCell); }
    // Unmark the cells of the nodes an earlier search used.
    void unmarkUsedCells();

    // Pool nodes from the first on whose cells may still be marked from the last search.
    uint32_t markedNodes_ = 0;
};

class AStarPlanner : public Planner
{
  public:
    // Planner::reset, then the start node alone on the open list.
    void reset() override;
    bool search() override;

  private:
    template <bool diagonals> bool run();
    // Reach cell (nx, ny), whose grid entry is `cell`, from the current node at cost newG and priority
    // newF.
    [[gnu::always_inline]] void visit(Node* current, GridCell& cell, int32_t nx, int32_t ny, float newG,
                                      float newF);
};

} // namespace rt
