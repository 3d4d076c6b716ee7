// The open list as a binary heap with a per-cell slot index.
#include "runtime/path/node_heap.h"

#include <algorithm>
#include <new>

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
    std::fill_n(slotOfCell_, cells_, -1);
    capacity_ = capacity;
    width_ = width;
    nextOrder_ = 0;
    return true;
}

void NodeHeap::clear()
{
    for (int32_t i = 0; i < size_; ++i)
        slotOf(entries_[i].node) = -1;
    size_ = 0;
    nextOrder_ = 0;
}

void NodeHeap::place(int32_t slot, const Entry& entry)
{
    entries_[slot] = entry;
    slotOf(entry.node) = slot;
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
    siftUp(size_++, Entry{node->f, nextOrder_++, node});
    return true;
}

Node* NodeHeap::popLowest()
{
    if (size_ == 0) return nullptr;
    Node* lowest = entries_[0].node;
    slotOf(lowest) = -1;
    Entry last = entries_[--size_];
    if (size_ > 0) siftDown(0, last);
    return lowest;
}

void NodeHeap::reenter(Node* node)
{
    int32_t slot = slotOf(node);
    Entry entry{node->f, nextOrder_++, node};
    // The new key may sort either way: a lower f moves it up, the later order can move it down.
    if (slot > 0 && before(entry, entries_[(slot - 1) / 2]))
        siftUp(slot, entry);
    else
        siftDown(slot, entry);
}
