// A small game for the 3D display tests. It runs one scenario, reads back the pixels it drew and
// writes what it found to results.txt in its temp folder, one "name value" line each, then ends.
//   scene3d_host --scenario=drawing|loading
#include <SDL.h>
#include <SDL_opengl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/files/archive_packer.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/platform/paths.h"
#include "runtime/runtime.h"
#include "support/host_pixels.h"

using namespace rt;

static std::string scenario;
static FILE* results = nullptr;

static void report(const std::string& name, double value)
{
    fprintf(results, "%s %.0f\n", name.c_str(), value);
}

static std::string tempFile(const char* name)
{
    return tempFolderPath() + name;
}

static void writeFile(const std::string& path, const std::string& bytes)
{
    if (FILE* file = fopen(path.c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
}

// A square of 2 × half facing +z at z = 0, one strip of four vertices (so its normal is +z).
static void buildSquare(int slot, double half, int colour)
{
    rtStartObject(slot);
    rtNewObjectStrip();
    rtAddObjectVertex(-half, -half, 0, 0, 0, colour);
    rtAddObjectVertex(half, -half, 0, 1, 0, colour);
    rtAddObjectVertex(-half, half, 0, 0, -1, colour);
    rtAddObjectVertex(half, half, 0, 1, -1, colour);
    rtEndObject();
}

static void startView()
{
    rtStart3D(1, 100, 60);
    rtSetCamera(0, 0, 10, 0, 0, 0);
}

// A BMP of one colour in the temp folder (colour 0xRRGGBB).
static std::string writePicture(const char* name, int size, uint32_t colour)
{
    std::vector<uint8_t> bgr(size_t(size) * size * 3);
    for (size_t i = 0; i < bgr.size(); i += 3) {
        bgr[i] = uint8_t(colour);
        bgr[i + 1] = uint8_t(colour >> 8);
        bgr[i + 2] = uint8_t(colour >> 16);
    }
    std::string path = tempFile(name);
    writeImage(path.c_str(), bgr.data(), size, size, size, true);
    return path;
}

// Primitives the GL driver counts while `draw` runs (0 when the query is not offered).
template <class Draw> static double primitivesDrawn(Draw draw)
{
    auto begin = reinterpret_cast<PFNGLBEGINQUERYPROC>(SDL_GL_GetProcAddress("glBeginQuery"));
    auto end = reinterpret_cast<PFNGLENDQUERYPROC>(SDL_GL_GetProcAddress("glEndQuery"));
    auto generate = reinterpret_cast<PFNGLGENQUERIESPROC>(SDL_GL_GetProcAddress("glGenQueries"));
    auto result = reinterpret_cast<PFNGLGETQUERYOBJECTUIVPROC>(SDL_GL_GetProcAddress("glGetQueryObjectuiv"));
    if (!begin || !end || !generate || !result) return -1;
    GLuint query = 0;
    generate(1, &query);
    begin(GL_PRIMITIVES_GENERATED, query);
    draw();
    end(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    result(query, GL_QUERY_RESULT, &count);
    return count;
}

// The two-frame text mesh: a red square left of the origin in frame 0, right of it in frame 1.
static const char twoFrameMesh[] = "DDDA 1.1\n4 0 0 1 0 1 1 0 1\n1 255 0 0 4 0 0 1 1 2 2 3 3\n2\n"
                                   "4 -4 -1 0 0 0 1 -2 -1 0 0 0 1 -2 1 0 0 0 1 -4 1 0 0 0 1\n"
                                   "4 2 -1 0 0 0 1 4 -1 0 0 0 1 4 1 0 0 0 1 2 1 0 0 0 1\n";

static void placementAndDepth()
{
    startView();
    buildSquare(1, 2, 0x0000FF);
    buildSquare(2, 2, 0x00FF00);
    rtDrawObjectFrame(1, 0);
    double sx = 0, sy = 0, depth = 0;
    rtProjectPoint(2, 2, 0, sx, sy, depth);
    report("quad.centre", pixelAtPoint(0, 0, 0));
    report("quad.inside", rtReadPixel(std::floor(sx) - 2, std::floor(sy) + 2));
    report("quad.outside", rtReadPixel(std::floor(sx) + 2, std::floor(sy) - 2));
    rtShowFrame();

    startView();
    rtTranslate(1, 0, 2);
    rtDrawObjectFrame(2, 0); // the nearer square first: the depth test keeps it
    rtTranslate(0, 0, 0);
    rtDrawObjectFrame(1, 0);
    report("depth.overlap", pixelAtPoint(0.5, 0, 2));
    report("depth.farOnly", pixelAtPoint(-1.5, 0, 0));
    rtShowFrame();
}

static void lightAndFog()
{
    startView();
    rtSetNormalMode(1);
    buildSquare(3, 2, 0xFFFFFF);
    rtSetLight(0, 0xC0C0C0, 0, 0, 0, 0, -1, -1, 180);
    rtDrawObjectFrame(3, 0);
    report("light.at45", int(pixelAtPoint(0, 0, 0)) & 0xFF);
    rtShowFrame();
    // A white texture leaves the lit colour as it is, also right after 2D drawing in white.
    rtLoadSprite(writePicture("white.bmp", 4, 0xFFFFFF).c_str(), 8);
    rtDrawSprite(8, 0, 0);
    startView();
    rtSetLight(0, 0xC0C0C0, 0, 0, 0, 0, -1, -1, 180);
    rtBind3DTextures(8, -1);
    rtDrawObjectFrame(3, 0);
    report("light.textured", int(pixelAtPoint(0, 0, 0)) & 0xFF);
    rtBind3DTextures(-1, -1);
    rtShowFrame();
    startView();
    rtSetLight(0, 0xC0C0C0, 0, 0, 0, 0, 0, -1, 180);
    rtDrawObjectFrame(3, 0);
    report("light.head", int(pixelAtPoint(0, 0, 0)) & 0xFF);
    rtShowFrame();
    startView();
    rtSetLight(0, 0, 0, 0, 0, 0, 0, 0, 0);
    rtDrawObjectFrame(3, 0);
    report("light.off", pixelAtPoint(0, 0, 0));
    rtShowFrame();

    rtStart3D(1, 50, 60);
    rtSetCamera(0, 0, 10, 0, 0, 0);
    rtSetFog(0x00FF00, 0, 0, 0);
    buildSquare(4, 30, 0xFFFFFF);
    rtTranslate(0, 0, -39.9);
    rtDrawObjectFrame(4, 0);
    report("fog.far", rtReadPixel(160, 120));
    rtSetFog(-1, 0, 0, 0);
    rtShowFrame();
}

static void framesAndVisibility()
{
    writeFile(tempFile("two.dda"), twoFrameMesh);
    report("text.loaded", rtLoadObject(tempFile("two.dda").c_str(), 5));
    startView();
    rtDrawObject(5, 0, 1, 0.5, 0);
    report("blend.middle", pixelAtPoint(0, 0, 0));
    report("blend.left", pixelAtPoint(-3, 0, 0));
    report("blend.right", pixelAtPoint(3, 0, 0));
    rtShowFrame();
    startView();
    rtDrawObjectFrame(5, 0);
    report("frame0.left", pixelAtPoint(-3, 0, 0));
    rtShowFrame();

    // An orthographic box reaching behind the eye: only the visibility test keeps the square out.
    rtStart3D(-50, 100, -60);
    rtSetCamera(0, 0, 10, 0, 0, 0);
    rtTranslate(0, 0, 40);
    report("behind.primitives", primitivesDrawn([] { rtDrawObjectFrame(1, 0); }));
    rtTranslate(0, 0, -10);
    report("front.primitives", primitivesDrawn([] { rtDrawObjectFrame(1, 0); }));
    rtShowFrame();
}

static void spritesAndText()
{
    rtLoadSprite(writePicture("red.bmp", 4, 0xFF0000).c_str(), 7);
    rtStart3D(1, 100, 60);
    rtSetCamera(10, 0, 0, 0, 0, 0); // from the side: anything not facing the camera is edge-on
    rtDrawSpriteIn3D(7, 0, 0, 0, 1);
    report("sprite.facing", pixelAtPoint(0, 1, 0));
    rtDrawTextIn3D("HH", 0, -3, 0, 0.25);
    double sx = 0, sy = 0, depth = 0;
    rtProjectPoint(0, -2.5, 0, sx, sy, depth);
    report("text.pixels", nonBlackPixels(int(sx) - 12, int(sy) - 6, int(sx) + 12, int(sy) + 6));
    rtEnd3D();
    rtShowFrame();
}

static void draw2D()
{
    rtDrawSprite(7, 10, 10);
    rtZoomSprite(7, 40, 10, 3, 2);
    rtDrawRect(100, 20, 140, 60, 0x336699);
    rtDrawLine(0, 100, 300, 130, 0xFFFFFF);
    rtPrint("Hello 3D", 20, 150);
    rtSetAlphaMode(-0.5);
    rtDrawRect(120, 40, 200, 90, 0x00FF00);
    rtSetAlphaMode(0);
}

static void twoDAfter3D()
{
    draw2D();
    std::vector<uint8_t> without3D = screenBytes(320, 240);
    rtShowFrame();
    startView();
    rtSetLight(1, 0xFFFFFF, 0, 0, 0, 1, -1, -1, 180);
    rtSetFog(0x202020, 1, 0.01, 0);
    rtSetCulling(1);
    rtBind3DTextures(7, 7);
    rtSetSphereMapping(1);
    rtSetTextureOffset(0.5, 0.25);
    rtDrawObject(5, 0, 1, 0.3, 1);
    // draw2D showed sprite 7 at its own size, sampled nearest; on the object it is smooth again.
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    report("after3d.objectFilterLinear", filter == GL_LINEAR);
    rtDrawLine3D(-5, 0, 0, 5, 0, 0, 4, 0xFF00FF);
    rtDrawSpriteIn3D(7, 0, 0, 0, 1);
    rtDrawTextIn3D("3D", 0, 2, 0, 0.5);
    rtEnd3D();
    rtClearScreen();
    draw2D();
    std::vector<uint8_t> after3D = screenBytes(320, 240);
    report("after3d.differences", differentBytes(without3D, after3D));
    report("after3d.drawn", without3D != std::vector<uint8_t>(without3D.size(), 0) ? 1 : 0);
    rtShowFrame();
}

static void drawing()
{
    placementAndDepth();
    lightAndFog();
    framesAndVisibility();
    spritesAndText();
    twoDAfter3D();
}

// A textured square in an object description, all three files only in an archive on a host file.
static void archiveObject()
{
    std::string bmp;
    writePicture("blue.bmp", 2, 0x0000FF);
    FILE* file = fopen(tempFile("blue.bmp").c_str(), "rb");
    char buffer[4096];
    size_t got;
    while (file && (got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bmp.append(buffer, got);
    if (file) fclose(file);
    remove(tempFile("blue.bmp").c_str());
    auto entry = [](const char* name, const std::string& bytes) {
        return PackedFile{name, std::vector<unsigned char>(bytes.begin(), bytes.end())};
    };
    const std::string square = "DDDA 1.1\n4 0 0 1 0 1 1 0 1\n1 255 255 255 4 0 0 1 1 2 2 3 3\n1\n"
                               "4 -2 -2 0 0 0 1 2 -2 0 0 0 1 2 2 0 0 0 1 -2 2 0 0 0 1\n";
    const std::string description = ";DDW\r\n[textures]\r\ncount=1\r\n1=blue.bmp\r\n[objects]\r\ncount=1\r\n"
                                    "1=square.dda\r\n1ta=1\r\n1tb=-1\r\n";
    std::string host = tempFile("data.bin"), error;
    writeFile(host, "host file");
    report("archive.appended",
           appendArchive(
               host, {entry("thing.ddw", description), entry("blue.bmp", bmp), entry("square.dda", square)},
               false, error));
    rtSetArchiveFiles(host.c_str(), host.c_str());
    report("archive.loaded", rtLoadObject("thing.ddw", 8));
    startView();
    rtDrawObjectFrame(8, 0);
    report("archive.centre", pixelAtPoint(0, 0, 0));
    rtShowFrame();
    rtSetArchiveFiles("", "");
}

static void meshFiles()
{
    writeFile(tempFile("two.dda"), twoFrameMesh);
    rtLoadObject(tempFile("two.dda").c_str(), 5);
    report("binary.saved", rtSaveObject(tempFile("two.ddd").c_str(), 5));
    report("binary.loaded", rtLoadObject(tempFile("two.ddd").c_str(), 6));
    startView();
    rtDrawObjectFrame(6, 1);
    report("binary.right", pixelAtPoint(3, 0, 0));
    report("binary.triangles", rtObjectTriangleCount(6));
    rtShowFrame();
    archiveObject();
}

static void shaders()
{
    writeFile(tempFile("flat.vert"), "void main() { gl_Position = ftransform(); }\n");
    writeFile(tempFile("flat.frag"),
              "uniform float level;\nvoid main() { gl_FragColor = vec4(level, 0.0, 1.0 - level, 1.0); }\n");
    writeFile(tempFile("broken.frag"), "void main( { gl_FragColor = nothing; }\n");
    report("shader.loaded", rtLoadShader(3, tempFile("flat.vert").c_str(), tempFile("flat.frag").c_str()));
    report("shader.broken", rtLoadShader(4, tempFile("flat.vert").c_str(), tempFile("broken.frag").c_str()));
    startView();
    buildSquare(1, 2, 0xFFFFFF);
    rtUseShader(3);
    rtSetShaderFloat("level", 0.25);
    rtDrawObjectFrame(1, 0);
    rtUseShader(255);
    report("shader.colour", pixelAtPoint(0, 0, 0));
    rtShowFrame();
}

static void badInput()
{
    startView();
    buildSquare(1, 2, 0xFFFFFF);
    report("bad.outsideLoad", rtLoadObject("anything.ddd", 4096));
    report("bad.missingLoad", rtLoadObject("missing.ddd", 9));
    rtDrawObjectFrame(-1, 0);
    rtDrawObjectFrame(4096, 0);
    rtDrawObjectFrame(9, 0);
    rtStartObject(10);
    rtEndObject();
    rtDrawObjectFrame(10, 0);
    report("bad.emptyTriangles", rtObjectTriangleCount(10));
    for (int i = 0; i < 17; ++i)
        rtPushMatrix();
    rtTranslate(NAN, 0, 0);
    rtDrawObjectFrame(1, 0);
    rtDrawLine3D(NAN, 0, 0, 1, 1, 1, NAN, 0xFFFFFF);
    for (int i = 0; i < 20; ++i)
        rtPopMatrix();
    rtTranslate(0, 0, 0);
    rtScale(0, 0, 0);
    rtDrawObjectFrame(1, 0);
    rtScale(1, 1, 1);
    double sx = 5, sy = 5, depth = 5;
    rtProjectPoint(NAN, NAN, NAN, sx, sy, depth);
    RtArray triangle;
    rtGetObjectTriangle(1, 0, 99, triangle);
    report("bad.pastLastSize", rtArraySize(triangle, 0) * 10 + rtArraySize(triangle, 1));
    report("bad.pastLastValue", rtArrayAt(triangle, 0, 0, 0, 0));
    rtGetObjectTriangle(1, 0, 1, triangle);
    report("bad.lastCornerX", rtArrayAt(triangle, 2, 0, 0, 0));
    report("bad.pixels", nonBlackPixels(0, 0, 319, 239));
    rtEnd3D();
    rtShowFrame();
}

static void loading()
{
    meshFiles();
    shaders();
    badInput();
}

static void hostMain()
{
    results = fopen(tempFile("results.txt").c_str(), "w");
    if (scenario == "drawing") drawing();
    if (scenario == "loading") loading();
    report("done", 1);
    fclose(results);
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--scenario=", 11) == 0) scenario = argv[i] + 11;
    rtRunGame(argc, argv, settings, hostMain);
}
