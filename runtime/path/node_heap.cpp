// The open list as a four-way heap with the heap slot of every open node.
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

void NodeHeap::siftDown(int32_t slot, Entry entry)
{
    for (;;) {
        int32_t first = arity * slot + 1;
        if (first >= size_) break;
        int32_t child = lowestChild(first, size_);
        if (entries_[child].key >= entry.key) break;
        place(slot, entries_[child]);
        slot = child;
    }
    place(slot, entry);
}

void NodeHeap::reenter(const Node* node, uint32_t index)
{
    Entry entry = entryFor(node->f, index);
    int32_t slot = slotOfNode_[index] - 1;
    // The new key may sort either way: a lower f moves it up, the later order can move it down.
    if (slot > 0 && entry.key < entries_[(slot - 1) / arity].key)
        siftUp(slot, entry);
    else
        siftDown(slot, entry);
}

} // namespace rt
