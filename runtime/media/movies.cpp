// Movies: a movie takes over the game window and blocks the game until it ends, or until the player
// presses a character key or a mouse button.
#include <SDL.h>
#include <algorithm>

#include "runtime/core/engine_state.h"
#include "runtime/core/window_events.h"
#include "runtime/input/input.h"
#include "runtime/media/media.h"
#include "runtime/media/movie_picture.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

namespace {

MediaWindow* playingMovie = nullptr; // known to the end routine, which may run inside a movie

// Longest wait for a new picture before the keys and the window are looked at again.
constexpr int inputPollMs = 5;

bool characterKeyOrButtonDown()
{
    InputContext* input = engine.inputSystem;
    if (!input) return false;
    return input->characterKeyDown() || input->anyButtonDown();
}

MediaRect windowFitFor(const MediaWindow& movie)
{
    int clientWidth = 0, clientHeight = 0;
    if (engine.window) SDL_GL_GetDrawableSize(engine.window, &clientWidth, &clientHeight);
    MediaRect source = movie.source();
    return movieFitRectangle(source.width, source.height, clientWidth, clientHeight);
}

// Plays until the end (again from the start while `loop`), a character key or a mouse button; a
// close request ends the program on the way.
void playUntilDone(MediaWindow& movie, double end, bool loop)
{
    for (;;) {
        double position = movie.position();
        if (characterKeyOrButtonDown()) return;
        rtPumpMessages();
        if (position >= end) {
            if (!loop) return;
            movie.seekToStart();
            movie.play();
        }
        if (!movie.showPicture()) movie.waitForPicture(inputPollMs);
    }
}

// 3 when the file cannot be found or played, else 0.
int playMovie(const char* name, bool loop)
{
    closeMovie();
    MediaOpening opening = openMediaByName(name, MediaKind::Movie, playingMovie);
    if (opening != MediaOpening::Opened) return 3;
    MediaWindow& movie = *playingMovie;
    double end = movie.start() + movie.length();
    movie.putDestination(windowFitFor(movie));
    if (movie.picture) showBlackWindow(*movie.picture);

    // The key or button that started the movie must not end it at once.
    while (characterKeyOrButtonDown()) {
        rtPumpMessages();
        SDL_Delay(1);
    }
    if (movie.play() && end > 0) playUntilDone(movie, end, loop);
    movie.stop();
    closeMovie();
    return 0;
}

} // namespace

void closeMovie()
{
    delete playingMovie;
    playingMovie = nullptr;
}

MediaRect movieFitRectangle(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) return {};
    double scale = std::min(double(clientHeight) / sourceHeight, double(clientWidth) / sourceWidth);
    int width = int(scale * sourceWidth), height = int(scale * sourceHeight);
    return {(clientWidth - width) / 2, (clientHeight - height) / 2, width, height};
}

} // namespace rt

double rtPlayMovieLooped(const RtString& name)
{
    return rt::playMovie(name.c_str(), true);
}

double rtPlayMovieOnce(const RtString& name)
{
    return rt::playMovie(name.c_str(), false);
}
