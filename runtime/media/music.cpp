// Music: one file at a time that plays in the background and starts again at its end for as long as
// the game shows frames.
#include "runtime/core/engine_state.h"
#include "runtime/media/media.h"
#include "runtime/runtime.h"

using namespace rt;

namespace rt {

namespace {

void closeMusic()
{
    if (!engine.mediaWindow) return;
    engine.mediaWindow->stop();
    delete engine.mediaWindow;
    engine.mediaWindow = nullptr;
}

} // namespace

void repeatMusicAtItsEnd()
{
    MediaWindow* music = engine.mediaWindow;
    if (!music) return;
    // A length the player cannot tell would restart the music at every frame: it then plays once.
    double length = music->length();
    if (length > 0 && music->position() >= length) {
        music->seekToStart();
        music->play();
    }
}

void closeMedia()
{
    closeMovie();
    closeMusic();
}

} // namespace rt

double rtPlayMusic(const RtString& name)
{
    rt::closeMusic();
    rt::MediaWindow* music = nullptr;
    if (rt::openMediaByName(name.c_str(), rt::MediaKind::Music, music) != rt::MediaOpening::Opened) return 3;
    engine.mediaWindow = music;
    return music->play() ? 0 : 3;
}

void rtStopMusic()
{
    rt::closeMusic();
}

double rtMusicPosition()
{
    return engine.mediaWindow ? engine.mediaWindow->position() : 0;
}

double rtMusicLength()
{
    return engine.mediaWindow ? engine.mediaWindow->length() : 0;
}
