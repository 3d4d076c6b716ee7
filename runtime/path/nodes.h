// Search nodes of the path planner, the pool they come from and the closed set that holds the
// expanded ones.
#pragma once

#include <cstdint>

namespace rt {

struct Node
{
    Node* parent;   // the cell the best known way comes from; null for the start
    int32_t x, y;   // cell
    float f;        // priority: lower leaves the open list first
    float g;        // cost from the start
    Node* hashNext; // next node of the same NodeHashTable chain
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
    uint32_t used() const { return used_; }

  private:
    int32_t capacity_ = 0;
    Node* nodes_ = nullptr; // one block of capacity nodes
    uint32_t used_ = 0;     // index of the next free node
};

// The closed set: a chained hash table keyed by cell. The bucket of (x, y) is made of the low bits/2
// bits of x and of y, so a table of as many buckets as cells gives every cell of a square map its own.
class NodeHashTable
{
  public:
    NodeHashTable() = default;
    ~NodeHashTable();
    NodeHashTable(const NodeHashTable&) = delete;
    NodeHashTable& operator=(const NodeHashTable&) = delete;

    // 2^bits zeroed buckets; bits is held to 0..24 and an odd value rounded down. False when the
    // memory cannot be had.
    bool setSize(int32_t bits);
    int32_t bits() const { return bits_; }

    // Put the node at the head of its chain, unless that very node is in the chain already.
    void insert(Node* node);
    // The node of cell (x, y), or null. The found node can then be taken out with unlinkFound.
    Node* find(int32_t x, int32_t y);
    void unlinkFound();
    int32_t count() const { return count_; }
    // Count one release to the pool for every chained node and empty every bucket.
    void clear(NodeFactory& factory);

  private:
    uint32_t bucketOf(int32_t x, int32_t y) const
    {
        uint32_t mask = (1u << (bits_ / 2)) - 1;
        return (uint32_t(x) & mask) | ((uint32_t(y) & mask) << (bits_ / 2));
    }

    Node** buckets_ = nullptr;
    int32_t bits_ = 0;
    int32_t count_ = 0;
    // Cursor of the last successful find: the found node and the link that points to it.
    Node* found_ = nullptr;
    Node** foundLink_ = nullptr;
};

} // namespace rt
