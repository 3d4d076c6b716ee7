// Search arrays: small ones from the C heap, with a few kept per thread for the next search; large ones
// from mmap with huge pages advised.
#include "runtime/path/search_memory.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace rt {

namespace {

constexpr size_t largeBlock = size_t(4) << 20;

// Small blocks given back are kept for the next search of the same thread, up to keptCount blocks of
// less than keptBytes each. A game that plans paths on small maps every frame then neither takes heap
// memory nor returns it each time: the C heap hands freed memory back to the system and faults it in
// again, which can cost more than the search.
constexpr size_t keptBytes = size_t(1) << 20;
constexpr int keptCount = 6;

struct KeptBlocks
{
    void* blocks[keptCount] = {};
    size_t sizes[keptCount] = {};

    ~KeptBlocks()
    {
        for (void* block : blocks)
            std::free(block);
    }

    void* take(size_t bytes)
    {
        for (int i = 0; i < keptCount; ++i) {
            if (blocks[i] && sizes[i] == bytes) {
                void* block = blocks[i];
                blocks[i] = nullptr;
                return block;
            }
        }
        return nullptr;
    }

    bool keep(void* block, size_t bytes)
    {
        if (bytes >= keptBytes) return false;
        for (int i = 0; i < keptCount; ++i) {
            if (!blocks[i]) {
                blocks[i] = block;
                sizes[i] = bytes;
                return true;
            }
        }
        return false;
    }
};

thread_local KeptBlocks kept;

} // namespace

void* allocateSearchMemory(size_t bytes, bool zeroed)
{
    if (bytes == 0) bytes = 1;
    if (bytes < largeBlock) {
        void* block = kept.take(bytes);
        if (!block) block = std::malloc(bytes);
        if (block && zeroed) std::memset(block, 0, bytes);
        return block;
    }
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    madvise(block, bytes, MADV_HUGEPAGE); // advice only: without huge pages the block works the same
    return block;
}

void releaseSearchMemory(void* block, size_t bytes)
{
    if (!block) return;
    if (bytes == 0) bytes = 1;
    if (bytes >= largeBlock)
        munmap(block, bytes);
    else if (!kept.keep(block, bytes))
        std::free(block);
}

} // namespace rt
