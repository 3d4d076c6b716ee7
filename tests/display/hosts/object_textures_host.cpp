// A small game for the display test of object description textures. It writes a 2 × 2 BMP (top row
// 0x8000FF and red, bottom row green and blue), a one-triangle mesh and a description naming the
// image and a missing one into its temp folder, loads the description with the real texture loader,
// reads the first texture back and releases both. The findings go to "objects.txt" as "name value"
// lines, then the game ends.
#include <SDL_opengl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/gfx3d/object_file.h"
#include "runtime/gfx3d/object_textures.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static FILE* report;

static void writeFile(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

// 24-bit BMP of 2 × 2 pixels: rows of 6 bytes padded to 8, bottom row first, pixels as B, G, R.
static std::string twoByTwoBmp()
{
    std::string bytes = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                         0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
    bytes.resize(54, 0);
    const unsigned char rows[16] = {0,   255, 0,   255, 0, 0,   0, 0,  // green, blue
                                    128, 0,   255, 0,   0, 255, 0, 0}; // 0x8000FF, red
    bytes.append(reinterpret_cast<const char*>(rows), sizeof rows);
    return bytes;
}

static void hostMain()
{
    report = fopen((tempFolderPath() + "objects.txt").c_str(), "w");
    std::string folder = tempFolderPath() + "model/";
    mkdir(folder.c_str(), 0700);
    writeFile(folder + "keyed.bmp", twoByTwoBmp());
    writeFile(folder + "tri.dda", "DDDA 1.0 1 0 0 1 255 255 255 3 0 0 1 0 2 0 1 3 0 0 0 2 0 0 0 2 0");
    writeFile(folder + "thing.ddw", ";DDW\r\n[textures]\r\ncount=2\r\n1=keyed.bmp\r\n2=missing.bmp\r\n"
                                    "[objects]\r\ncount=1\r\n1=tri.dda\r\n1ta=1\r\n");

    ObjectSlot object;
    fprintf(report, "loaded %d\n", loadObjectFile(object, (folder + "thing.ddw").c_str(), loadObjectTexture));
    fprintf(report, "textures %zu\n", object.textures.size());
    if (object.textures.size() == 2) {
        GLuint first = object.textures[0];
        fprintf(report, "missing %u\n", object.textures[1]);
        fprintf(report, "isTexture %d\n", first != 0 && glIsTexture(first) == GL_TRUE);
        glBindTexture(GL_TEXTURE_2D, first);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        fprintf(report, "size %dx%d\n", width, height);
        if (width >= 2 && height >= 2) {
            std::vector<unsigned char> texels(size_t(width) * height * 4);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
            // Texture row 0 holds the image's bottom row.
            const char* names[4] = {"green", "blue", "keyed", "red"};
            for (int i = 0; i < 4; ++i) {
                const unsigned char* t = &texels[(size_t(i / 2) * width + i % 2) * 4];
                fprintf(report, "%s %02X%02X%02X%02X\n", names[i], t[0], t[1], t[2], t[3]);
            }
        }
        releaseObjectTextures(*engine.renderer, object.textures);
        fprintf(report, "released %d %zu\n", glIsTexture(first) == GL_TRUE, object.textures.size());
    }
    fclose(report);
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, hostMain);
}
