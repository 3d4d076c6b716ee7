// The sprite table's slots in zeroed pages, checked access and emptying.
#include "runtime/gfx2d/sprite_table.h"

#include <new>
#include <sys/mman.h>

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

// Reading an untouched page costs nothing; writing one would give it memory, so only slots that hold
// something are written.
static bool holdsAnything(const SpriteSlot& slot)
{
    return slot.textures[0] || slot.textures[1] || slot.textureWidth || slot.textureHeight ||
           slot.imageWidth || slot.imageHeight || slot.collisionMask || slot.madeNearest || slot.filterNow;
}

void SpriteTable::emptyAll(GlStateCache* liveContext)
{
    for (int number = 0; number < spriteSlotCount; ++number)
        if (holdsAnything(slots[number])) empty(number, liveContext);
}

} // namespace rt
