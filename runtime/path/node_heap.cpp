// The open list as a binary heap with the heap slot of every open node.
#include "runtime/path/node_heap.h"

#include <algorithm>
#include <bit>

#include "runtime/path/search_memory.h"

namespace rt {

NodeHeap::~NodeHeap()
{
    release();
}

uint64_t NodeHeap::bytesFor(int32_t capacity, int32_t poolSize)
{
    return entryBytes(capacity) + slotBytes(uint32_t(poolSize));
}

void NodeHeap::release()
{
    releaseSearchMemory(entries_, entryBytes(capacity_));
    releaseSearchMemory(slotOfNode_, slotBytes(poolSize_));
    entries_ = nullptr;
    slotOfNode_ = nullptr;
    capacity_ = size_ = 0;
    poolSize_ = 0;
}

bool NodeHeap::resize(int32_t capacity, int32_t poolSize)
{
    release();
    if (capacity < 0 || poolSize < 0) return false;
    entries_ = static_cast<Entry*>(allocateSearchMemory(entryBytes(capacity), false));
    slotOfNode_ = static_cast<int32_t*>(allocateSearchMemory(slotBytes(poolSize), true));
    capacity_ = capacity;
    poolSize_ = uint32_t(poolSize);
    if (!entries_ || !slotOfNode_) {
        release();
        return false;
    }
    nextOrder_ = 0;
    return true;
}

void NodeHeap::clear()
{
    for (int32_t i = 0; i < size_; ++i)
        slotOfNode_[entries_[i].node] = 0;
    size_ = 0;
    nextOrder_ = 0;
}

NodeHeap::Entry NodeHeap::entryFor(float f, uint32_t node)
{
    if (nextOrder_ == UINT32_MAX) renumber();
    // Positive floats sort like their bits; negative ones in reverse, below all positive ones.
    uint32_t bits = std::bit_cast<uint32_t>(f);
    bits = bits & 0x80000000u ? ~bits : bits | 0x80000000u;
    return Entry{uint64_t(bits) << 32 | nextOrder_++, node};
}

void NodeHeap::renumber()
{
    // A sorted array is a heap too; numbering the entries by position keeps their sequence.
    std::sort(entries_, entries_ + size_, [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (int32_t i = 0; i < size_; ++i) {
        entries_[i].key = (entries_[i].key & 0xFFFFFFFF00000000u) | uint32_t(i);
        slotOfNode_[entries_[i].node] = i + 1;
    }
    nextOrder_ = uint32_t(size_);
}

void NodeHeap::siftUp(int32_t slot, Entry entry)
{
    while (slot > 0) {
        int32_t parent = (slot - 1) / 2;
        if (entry.key >= entries_[parent].key) break;
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
        child += child + 1 < size_ && entries_[child + 1].key < entries_[child].key;
        if (entries_[child].key >= entry.key) break;
        place(slot, entries_[child]);
        slot = child;
    }
    place(slot, entry);
}

bool NodeHeap::insert(const Node* node, uint32_t index)
{
    if (size_ >= capacity_ || index >= poolSize_) return false;
    Entry entry = entryFor(node->f, index);
    siftUp(size_++, entry);
    return true;
}

void NodeHeap::reenter(const Node* node, uint32_t index)
{
    Entry entry = entryFor(node->f, index);
    int32_t slot = slotOfNode_[index] - 1;
    // The new key may sort either way: a lower f moves it up, the later order can move it down.
    if (slot > 0 && entry.key < entries_[(slot - 1) / 2].key)
        siftUp(slot, entry);
    else
        siftDown(slot, entry);
}

int32_t NodeHeap::popLowest()
{
    if (size_ == 0) return -1;
    uint32_t lowest = entries_[0].node;
    slotOfNode_[lowest] = 0;
    Entry last = entries_[--size_];
    if (size_ == 0) return int32_t(lowest);
    // The hole at the top goes down along the smaller children to a leaf, and the last entry rises
    // from there: it almost always belongs near the bottom, so this takes about half the comparisons
    // of sinking it from the top.
    int32_t hole = 0;
    for (int32_t child = 1; child < size_; child = 2 * hole + 1) {
        child += child + 1 < size_ && entries_[child + 1].key < entries_[child].key;
        place(hole, entries_[child]);
        hole = child;
    }
    siftUp(hole, last);
    return int32_t(lowest);
}

} // namespace rt
