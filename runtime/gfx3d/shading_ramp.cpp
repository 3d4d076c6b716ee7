// The shading ramp of ramp shading: its texels and the coordinates that pick a texel per vertex.
#include <algorithm>
#include <cmath>

#include "runtime/gfx3d/effect_light_math.h"

namespace rt {

const uint8_t rampIntensities[rampWidth] = {100, 160, 160, 160, 160, 160, 160, 207,
                                            255, 255, 255, 255, 255, 255, 255, 255};

int rampRowCount(size_t paletteEntries)
{
    int rows = 1;
    while (size_t(rows) < paletteEntries && rows < maxRampRows)
        rows *= 2;
    return rows;
}

std::vector<uint8_t> buildRampTexels(const std::vector<uint32_t>& palette, int rows)
{
    rows = std::clamp(rows, 1, maxRampRows);
    std::vector<uint8_t> texels(size_t(rows) * rampWidth * 4);
    for (size_t row = 0; row < size_t(rows); ++row) {
        uint32_t value = row < palette.size() ? palette[row] : paletteNoColour;
        bool grey = value >= paletteNoColour;
        const unsigned channels[3] = {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
        for (int column = 0; column < rampWidth; ++column) {
            unsigned intensity = rampIntensities[column];
            uint8_t* texel = &texels[(row * rampWidth + size_t(column)) * 4];
            for (int c = 0; c < 3; ++c)
                texel[c] = uint8_t(grey ? intensity : channels[c] * intensity / 255);
            texel[3] = 255;
        }
    }
    return texels;
}

void fillRampCoordinates(std::vector<MeshVertex>& vertices, size_t count, Vec3 light, int rows)
{
    count = std::min(count, vertices.size());
    float rowHeight = 1.0f / float(std::max(rows, 1));
    for (size_t i = 0; i < count; ++i) {
        MeshVertex& vertex = vertices[i];
        Vec3 position{vertex.position[0], vertex.position[1], vertex.position[2]};
        Vec3 normal{vertex.normal[0], vertex.normal[1], vertex.normal[2]};
        float lit = dot(normal, normalised(light - position));
        // A NaN (from a broken normal) compares false everywhere and lands on the dark end.
        vertex.lightVector[0] = lit > 0.05f ? std::min(lit, 0.95f) : 0.05f;
        vertex.lightVector[1] = (float(vertex.paletteIndex) + 0.5f) * rowHeight;
    }
}

} // namespace rt
