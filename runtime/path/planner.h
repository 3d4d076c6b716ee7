// The path planner: a cost grid, an open list, a closed set and a node pool, set up once and searched
// with A*. rtFindPath builds one on its stack for every call.
#pragma once

#include <cstdint>

#include "runtime/path/fixed_deque.h"
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
    int32_t hashBits = 8;           // log2 of the closed set's bucket count
    float weight = 0.5f;            // heuristic weight, held to 0..1: 0 orders by cost, 1 by distance
    int32_t width = 0, height = 0;  // grid size in cells
    const double* costs = nullptr;  // width × height cell costs, cell (x, y) at x + y × width
    // 1: the open list is the plain sorted array, searched from the back for a cell's node; 0: a heap
    // with a per-cell index that lets nodes leave in the very same order, in logarithmic time.
    uint8_t sortedOpenList = 0;
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
    // Ready to search again from the start.
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
    int32_t openCount() const;
    int32_t closedCount() const { return closed_.count(); }
    // Searches since the last reset.
    int32_t searchCount() const { return searchCount_; }
    // Nodes taken from the open list by the searches since the last reset.
    int64_t expandedCount() const { return expanded_; }
    bool isDone() const { return done_; }

    // Cost of entering cell (x, y): from above 1 to 2 for passable cells, -1 for impassable ones.
    float cellCost(int32_t x, int32_t y) const { return costMap_[x + int64_t(y) * params_.width]; }

  protected:
    bool openInsert(Node* node);

    bool done_ = true;
    NodeFactory factory_;
    PlannerParams params_;
    float* costMap_ = nullptr; // width × height, owned
    int32_t searchCount_ = 0;  // searches since the last reset
    FixedDeque<Node*> open_;   // the sorted open list: highest f at the front, lowest at the back
    NodeHeap openHeap_;        // the same open list as a heap (see PlannerParams::sortedOpenList)
    NodeHashTable closed_;
    Node* path_ = nullptr;
    int64_t expanded_ = 0;

  private:
    void freeSearchMemory();
};

class AStarPlanner : public Planner
{
  public:
    // Planner::reset, then the start node alone on the open list.
    void reset() override;
    bool search() override;

  private:
    template <class OpenList> bool run(OpenList& open);
};

} // namespace rt
