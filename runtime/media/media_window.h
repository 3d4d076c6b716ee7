// MediaWindow: one media player (libmpv) playing one file, for the music and the movie commands. It
// offers what they need of a player and no more: play, stop, seek to the start, the position, start
// and length in milliseconds, and for movies the picture's own size and the rectangle of the window
// it is drawn into.
//
// The player runs on threads of its own. Nothing here blocks on it while a file plays: commands go
// out without waiting for their replies, and the position, length and end are what the player last
// reported, collected from its event queue whenever they are read.
#pragma once

#include <string>

struct mpv_handle;

namespace rt {

struct MoviePicture;

enum class MediaKind
{
    Music, // sound only, nothing shown
    Movie, // the picture drawn into the game window
};

// A rectangle of the window's client area, in pixels from its top left.
struct MediaRect
{
    int x = 0, y = 0, width = 0, height = 0;
};

// How long opening a file may take before it counts as unplayable.
constexpr double mediaOpenTimeoutSeconds = 5;

struct MediaWindow
{
    MediaWindow() = default;
    MediaWindow(const MediaWindow&) = delete;
    MediaWindow& operator=(const MediaWindow&) = delete;
    // Stops the player, frees the picture and deletes the temp file the window played from.
    ~MediaWindow();

    // Starts playing from the current position; false when the file cannot be played.
    bool play();
    void stop();
    // Back to the start; the position reads as the start until the player gets there.
    void seekToStart();
    double position(); // ms; the length once the end has been reached
    double start() { return 0; }
    double length(); // ms; 0 when the player cannot tell
    // The movie's own frame size at (0, 0); empty for music and files without a picture.
    MediaRect source() const { return {0, 0, sourceWidth, sourceHeight}; }
    // Where the picture is drawn from now on.
    void putDestination(const MediaRect& rectangle) { destination = rectangle; }
    // Movies: draws the newest picture into the destination rectangle and shows it, when the player
    // has a new one. True when a picture was shown.
    bool showPicture();
    // Waits until the player has a new picture, at most the given time.
    void waitForPicture(int milliseconds);

    // Reads what the player reported since the last call.
    void collectEvents();

    mpv_handle* player = nullptr;
    MoviePicture* picture = nullptr; // movies with a picture only
    MediaKind kind = MediaKind::Music;
    std::string path;                      // the file that plays
    std::string ownedTempFile;             // an archive temp file the window plays from, deleted with it
    double positionMs = 0;                 // as last reported
    double lengthMs = 0;                   // as last reported; 0 while unknown
    bool atEnd = false;                    // the player stopped at the end of the file
    bool seeking = false;                  // a seek to the start is under way
    bool failed = false;                   // the file cannot be (or can no longer be) played
    int sourceWidth = 0, sourceHeight = 0; // pixels; 0 without a picture
    MediaRect destination;
    long picturesShown = 0; // pictures drawn since the window opened
};

// Opens a player for the file (the file's path on disk), paused at its start. Null when the file
// cannot be played (or not within mediaOpenTimeoutSeconds); why is then in `reason`. Movies need the
// game window's GL context to be current.
MediaWindow* openMediaWindow(const std::string& path, MediaKind kind, std::string& reason);

// Media windows that exist now (music and movie), for the tests and the end routine's checks.
int liveMediaWindowCount();

} // namespace rt
