// NodeHeap: the planner's fast open list. A binary heap ordered by f and then by the order of entry
// (an entry counter raised by every insertion), so nodes leave in exactly the order of the sorted open
// list: lowest f first and, among equal f, the one that entered longest ago. A per-cell slot index
// finds the open node of a cell at once instead of scanning the list, and also remembers which cells
// were closed, so the closed set is only asked about cells that are in it.
#pragma once

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

    // Room for capacity nodes on a grid of width × height cells; drops the contents. False (and no
    // storage) when the memory cannot be had.
    bool resize(int32_t capacity, int32_t width, int32_t height);
    // Drop the contents and the storage.
    void release();
    void clear();

    bool isEmpty() const { return size_ == 0; }
    int32_t size() const { return size_; }
    // Node i of the heap's storage, in no particular order (i < size()).
    Node* at(int32_t i) const { return entries_[i].node; }

    // Add the node with its current f; false when full.
    bool insert(Node* node);
    // The node that leaves first, taken out; null when empty.
    Node* popLowest();
    // The open node of cell (x, y), or null.
    Node* find(int32_t x, int32_t y) const
    {
        int32_t slot = slotOfCell_[x + y * width_];
        return slot >= 0 ? entries_[slot].node : nullptr;
    }
    // The node (which is open) got a new f: it enters again, behind the nodes of equal f.
    void reenter(Node* node);
    // The node (not open) went into the closed set; inserting it again reopens its cell.
    void noteClosed(const Node* node)
    {
        slotOfCell_[cellOf(node)] = closedSlot;
        anyClosed_ = true;
    }
    bool isClosed(int32_t x, int32_t y) const { return slotOfCell_[x + y * width_] == closedSlot; }

  private:
    static constexpr int32_t noSlot = -1, closedSlot = -2;

    struct Entry
    {
        float f;
        int32_t cell;   // x + y × width of the node, so moving an entry needs no look at the node
        uint64_t order; // entry counter at the last insertion
        Node* node;
    };
    static bool before(const Entry& a, const Entry& b)
    {
        return a.f < b.f || (a.f == b.f && a.order < b.order);
    }
    int32_t cellOf(const Node* node) const { return node->x + node->y * width_; }
    void place(int32_t slot, const Entry& entry);
    void siftUp(int32_t slot, Entry entry);
    void siftDown(int32_t slot, Entry entry);

    Entry* entries_ = nullptr;
    int32_t* slotOfCell_ = nullptr; // heap slot of each cell's open node, noSlot or closedSlot
    int32_t capacity_ = 0;
    int32_t size_ = 0;
    int32_t width_ = 0;
    int64_t cells_ = 0;
    uint64_t nextOrder_ = 0;
    bool anyClosed_ = false; // some cell is marked closed
};

} // namespace rt
