// NodeHeap: the planner's open list, a binary heap of pool node numbers ordered by f and then by the
// order of entry (a counter raised by every insertion), so that the lowest f leaves first and, among
// equal f, the node that entered longest ago. The heap slot of every open node is kept by node number:
// the open nodes are mostly the nodes handed out last, so those slots lie close together in memory.
#pragma once

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
    int32_t popLowest();

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

} // namespace rt
