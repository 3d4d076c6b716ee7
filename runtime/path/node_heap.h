// NodeHeap: the planner's open list, a four-way heap of pool node numbers ordered by f and then by the
// order of entry (a counter raised by every insertion), so that the lowest f leaves first and, among
// equal f, the node that entered longest ago. The heap slot of every open node is kept by node number:
// the open nodes are mostly the nodes handed out last, so those slots lie close together in memory.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "runtime/path/nodes.h"

namespace rt {

class NodeHeap
{
  public:
    NodeHeap() = default;
    ~NodeHeap();
    NodeHeap(const NodeHeap&) = delete;
    NodeHeap& operator=(const NodeHeap&) = delete;

    // Room for capacity open nodes out of a pool of poolSize nodes; drops the contents. False (and no
    // storage) when the memory cannot be had.
    bool resize(int32_t capacity, int32_t poolSize);
    // Bytes resize takes for those sizes.
    static uint64_t bytesFor(int32_t capacity, int32_t poolSize);
    // Drop the contents and the storage.
    void release();
    void clear();

    bool isEmpty() const { return size_ == 0; }
    int32_t size() const { return size_; }
    bool contains(uint32_t index) const { return slotOfNode_[index] != 0; }

    // Pool node number index, not open, enters with its current f; false when the list is full.
    bool insert(const Node* node, uint32_t index);
    // The open node got a new f: it enters again, behind the nodes of equal f.
    void reenter(const Node* node, uint32_t index);
    // The number of the node that leaves first, taken out; -1 when empty.
    [[gnu::always_inline]] int32_t popLowest();

  private:
    // f and the order of entry in one number: f in the high half (its bits arranged to sort like the
    // value), the order in the low half. One unsigned comparison, which compiles without a branch, orders
    // two entries.
    struct Entry
    {
        uint64_t key;
        uint32_t node; // pool node number
    };
    Entry entryFor(float f, uint32_t node);
    static size_t entryBytes(int32_t capacity) { return size_t(capacity) * sizeof(Entry); }
    static size_t slotBytes(uint32_t poolSize) { return size_t(poolSize) * sizeof(int32_t); }
    // All orders are renumbered from 0 when the counter would run out, keeping the sequence.
    void renumber();
    void place(int32_t slot, const Entry& entry)
    {
        entries_[slot] = entry;
        slotOfNode_[entry.node] = slot + 1;
    }
    // Children per slot. Four halve the depth of a binary heap, and the lowest of four is found in two
    // rounds of independent comparisons, so a step down costs little more than a binary one.
    static constexpr int32_t arity = 4;
    // The lowest of the children first, first + 1, ... that lie below size.
    int32_t lowestChild(int32_t first, int32_t size) const
    {
        if (first + arity <= size) {
            int32_t a = first + (entries_[first + 1].key < entries_[first].key);
            int32_t b = first + 2 + (entries_[first + 3].key < entries_[first + 2].key);
            return entries_[b].key < entries_[a].key ? b : a;
        }
        int32_t lowest = first;
        for (int32_t child = first + 1; child < size; ++child)
            lowest = entries_[child].key < entries_[lowest].key ? child : lowest;
        return lowest;
    }
    void siftUp(int32_t slot, Entry entry);
    void siftDown(int32_t slot, Entry entry);

    Entry* entries_ = nullptr;
    // Per pool node: its heap slot + 1, 0 while it is not open.
    int32_t* slotOfNode_ = nullptr;
    int32_t capacity_ = 0;
    int32_t size_ = 0;
    uint32_t poolSize_ = 0;
    uint32_t nextOrder_ = 0;
};

// The calls made for every node the search opens or expands, here so that the search can inline them.

inline NodeHeap::Entry NodeHeap::entryFor(float f, uint32_t node)
{
    if (nextOrder_ == UINT32_MAX) renumber();
    // Positive floats sort like their bits; negative ones in reverse, below all positive ones.
    uint32_t bits = std::bit_cast<uint32_t>(f);
    bits = bits & 0x80000000u ? ~bits : bits | 0x80000000u;
    return Entry{uint64_t(bits) << 32 | nextOrder_++, node};
}

inline void NodeHeap::siftUp(int32_t slot, Entry entry)
{
    while (slot > 0) {
        int32_t parent = (slot - 1) / arity;
        if (entry.key >= entries_[parent].key) break;
        place(slot, entries_[parent]);
        slot = parent;
    }
    place(slot, entry);
}

inline bool NodeHeap::insert(const Node* node, uint32_t index)
{
    if (size_ >= capacity_ || index >= poolSize_) return false;
    Entry entry = entryFor(node->f, index);
    siftUp(size_++, entry);
    return true;
}

inline int32_t NodeHeap::popLowest()
{
    if (size_ == 0) return -1;
    uint32_t lowest = entries_[0].node;
    slotOfNode_[lowest] = 0;
    // Held in a local: the writes to the heap's arrays could otherwise change it for all the compiler
    // knows, and it would be read again after every one of them.
    const int32_t size = --size_;
    Entry last = entries_[size];
    if (size == 0) return int32_t(lowest);
    // The hole at the top goes down along the lowest children to a leaf, and the last entry rises from
    // there: it almost always belongs near the bottom, so this saves comparing it on the way down.
    int32_t hole = 0;
    for (int32_t first = 1; first < size; first = arity * hole + 1) {
        int32_t child = lowestChild(first, size);
        place(hole, entries_[child]);
        hole = child;
    }
    siftUp(hole, last);
    return int32_t(lowest);
}

} // namespace rt
