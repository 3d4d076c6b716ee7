// The plain A* the planner must agree with, node for node: a sorted array as the open list (bisection
// insertion, a search from the back for a cell's node), a chained hash table as the closed set. Slow,
// but every step is easy to check by reading.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "fixed_deque.h"
#include "node_hash_table.h"
#include "runtime/path/planner.h"

using rt::FixedDeque;
using rt::PlannerParams;

struct ReferenceOutcome
{
    std::vector<std::pair<int, int>> cells; // goal first; empty without a path
    float cost = -1;
    int64_t expanded = 0;
    int32_t closed = 0;
};

class ReferencePlanner
{
  public:
    // Nothing when the parameters are unusable; hashBits sizes the closed set.
    ReferenceOutcome run(const PlannerParams& p, int32_t hashBits)
    {
        ReferenceOutcome outcome;
        if (!load(p, hashBits)) return outcome;
        int32_t h = std::abs(p.goalX - p.startX) + std::abs(p.goalY - p.startY);
        Node* start = pool_.allocate();
        *start = Node{nullptr, p.startX, p.startY, weight_ * float(h), 0.0f, nullptr};
        open_.pushBack(start);
        Node* goal = search(p, outcome.expanded);
        outcome.closed = closed_.count();
        for (const Node* node = goal; node; node = node->parent)
            outcome.cells.push_back({node->x, node->y});
        if (goal) outcome.cost = goal->g;
        return outcome;
    }

  private:
    bool load(const PlannerParams& p, int32_t hashBits)
    {
        const int64_t cells = int64_t(p.width) * p.height;
        if (p.width <= 0 || p.height <= 0 || p.startX < 0 || p.startX >= p.width || p.startY < 0 ||
            p.startY >= p.height || p.goalX < 0 || p.goalX >= p.width || p.goalY < 0 || p.goalY >= p.height ||
            (p.startX == p.goalX && p.startY == p.goalY))
            return false;
        double largest = 0;
        for (int64_t i = 0; i < cells; ++i)
            if (p.costs[i] > 0 && std::isfinite(p.costs[i])) largest = std::max(largest, p.costs[i]);
        if (largest <= 0) return false;
        for (int64_t i = 0; i < cells; ++i) {
            double value = p.costs[i];
            costs_.push_back(value > 0 && std::isfinite(value) ? float(value / largest + 1) : -1.0f);
        }
        weight_ = std::isnan(p.weight) ? 0.0f : std::clamp(p.weight, 0.0f, 1.0f);
        pool_.setCapacity(p.nodeCapacity ? p.nodeCapacity : int32_t(cells));
        open_.resize(uint32_t(p.openCapacity ? p.openCapacity : int32_t(cells)));
        closed_.setSize(hashBits);
        return true;
    }

    bool insert(Node* node)
    {
        uint32_t low = 0, high = open_.size();
        while (low < high) {
            uint32_t middle = low + (high - low) / 2;
            if (open_.at(middle)->f <= node->f)
                high = middle;
            else
                low = middle + 1;
        }
        return open_.insertAt(low, node);
    }

    Node* search(const PlannerParams& p, int64_t& expanded)
    {
        static constexpr int stepX[8] = {-1, 0, 1, 1, -1, -1, 0, 1};
        static constexpr int stepY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
        static constexpr bool diagonal[8] = {true, false, true, false, false, true, false, true};
        while (!open_.isEmpty()) {
            Node* current = open_.back();
            open_.popBack();
            ++expanded;
            if (current->x == p.goalX && current->y == p.goalY) {
                closed_.insert(current);
                return current;
            }
            for (int k = 0; k < 8; ++k) {
                if (diagonal[k] && !p.allowDiagonals) continue;
                int32_t nx = current->x + stepX[k], ny = current->y + stepY[k];
                if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height) continue;
                float cost = costs_[size_t(nx + int64_t(ny) * p.width)];
                if (cost < 0) continue;
                float newG = current->g + (diagonal[k] && p.diagonalSqrt2 ? cost * 1.4142137f : cost);
                float h = float(std::abs(p.goalX - nx) + std::abs(p.goalY - ny));
                float newF = newG + weight_ * (h - newG);
                if (Node* closed = closed_.find(nx, ny)) {
                    if (closed->g > newG) {
                        closed_.unlinkFound();
                        *closed = Node{current, nx, ny, newF, newG, nullptr};
                        if (!insert(closed)) closed_.insert(closed);
                    }
                    continue;
                }
                uint32_t i = open_.size();
                while (i > 0 && (open_.at(i - 1)->x != nx || open_.at(i - 1)->y != ny))
                    --i;
                if (i > 0) {
                    Node* waiting = open_.at(i - 1);
                    if (waiting->g <= newG) continue;
                    *waiting = Node{current, nx, ny, newF, newG, nullptr};
                    open_.eraseAt(i - 1);
                    insert(waiting);
                    continue;
                }
                Node* node = pool_.allocate();
                if (!node) continue;
                *node = Node{current, nx, ny, newF, newG, nullptr};
                if (!insert(node)) pool_.release();
            }
            closed_.insert(current);
        }
        return nullptr;
    }

    std::vector<float> costs_;
    float weight_ = 0;
    NodeFactory pool_;
    FixedDeque<Node*> open_;
    NodeHashTable closed_;
};
