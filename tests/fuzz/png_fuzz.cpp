// Any bytes as a PNG file: the decoder must fail cleanly or give an image of the size it claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "runtime/gfx2d/images.h"

using namespace rt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ImageBuffer image;
    bool decoded = decodePng(data, size, "fuzz.png", spriteColourKey, image);
    if (decoded != (image.width > 0) || image.pixels.size() != size_t(image.width) * image.height * 4)
        abort();
    return 0;
}
