// The planner's set-up and containers, and the A* search.
#include "runtime/path/planner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

using namespace rt;

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

// The sorted open list: highest f at the front, lowest at the back, so the back leaves first.
class SortedOpenList
{
  public:
    explicit SortedOpenList(FixedDeque<Node*>& deque) : deque_(deque) {}

    bool isEmpty() const { return deque_.isEmpty(); }

    Node* popLowest()
    {
        Node* lowest = deque_.back();
        deque_.popBack();
        return lowest;
    }

    // A node enters in front of all nodes of equal f, so among those it leaves last.
    bool insert(Node* node)
    {
        uint32_t low = 0, high = deque_.size();
        while (low < high) {
            uint32_t middle = low + (high - low) / 2;
            if (deque_.at(middle)->f <= node->f)
                high = middle;
            else
                low = middle + 1;
        }
        return deque_.insertAt(low, node);
    }

    // Searched from the back, where the nodes about to leave wait.
    Node* find(int32_t x, int32_t y)
    {
        for (uint32_t i = deque_.size(); i-- > 0;) {
            Node* node = deque_.at(i);
            if (node->x == x && node->y == y) {
                foundIndex_ = i;
                return node;
            }
        }
        return nullptr;
    }

    // The node last found got a new f: out of its place and in again.
    void reenter(Node* node)
    {
        deque_.eraseAt(foundIndex_);
        insert(node);
    }

    // Any cell may be closed: the closed set alone knows.
    bool mayBeClosed(int32_t, int32_t) const { return true; }
    void noteClosed(const Node*) {}

  private:
    FixedDeque<Node*>& deque_;
    uint32_t foundIndex_ = 0;
};

class HeapOpenList
{
  public:
    explicit HeapOpenList(NodeHeap& heap) : heap_(heap) {}
    bool isEmpty() const { return heap_.isEmpty(); }
    Node* popLowest() { return heap_.popLowest(); }
    bool insert(Node* node) { return heap_.insert(node); }
    Node* find(int32_t x, int32_t y) { return heap_.find(x, y); }
    void reenter(Node* node) { heap_.reenter(node); }
    bool mayBeClosed(int32_t x, int32_t y) const { return heap_.isClosed(x, y); }
    void noteClosed(const Node* node) { heap_.noteClosed(node); }

  private:
    NodeHeap& heap_;
};

} // namespace

Planner::~Planner()
{
    Planner::clear();
    delete[] costMap_;
}

void Planner::freeSearchMemory()
{
    delete[] costMap_;
    costMap_ = nullptr;
    factory_.setCapacity(0);
    open_.resize(0);
    openHeap_.release();
    closed_.setSize(0);
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
    const int32_t hashBits = std::clamp(params.hashBits, 0, 24) & ~1;

    // Everything the search will need, counted before any of it is taken.
    uint64_t bytes = uint64_t(cells) * sizeof(float) + uint64_t(nodeCount) * sizeof(Node) +
                     (uint64_t(1) << hashBits) * sizeof(Node*);
    if (params.sortedOpenList)
        bytes += uint64_t(openCount) * 2 * sizeof(Node*);
    else
        bytes += uint64_t(openCount) * 24 + uint64_t(cells) * sizeof(int32_t);
    if (bytes > searchMemoryLimit()) return false;

    clear();
    freeSearchMemory();
    params_ = PlannerParams();
    path_ = nullptr;

    costMap_ = new (std::nothrow) float[size_t(cells)];
    if (!costMap_) return false;
    // Costs of 0 or less, and costs that are not finite numbers, make a cell impassable.
    double largest = 0;
    for (int64_t i = 0; i < cells; ++i) {
        double value = params.costs[i];
        if (value > 0 && std::isfinite(value)) largest = std::max(largest, value);
    }
    if (largest <= 0) {
        freeSearchMemory();
        return false;
    }
    // Only costs relative to the largest matter: passable cells cost more than 1 and at most 2.
    for (int64_t i = 0; i < cells; ++i) {
        double value = params.costs[i];
        costMap_[i] = value > 0 && std::isfinite(value) ? float(value / largest + 1) : -1.0f;
    }

    bool ready = factory_.setCapacity(nodeCount) && closed_.setSize(hashBits) &&
                 (params.sortedOpenList ? open_.resize(uint32_t(openCount))
                                        : openHeap_.resize(openCount, width, height));
    if (!ready) {
        freeSearchMemory();
        return false;
    }
    params_ = params;
    params_.costs = nullptr; // the cost map is our own from here on
    params_.hashBits = hashBits;
    params_.weight = std::isnan(params.weight) ? 0.0f : std::clamp(params.weight, 0.0f, 1.0f);
    path_ = nullptr;
    done_ = true;
    return true;
}

void Planner::reset()
{
    done_ = false;
    searchCount_ = 0;
    path_ = nullptr;
    expanded_ = 0;
}

void Planner::clear()
{
    for (int32_t i = openCount(); i > 0; --i)
        factory_.release();
    open_.clear();
    openHeap_.clear();
    closed_.clear(factory_);
    path_ = nullptr;
    done_ = true;
}

bool Planner::openInsert(Node* node)
{
    return params_.sortedOpenList ? open_.pushBack(node) : openHeap_.insert(node);
}

int32_t Planner::pathLength() const
{
    int32_t length = 0;
    for (const Node* node = path_; node; node = node->parent)
        ++length;
    return length;
}

int32_t Planner::openCount() const
{
    return params_.sortedOpenList ? int32_t(open_.size()) : openHeap_.size();
}

void AStarPlanner::reset()
{
    Planner::reset();
    if (!costMap_) return;
    Node* start = factory_.allocate();
    if (!start) return;
    int32_t h = std::abs(params_.goalX - params_.startX) + std::abs(params_.goalY - params_.startY);
    *start = Node{nullptr, params_.startX, params_.startY, params_.weight * float(h), 0.0f, nullptr};
    if (!openInsert(start)) factory_.release();
}

bool AStarPlanner::search()
{
    if (!costMap_) return false;
    if (params_.sortedOpenList) {
        SortedOpenList open(open_);
        return run(open);
    }
    HeapOpenList open(openHeap_);
    return run(open);
}

template <class OpenList> bool AStarPlanner::run(OpenList& open)
{
    // Neighbours in this order; the diagonal ones only when allowed.
    static constexpr int stepX[8] = {-1, 0, 1, 1, -1, -1, 0, 1};
    static constexpr int stepY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    static constexpr bool diagonal[8] = {true, false, true, false, false, true, false, true};

    ++searchCount_;
    const PlannerParams& p = params_;
    while (!open.isEmpty()) {
        Node* current = open.popLowest();
        ++expanded_;
        if (current->x == p.goalX && current->y == p.goalY) {
            closed_.insert(current);
            open.noteClosed(current);
            done_ = true;
            path_ = current;
            return true;
        }
        for (int k = 0; k < 8; ++k) {
            if (diagonal[k] && !p.allowDiagonals) continue;
            int32_t nx = current->x + stepX[k], ny = current->y + stepY[k];
            if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height) continue;
            float cost = cellCost(nx, ny);
            if (cost < 0) continue;
            float step = diagonal[k] && p.diagonalSqrt2 ? cost * 1.4142137f : cost;
            float newG = current->g + step;
            float h = float(std::abs(p.goalX - nx) + std::abs(p.goalY - ny));
            float newF = newG + p.weight * (h - newG);

            if (open.mayBeClosed(nx, ny)) {
                if (Node* closed = closed_.find(nx, ny)) {
                    // A cheaper way into an expanded cell opens it again.
                    if (closed->g > newG) {
                        closed_.unlinkFound();
                        closed->parent = current;
                        closed->g = newG;
                        closed->f = newF;
                        if (!open.insert(closed)) {
                            closed_.insert(closed);
                            open.noteClosed(closed);
                        }
                    }
                    continue;
                }
            }
            if (Node* waiting = open.find(nx, ny)) {
                if (waiting->g <= newG) continue;
                waiting->parent = current;
                waiting->g = newG;
                waiting->f = newF;
                open.reenter(waiting);
                continue;
            }
            Node* node = factory_.allocate();
            if (!node) continue; // a pool smaller than the grid: the cell stays unexplored
            *node = Node{current, nx, ny, newF, newG, nullptr};
            if (!open.insert(node)) factory_.release();
        }
        closed_.insert(current);
        open.noteClosed(current);
    }
    done_ = true;
    return true;
}

} // namespace rt
