// Search nodes of the path planner and the pool they come from.
#pragma once

#include <cstdint>

namespace rt {

struct Node
{
    Node* parent;   // the cell the best known way comes from; null for the start
    int32_t x, y;   // cell
    float f;        // priority: lower leaves the open list first
    float g;        // cost from the start
    Node* hashNext; // next node of the same chain when nodes are kept in a chained hash table
};

// A pool of nodes: allocation hands out the next unused node, a release only counts one back, so all
// nodes return to the pool together. Nodes are not cleared when they are handed out.
class NodeFactory
{
  public:
    NodeFactory() = default;
    ~NodeFactory();
    NodeFactory(const NodeFactory&) = delete;
    NodeFactory& operator=(const NodeFactory&) = delete;

    // Drop the old pool and make one of n nodes; false (and no pool) when the memory cannot be had.
    bool setCapacity(int32_t n);
    // The next free node, or null when all are in use.
    Node* allocate() { return used_ < uint32_t(capacity_) ? &nodes_[used_++] : nullptr; }
    void release()
    {
        if (used_ > 0) --used_;
    }
    // n releases at once.
    void release(uint32_t n) { used_ = n < used_ ? used_ - n : 0; }
    int32_t capacity() const { return capacity_; }
    // Node number i of the pool (i < capacity()), and the number of a node of the pool.
    Node* at(uint32_t i) const { return &nodes_[i]; }
    uint32_t indexOf(const Node* node) const { return uint32_t(node - nodes_); }
    uint32_t used() const { return used_; }

  private:
    int32_t capacity_ = 0;
    Node* nodes_ = nullptr; // one block of capacity nodes
    uint32_t used_ = 0;     // index of the next free node
};

} // namespace rt
