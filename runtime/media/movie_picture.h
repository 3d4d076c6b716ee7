// MoviePicture: a movie player's pictures in the game window. The player draws each new frame with
// its OpenGL renderer into a framebuffer of the destination rectangle's size; that is copied into
// the window at the rectangle's place, black around it, and shown.
//
// While a picture exists the game's own GL state is put aside (and the GL defaults the player's
// renderer expects are in force); freeing the picture brings the game's state back.
#pragma once

#include <string>

struct mpv_handle;

namespace rt {

struct MediaRect;
struct MoviePicture;

// Creates the player's renderer in the current GL context; call before the player opens a file.
// Null, with the reason, when there is no GL context or the renderer cannot start.
MoviePicture* createMoviePicture(mpv_handle* player, std::string& reason);
// Frees the renderer (before the player itself goes) and restores the game's GL state.
void freeMoviePicture(MoviePicture* picture);

// Draws the player's newest frame into `destination` and shows the window, when the player has a
// new frame. True when a frame was shown.
bool showNewMovieFrame(MoviePicture& picture, const MediaRect& destination);
// Waits until the player has a new frame, at most the given time.
void waitForMovieFrame(MoviePicture& picture, int milliseconds);
// Shows the window black all over.
void showBlackWindow(MoviePicture& picture);

} // namespace rt
