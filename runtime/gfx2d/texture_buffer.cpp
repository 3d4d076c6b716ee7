// Texture buffers on the CPU: region copy, bleeding, mipmap reduction and normal maps.
#include "runtime/gfx2d/texture_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace rt;

namespace rt {

int powerOfTwoAtLeast(int size, int minimum)
{
    int power = std::max(minimum, 1);
    while (power < size && power < (1 << 30))
        power *= 2;
    return power;
}

bool fillTextureBuffer(const ImageBuffer& image, int x0, int y0, int width, int height, int maxSize,
                       TextureBuffer& texture, int& regionWidth, int& regionHeight)
{
    if (width == 0) width = image.width - x0;
    if (height == 0) height = image.height - y0;
    if (width < 1 || height < 1) return false;
    width = std::min(width, maxSize);
    height = std::min(height, maxSize);
    int textureWidth = powerOfTwoAtLeast(width, 2);
    int textureHeight = powerOfTwoAtLeast(height, 2);

    texture.width = textureWidth;
    texture.height = textureHeight;
    texture.texels.assign(size_t(textureWidth) * textureHeight * 4, 0);
    int xEnd = std::min(image.width, x0 + width), yEnd = std::min(image.height, y0 + height);
    int xBegin = std::max(x0, 0);
    for (int y = std::max(y0, 0); y < yEnd; ++y) {
        if (xBegin >= xEnd) break;
        memcpy(texture.texel(xBegin - x0, y0 + height - 1 - y), image.pixel(xBegin, y),
               size_t(xEnd - xBegin) * 4);
    }
    regionWidth = width;
    regionHeight = height;
    return true;
}

void bleedTransparentTexels(TextureBuffer& texture)
{
    int width = texture.width, height = texture.height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* texel = texture.texel(x, y);
            if (texel[3] != 0) continue;
            int sum[3] = {0, 0, 0}, count = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if ((nx == x && ny == y) || nx < 1 || nx > width - 2 || ny < 1 || ny > height - 2)
                        continue;
                    const uint8_t* neighbour = texture.texel(nx, ny);
                    if (neighbour[3] == 0) continue;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += neighbour[c];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c)
                texel[c] = uint8_t(count ? sum[c] / count : 0);
        }
    }
}

void reduceToNextMipmapLevel(uint8_t* texels, int& width, int& height)
{
    int newWidth = std::max(1, width / 2), newHeight = std::max(1, height / 2);
    auto old = [&](int x, int y) { return texels + (size_t(y) * width + x) * 4; };
    uint8_t* target = texels;
    for (int y = 0; y < newHeight; ++y) {
        for (int x = 0; x < newWidth; ++x, target += 4) {
            bool lastColumn = x == newWidth - 1, lastRow = y == newHeight - 1;
            const uint8_t* a = old(2 * x, 2 * y);
            const uint8_t* b = lastColumn ? a : old(2 * x + 1, 2 * y);
            const uint8_t* c = lastColumn || lastRow ? a : old(2 * x + 1, 2 * y + 1);
            const uint8_t* d = lastRow ? a : old(2 * x, 2 * y + 1);
            for (int i = 0; i < 4; ++i) {
                int value;
                if (!lastColumn && !lastRow)
                    value = (4 * a[i] + 2 * b[i] + 2 * c[i] + d[i]) / 9;
                else if (!lastColumn)
                    value = (2 * a[i] + b[i]) / 3;
                else if (!lastRow)
                    value = (2 * a[i] + d[i]) / 3;
                else
                    value = a[i];
                target[i] = uint8_t(value);
            }
        }
    }
    width = newWidth;
    height = newHeight;
}

void makeNormalMap(ImageBuffer& image)
{
    int width = image.width, height = image.height;
    if (width < 1 || height < 1) return;
    auto heightAt = [&](int x, int y) {
        x = ((x % width) + width) % width;
        y = ((y % height) + height) % height;
        return image.pixel(x, y)[2] / 255.0;
    };
    std::vector<uint8_t> normals(image.pixels.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double dx = (heightAt(x + 1, y - 1) + 2 * heightAt(x + 1, y) + heightAt(x + 1, y + 1)) -
                        (heightAt(x - 1, y - 1) + 2 * heightAt(x - 1, y) + heightAt(x - 1, y + 1));
            double dy = (heightAt(x - 1, y - 1) + 2 * heightAt(x, y - 1) + heightAt(x + 1, y - 1)) -
                        (heightAt(x - 1, y + 1) + 2 * heightAt(x, y + 1) + heightAt(x + 1, y + 1));
            double r = -dx, t = -dy, u = 1 / std::sqrt(r * r + t * t + 1);
            uint8_t* normal = &normals[(size_t(y) * width + x) * 4];
            normal[0] = uint8_t((r * u + 1) * 0.5 * 255);
            normal[1] = uint8_t((t * u + 1) * 0.5 * 255);
            normal[2] = uint8_t((u + 1) * 0.5 * 255);
            normal[3] = image.pixel(x, y)[3];
        }
    }
    image.pixels.swap(normals);
}

} // namespace rt
