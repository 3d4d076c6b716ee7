// A movie's pictures: the player's OpenGL renderer, the framebuffer it draws into and the copy into
// the game window.
#include "runtime/media/movie_picture.h"

#include <SDL.h>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "runtime/gfx2d/gl_functions.h"
#include "runtime/media/media_window.h"
#include "runtime/media/mpv_library.h"

namespace rt {

struct MoviePicture
{
    mpv_render_context* renderer = nullptr;
    SDL_Window* window = nullptr;
    std::mutex frameMutex;               // guards frameDue for the wait
    std::condition_variable frameSignal; // raised with frameDue
    bool frameDue = false;               // set on the player's thread when a frame wants drawing
    GLuint framebuffer = 0;              // the destination-sized target of the player's renderer
    GLuint colour = 0;                   // its colour renderbuffer
    int width = 0, height = 0;           // the target's size
    GLint gameDrawFramebuffer = 0, gameReadFramebuffer = 0; // the game's bindings, given back at the end
};

namespace {

void* glFunctionAddress(void*, const char* name)
{
    return SDL_GL_GetProcAddress(name);
}

// Runs on a thread of the player: only note that a frame is due, the game's thread draws it.
void noteFrameDue(void* context)
{
    auto* picture = static_cast<MoviePicture*>(context);
    {
        std::lock_guard lock(picture->frameMutex);
        picture->frameDue = true;
    }
    picture->frameSignal.notify_one();
}

bool takeFrameDue(MoviePicture& picture)
{
    std::lock_guard lock(picture.frameMutex);
    bool due = picture.frameDue;
    picture.frameDue = false;
    return due;
}

// Puts the game's GL state aside and sets the defaults the player's renderer works from.
void setAsideGameState(MoviePicture& picture)
{
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &picture.gameDrawFramebuffer);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &picture.gameReadFramebuffer);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    for (GLenum capability : {GL_TEXTURE_2D, GL_ALPHA_TEST, GL_CULL_FACE, GL_BLEND, GL_DEPTH_TEST,
                              GL_STENCIL_TEST, GL_SCISSOR_TEST, GL_LIGHTING, GL_FOG, GL_COLOR_MATERIAL})
        glDisable(capability);
    if (glActiveTextureARB_) glActiveTextureARB_(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBindFramebufferFn(GL_FRAMEBUFFER, 0);
}

void restoreGameState(MoviePicture& picture)
{
    glPopClientAttrib();
    glPopAttrib();
    glBindFramebufferFn(GL_DRAW_FRAMEBUFFER, picture.gameDrawFramebuffer);
    glBindFramebufferFn(GL_READ_FRAMEBUFFER, picture.gameReadFramebuffer);
}

void freeTarget(MoviePicture& picture)
{
    if (picture.framebuffer) glDeleteFramebuffersFn(1, &picture.framebuffer);
    if (picture.colour) glDeleteRenderbuffersFn(1, &picture.colour);
    picture.framebuffer = picture.colour = 0;
    picture.width = picture.height = 0;
}

// A target of exactly width × height; made again only when the size changes.
bool makeTarget(MoviePicture& picture, int width, int height)
{
    if (picture.framebuffer && picture.width == width && picture.height == height) return true;
    freeTarget(picture);
    glGenFramebuffersFn(1, &picture.framebuffer);
    glBindFramebufferFn(GL_FRAMEBUFFER, picture.framebuffer);
    glGenRenderbuffersFn(1, &picture.colour);
    glBindRenderbufferFn(GL_RENDERBUFFER, picture.colour);
    glRenderbufferStorageFn(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbufferFn(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, picture.colour);
    bool complete = glCheckFramebufferStatusFn(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebufferFn(GL_FRAMEBUFFER, 0);
    if (!complete) freeTarget(picture);
    picture.width = width;
    picture.height = height;
    return complete;
}

// The window's framebuffer all black, ready for the picture; its size in width and height.
void clearWindow(MoviePicture& picture, int& width, int& height)
{
    SDL_GL_GetDrawableSize(picture.window, &width, &height);
    glBindFramebufferFn(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

MoviePicture* createMoviePicture(mpv_handle* player, std::string& reason)
{
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window || !SDL_GL_GetCurrentContext() || !framebuffersAvailable()) {
        reason = "no OpenGL framebuffers to draw movies with";
        return nullptr;
    }
    auto* picture = new MoviePicture;
    picture->window = window;
    setAsideGameState(*picture);

    mpv_opengl_init_params glParams{glFunctionAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glParams},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    int error = mpv().render_context_create(&picture->renderer, player, params);
    if (error < 0) {
        reason = std::string("the movie renderer cannot start: ") + mpv().error_string(error);
        picture->renderer = nullptr;
        freeMoviePicture(picture);
        return nullptr;
    }
    mpv().render_context_set_update_callback(picture->renderer, noteFrameDue, picture);
    return picture;
}

void freeMoviePicture(MoviePicture* picture)
{
    if (!picture) return;
    mpv().render_context_free(picture->renderer);
    freeTarget(*picture);
    restoreGameState(*picture);
    delete picture;
}

bool showNewMovieFrame(MoviePicture& picture, const MediaRect& destination)
{
    // The player asks for a call after each notice, whether or not a frame comes of it.
    if (!takeFrameDue(picture)) return false;
    if (!(mpv().render_context_update(picture.renderer) & MPV_RENDER_UPDATE_FRAME)) return false;
    if (destination.width <= 0 || destination.height <= 0 ||
        !makeTarget(picture, destination.width, destination.height))
        return false;

    // The player draws with its rows bottom first, as the window's framebuffer holds them.
    mpv_opengl_fbo target{int(picture.framebuffer), picture.width, picture.height, 0};
    int flipY = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv().render_context_render(picture.renderer, params);

    int windowWidth, windowHeight;
    clearWindow(picture, windowWidth, windowHeight);
    glBindFramebufferFn(GL_READ_FRAMEBUFFER, picture.framebuffer);
    // GL's window origin is the bottom left: the rectangle's top offset becomes a bottom offset.
    int bottom = windowHeight - destination.y - destination.height;
    glBlitFramebufferFn(0, 0, picture.width, picture.height, destination.x, bottom,
                        destination.x + destination.width, bottom + destination.height, GL_COLOR_BUFFER_BIT,
                        GL_NEAREST);
    glBindFramebufferFn(GL_READ_FRAMEBUFFER, 0);
    SDL_GL_SwapWindow(picture.window);
    mpv().render_context_report_swap(picture.renderer);
    return true;
}

void waitForMovieFrame(MoviePicture& picture, int milliseconds)
{
    std::unique_lock lock(picture.frameMutex);
    picture.frameSignal.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                 [&] { return picture.frameDue; });
}

void showBlackWindow(MoviePicture& picture)
{
    int width, height;
    clearWindow(picture, width, height);
    SDL_GL_SwapWindow(picture.window);
}

} // namespace rt
