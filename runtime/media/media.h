// Music and movies: the subsystem's duties for the engine's lifecycle, and what its commands share.
// The music is the media window in engine.mediaWindow; a movie's media window lives only while its
// command runs.
#pragma once

#include <string>

#include "runtime/media/media_window.h"

namespace rt {

// Once per shown frame: music at or past its end goes back to its start and plays again. Music
// only repeats through this duty.
void repeatMusicAtItsEnd();
// The end routine: stops and closes the music and a movie that plays, with their temp files.
void closeMedia();
// Closes the movie that plays, if any.
void closeMovie();

enum class MediaOpening
{
    Opened,
    NotFound,   // the name resolves to no file (nothing is logged)
    Unplayable, // the file cannot be played (the reason is logged)
};

// Resolves a game's file name through the media resolver and opens it. A file that the resolver
// unpacked from the archive belongs to the window from then on: it is deleted when the window
// closes, never while it plays.
MediaOpening openMediaByName(const char* name, MediaKind kind, MediaWindow*& window);

// The rectangle a movie of the given size is drawn into in a client area of the given size: scaled
// by the smaller of the two size ratios (sizes truncated), centred (integer division). Empty when
// either size is empty.
MediaRect movieFitRectangle(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight);

} // namespace rt
