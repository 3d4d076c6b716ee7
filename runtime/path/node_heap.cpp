// The open list as a binary heap with a per-cell slot index.
#include "runtime/path/node_heap.h"

#include <algorithm>
#include <new>

using namespace rt;

namespace rt {

NodeHeap::~NodeHeap()
{
    release();
}

void NodeHeap::release()
{
    delete[] entries_;
    delete[] slotOfCell_;
    entries_ = nullptr;
    slotOfCell_ = nullptr;
    capacity_ = size_ = width_ = 0;
    cells_ = 0;
}

bool NodeHeap::resize(int32_t capacity, int32_t width, int32_t height)
{
    release();
    if (capacity < 0 || width <= 0 || height <= 0) return false;
    cells_ = int64_t(width) * height;
    entries_ = new (std::nothrow) Entry[size_t(std::max(capacity, 1))];
    slotOfCell_ = new (std::nothrow) int32_t[size_t(cells_)];
    if (!entries_ || !slotOfCell_) {
        release();
        return false;
    }
    std::fill_n(slotOfCell_, cells_, noSlot);
    anyClosed_ = false;
    capacity_ = capacity;
    width_ = width;
    nextOrder_ = 0;
    return true;
}

void NodeHeap::clear()
{
    for (int32_t i = 0; i < size_; ++i)
        slotOfCell_[entries_[i].cell] = -1;
    size_ = 0;
    nextOrder_ = 0;
}

void NodeHeap::place(int32_t slot, const Entry& entry)
{
    entries_[slot] = entry;
    slotOfCell_[entry.cell] = slot;
}

void NodeHeap::siftUp(int32_t slot, Entry entry)
{
    while (slot > 0) {
        int32_t parent = (slot - 1) / 2;
        if (!before(entry, entries_[parent])) break;
        place(slot, entries_[parent]);
        slot = parent;
    }
    place(slot, entry);
}

void NodeHeap::siftDown(int32_t slot, Entry entry)
{
    for (;;) {
        int32_t child = 2 * slot + 1;
        if (child >= size_) break;
        if (child + 1 < size_ && before(entries_[child + 1], entries_[child])) ++child;
        if (!before(entries_[child], entry)) break;
        place(slot, entries_[child]);
        slot = child;
    }
    place(slot, entry);
}

bool NodeHeap::insert(Node* node)
{
    if (size_ >= capacity_) return false;
    siftUp(size_++, Entry{node->f, cellOf(node), nextOrder_++, node});
    return true;
}

Node* NodeHeap::popLowest()
{
    if (size_ == 0) return nullptr;
    Node* lowest = entries_[0].node;
    slotOfCell_[entries_[0].cell] = noSlot;
    Entry last = entries_[--size_];
    if (size_ == 0) return lowest;
    // The hole at the top goes down along the smaller children to a leaf, and the last entry rises
    // from there: it almost always belongs near the bottom, so this takes about half the comparisons
    // of sinking it from the top.
    int32_t hole = 0;
    for (int32_t child = 1; child < size_; child = 2 * hole + 1) {
        if (child + 1 < size_ && before(entries_[child + 1], entries_[child])) ++child;
        place(hole, entries_[child]);
        hole = child;
    }
    siftUp(hole, last);
    return lowest;
}

void NodeHeap::reenter(Node* node)
{
    int32_t cell = cellOf(node);
    int32_t slot = slotOfCell_[cell];
    Entry entry{node->f, cell, nextOrder_++, node};
    // The new key may sort either way: a lower f moves it up, the later order can move it down.
    if (slot > 0 && before(entry, entries_[(slot - 1) / 2]))
        siftUp(slot, entry);
    else
        siftDown(slot, entry);
}

} // namespace rt
