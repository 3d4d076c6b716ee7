// The reference side of the drawing comparison: the workloads of draw_workload.h written by hand
// against bare SDL2 and OpenGL 1.x immediate mode, the way a small game would: the same window and
// context attributes, the same offscreen screen buffer copied to the window, the same 2D state as
// the runtime, one quad per sprite. Prints per frame "drawing-ms minor-faults processor-ms".
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/draw_reference --test=sprites1 --filter=nearest
#include <SDL.h>
#include <SDL_opengl.h>

#include <vector>

#include "bench/draw_workload.h"

static workload::Options options;
static workload::Places places;
static SDL_Window* window;
static GLuint screenBuffer, textures[workload::textureCount], fontTexture;
static PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
static PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;

static double now()
{
    return double(SDL_GetPerformanceCounter()) * 1000.0 / double(SDL_GetPerformanceFrequency());
}

template <class Function> static void lookUp(Function& function, const char* name)
{
    function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

static void makeScreenBuffer()
{
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    lookUp(genFramebuffers, "glGenFramebuffers");
    lookUp(genRenderbuffers, "glGenRenderbuffers");
    lookUp(bindRenderbuffer, "glBindRenderbuffer");
    lookUp(renderbufferStorage, "glRenderbufferStorage");
    lookUp(framebufferRenderbuffer, "glFramebufferRenderbuffer");
    lookUp(bindFramebuffer, "glBindFramebuffer");
    lookUp(blitFramebuffer, "glBlitFramebuffer");
    GLuint colour, depthStencil;
    genFramebuffers(1, &screenBuffer);
    bindFramebuffer(GL_FRAMEBUFFER, screenBuffer);
    genRenderbuffers(1, &colour);
    bindRenderbuffer(GL_RENDERBUFFER, colour);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, options.width, options.height);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    genRenderbuffers(1, &depthStencil);
    bindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, options.width, options.height);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
}

static void setUp2D()
{
    glViewport(0, 0, options.width, options.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, options.width, -options.height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.15f);
    glShadeModel(GL_FLAT);
    glDisable(GL_DITHER);
    glClearColor(0, 0, 0, 1);
}

static GLuint makeTexture(int width, int height, const std::vector<uint8_t>& rgba, bool nearest)
{
    GLuint texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return texture;
}

// 64 × 64 textures with the picture in the lower 60 rows, as the runtime stores sprites.
static void makeTextures(int count)
{
    using namespace workload;
    std::vector<uint8_t> rgba(64 * 64 * 4, 0);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < spriteHeight; ++y)
            for (int x = 0; x < spriteWidth; ++x)
                spritePixel(i, x, y, &rgba[((spriteHeight - 1 - y) * 64 + x) * 4]);
        textures[i] = makeTexture(64, 64, rgba, options.nearest);
    }
    // A font of 16 × 8 cells of 8 × 8 with about a third of the texels opaque.
    std::vector<uint8_t> font(128 * 64 * 4);
    for (size_t texel = 0; texel < font.size() / 4; ++texel)
        font[texel * 4] = font[texel * 4 + 1] = font[texel * 4 + 2] = font[texel * 4 + 3] =
            texel % 3 == 0 ? 255 : 0;
    fontTexture = makeTexture(128, 64, font, true);
}

static void quad(float left, float top, float width, float height, float s, float t)
{
    glTexCoord2f(0, 0);
    glVertex2f(left, -top - height);
    glTexCoord2f(s, 0);
    glVertex2f(left + width, -top - height);
    glTexCoord2f(s, t);
    glVertex2f(left + width, -top);
    glTexCoord2f(0, t);
    glVertex2f(left, -top);
}

static void drawSprites(int textureCount, float width, float height)
{
    float s = workload::spriteWidth / 64.0f, t = workload::spriteHeight / 64.0f;
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < workload::spriteCount; ++i) {
        if (textureCount > 1 || i == 0) glBindTexture(GL_TEXTURE_2D, textures[i % textureCount]);
        glBegin(GL_QUADS);
        quad(float(places.x[i]), float(places.y[i]), width, height, s, t);
        glEnd();
    }
}

static void drawText()
{
    using namespace workload;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    const float cellS = 1 / 16.0f, cellT = 1 / 8.0f;
    for (int line = 0; line < textLines; ++line) {
        glBegin(GL_QUADS);
        float x = float(places.x[line]), top = float(places.y[line]);
        for (const char* c = places.text[line]; *c; ++c, x += 8) {
            int glyph = *c & 127;
            float s0 = cellS * float(glyph % 16), t0 = cellT * float(7 - glyph / 16);
            glTexCoord2f(s0, t0);
            glVertex2f(x, -top - 8);
            glTexCoord2f(s0 + cellS, t0);
            glVertex2f(x + 8, -top - 8);
            glTexCoord2f(s0 + cellS, t0 + cellT);
            glVertex2f(x + 8, -top);
            glTexCoord2f(s0, t0 + cellT);
            glVertex2f(x, -top);
        }
        glEnd();
    }
}

static void colour(int packed)
{
    glColor3ub(GLubyte(packed), GLubyte(packed >> 8), GLubyte(packed >> 16));
}

static void drawPrimitives(bool lines)
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    int count = lines ? workload::lineCount : workload::rectCount;
    for (int i = 0; i < count; ++i) {
        colour(places.colour[i]);
        float x = float(places.x[i]) + 0.375f, y = -float(places.y[i]) + 0.375f;
        if (lines) {
            float endX = float(places.x2[i]) + 0.375f, endY = -float(places.y2[i]) - 1 + 0.375f;
            glBegin(GL_LINES);
            glVertex2f(x, y - 1);
            glVertex2f(endX, endY);
            glEnd();
            glBegin(GL_POINTS); // lines leave out their last pixel; the picture has it
            glVertex2f(endX, endY);
            glEnd();
        } else {
            glBegin(GL_QUADS);
            glVertex2f(x, y - workload::rectHeight);
            glVertex2f(x + workload::rectWidth, y - workload::rectHeight);
            glVertex2f(x + workload::rectWidth, y);
            glVertex2f(x, y);
            glEnd();
        }
    }
    glColor4f(1, 1, 1, 1);
    glEnable(GL_ALPHA_TEST);
}

static void drawWorkload()
{
    using namespace workload;
    const std::string& test = options.test;
    if (test == "sprites1") drawSprites(1, spriteWidth, spriteHeight);
    if (test == "sprites40") drawSprites(textureCount, spriteWidth, spriteHeight);
    if (test == "stretched1") drawSprites(1, stretchedWidth, stretchedHeight);
    if (test == "text") drawText();
    if (test == "rects" || test == "lines") drawPrimitives(test == "lines");
    glFinish();
}

// The screen buffer to the window 1:1, shown, and cleared for the next frame.
static void present()
{
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    blitFramebuffer(0, 0, options.width, options.height, 0, 0, options.width, options.height,
                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
    SDL_GL_SwapWindow(window);
    bindFramebuffer(GL_FRAMEBUFFER, screenBuffer);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

int main(int argc, char** argv)
{
    using namespace workload;
    options = parseOptions(argc, argv);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    int windowWidth = options.windowWidth > 0 ? options.windowWidth : options.width;
    int windowHeight = options.windowHeight > 0 ? options.windowHeight : options.height;
    window = SDL_CreateWindow("reference", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                              windowHeight, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) return 1;
    SDL_GL_SetSwapInterval(0);
    makeScreenBuffer();
    setUp2D();
    makeTextures(options.test == "sprites40" ? textureCount : 1);
    places.fill(options);
    measure(now, drawWorkload, present);
    // The GL finishes its work before its context goes: the software driver, torn down while its
    // threads still draw, can wait for them for ever.
    glFinish();
    SDL_GL_DeleteContext(context);
    SDL_Quit();
    return 0;
}
