// NodeHashTable: a chained hash table of planner nodes keyed by cell, the closed set of the reference
// planner the tests compare the planner with.
#pragma once

#include <algorithm>
#include <cstdint>
#include <new>

#include "runtime/path/nodes.h"

using rt::Node;
using rt::NodeFactory;

// The bucket of (x, y) is made of the low bits/2 bits of x and of y, so a table of as many buckets as
// cells gives every cell of a square map its own.
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

inline NodeHashTable::~NodeHashTable()
{
    delete[] buckets_;
}

inline bool NodeHashTable::setSize(int32_t bits)
{
    delete[] buckets_;
    bits = std::clamp(bits, 0, 24) & ~1;
    buckets_ = new (std::nothrow) Node*[size_t(1) << bits]();
    bits_ = buckets_ ? bits : 0;
    count_ = 0;
    found_ = nullptr;
    foundLink_ = nullptr;
    return buckets_ != nullptr;
}

inline void NodeHashTable::insert(Node* node)
{
    Node** head = &buckets_[bucketOf(node->x, node->y)];
    for (Node* n = *head; n; n = n->hashNext)
        if (n == node) return;
    node->hashNext = *head;
    *head = node;
    ++count_;
}

inline Node* NodeHashTable::find(int32_t x, int32_t y)
{
    Node** link = &buckets_[bucketOf(x, y)];
    for (Node* n = *link; n; link = &n->hashNext, n = n->hashNext) {
        if (n->x == x && n->y == y) {
            found_ = n;
            foundLink_ = link;
            return n;
        }
    }
    found_ = nullptr;
    foundLink_ = nullptr;
    return nullptr;
}

inline void NodeHashTable::unlinkFound()
{
    if (!found_) return;
    *foundLink_ = found_->hashNext;
    found_->hashNext = nullptr;
    found_ = nullptr;
    foundLink_ = nullptr;
    --count_;
}

inline void NodeHashTable::clear(NodeFactory& factory)
{
    if (!buckets_ || count_ == 0) return;
    // One release per chained node: the count says how many without walking the chains.
    factory.release(uint32_t(count_));
    std::fill_n(buckets_, size_t(1) << bits_, nullptr);
    count_ = 0;
    found_ = nullptr;
    foundLink_ = nullptr;
}
