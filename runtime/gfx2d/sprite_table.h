// The sprite table: 65,536 numbered slots, each holding one picture as GL textures with its sizes, its
// collision mask and the filter its texture samples with. Slots 65520..65535 hold the fonts.
//
// Slot numbers come from game code, so the table is only reached through slot(), which gives null for
// a number outside it. The slots live in zeroed pages straight from the system and an empty slot is
// all zeroes: the pages of slots a game never uses (most of the table's 3.1 MB) take no memory.
#pragma once

#include <SDL_opengl.h>

#include <cstdint>

namespace rt {

class GlStateCache;

constexpr int spriteSlotCount = 65536;
constexpr int firstFontSlot = 65520; // slots 65520..65535 hold fonts 0..15

// The filter a slot's plain texture samples with now; unknown until drawing first sets it.
constexpr uint8_t filterUnknown = 0, filterLinear = 1, filterNearest = 2;

// One slot. Every field 0 is the empty slot, so it has no member initialisers: a table of them stays
// the untouched zero pages it was allocated as.
struct SpriteSlot
{
    GLuint textures[2]; // plain [0] and mipmapped [1] texture names, 0 = none
    int textureWidth;   // texels, a power of two; 0 when empty
    int textureHeight;  // texels, a power of two; 0 when empty
    int imageWidth;     // pixels of the picture, which fills the texture from its lower left; 0 when empty
    int imageHeight;    // as above
    uint8_t* collisionMask; // alpha plane of the plain texture, read when first needed; or null
    bool madeNearest;       // the plain texture was made with nearest filtering
    uint8_t filterNow;      // filterUnknown, filterLinear or filterNearest
    // The rectangle of the picture outside which every texel is fully transparent, in pixels from its
    // top left (right and bottom exclusive), when shownKnown. Drawn at its own size, a sprite draws only
    // this part: the alpha test drops the rest anyway, and the driver need not shade it.
    uint16_t shownLeft, shownTop, shownRight, shownBottom;
    bool shownKnown;
    bool shownOpaque; // every texel of that rectangle is fully opaque

    // An empty slot, or one whose picture has no area, has nothing to draw.
    bool hasImage() const { return imageWidth > 0 && imageHeight > 0; }
};

class SpriteTable
{
  public:
    SpriteTable(); // every slot empty; throws std::bad_alloc when the system has no pages to give
    ~SpriteTable();
    SpriteTable(const SpriteTable&) = delete;
    SpriteTable& operator=(const SpriteTable&) = delete;

    // The slot numbered `number`, or null when the number is outside 0..65535.
    SpriteSlot* slot(int number);
    const SpriteSlot* slot(int number) const;
    // The slot when it holds a picture with an area, else null.
    const SpriteSlot* withImage(int number) const;

    // Empties the slot: its collision mask is freed and, when `liveContext` is the state record of the
    // GL context that made its textures, they are deleted; without one (the context is gone or was
    // never made) their names are only forgotten. A number outside the table is ignored.
    void empty(int number, GlStateCache* liveContext);
    // Empties every slot that holds anything.
    void emptyAll(GlStateCache* liveContext);

  private:
    SpriteSlot* slots;
};

} // namespace rt
