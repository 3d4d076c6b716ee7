// The sprite table's slots in zeroed pages, checked access and emptying.
#include "runtime/gfx2d/sprite_table.h"

#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "runtime/gfx2d/gl_state.h"

using namespace rt;

namespace rt {

static constexpr size_t tableBytes = sizeof(SpriteSlot) * spriteSlotCount;

// A private anonymous mapping comes as zero pages that take memory only once written to.
SpriteTable::SpriteTable()
{
    void* pages = mmap(nullptr, tableBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    slots = static_cast<SpriteSlot*>(pages);
}

SpriteTable::~SpriteTable()
{
    emptyAll(nullptr);
    munmap(slots, tableBytes);
}

SpriteSlot* SpriteTable::slot(int number)
{
    return number >= 0 && number < spriteSlotCount ? &slots[number] : nullptr;
}

const SpriteSlot* SpriteTable::slot(int number) const
{
    return number >= 0 && number < spriteSlotCount ? &slots[number] : nullptr;
}

const SpriteSlot* SpriteTable::withImage(int number) const
{
    const SpriteSlot* found = slot(number);
    return found && found->hasImage() ? found : nullptr;
}

void SpriteTable::empty(int number, GlStateCache* liveContext)
{
    SpriteSlot* target = slot(number);
    if (!target) return;
    if (liveContext) {
        for (GLuint& texture : target->textures)
            if (texture) {
                glDeleteTextures(1, &texture);
                liveContext->textureDeleted(texture);
            }
    }
    delete[] target->collisionMask;
    *target = SpriteSlot{};
}

// Only slots that hold something are written: writing a page gives it memory.
static bool holdsAnything(const SpriteSlot& slot)
{
    return slot.textures[0] || slot.textures[1] || slot.textureWidth || slot.textureHeight ||
           slot.imageWidth || slot.imageHeight || slot.collisionMask || slot.madeNearest || slot.filterNow;
}

void SpriteTable::emptyAll(GlStateCache* liveContext)
{
    // A page never written to holds only empty slots, and where the system has no shared zero page
    // even reading it gives it memory (3 MB for the whole table). So only slots on pages that are in
    // memory are looked at; when the system cannot say which those are, every slot is.
    const size_t pageBytes = size_t(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> inMemory((tableBytes + pageBytes - 1) / pageBytes);
    if (mincore(slots, tableBytes, inMemory.data()) != 0) inMemory.assign(inMemory.size(), 1);
    for (int number = 0; number < spriteSlotCount; ++number) {
        size_t first = size_t(number) * sizeof(SpriteSlot), last = first + sizeof(SpriteSlot) - 1;
        if (!(inMemory[first / pageBytes] & 1) && !(inMemory[last / pageBytes] & 1)) continue;
        if (holdsAnything(slots[number])) empty(number, liveContext);
    }
}

} // namespace rt
