// Media player: plays the music file named on the command line and shows how far it has got; Space
// plays the movie named after it (or the music file itself, if that has a picture) in the window.
// The music starts again at its end for as long as frames are shown. Escape ends.
//   media_player MUSIC [MOVIE]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime/runtime.h"

static std::string musicFile, movieFile;
static std::string message;

static void drawPlayer()
{
    rtDrawRect(0, 0, 319, 239, 0x402010);
    rtPrint(("Music: " + musicFile).c_str(), 8, 8);
    double position = rtMusicPosition(), length = rtMusicLength();
    char text[64];
    snprintf(text, sizeof text, "%.1f / %.1f s", position / 1000, length / 1000);
    rtPrint(text, 8, 24);
    // A bar that fills as the music plays.
    rtDrawRect(8, 40, 311, 49, 0x808080);
    if (length > 0) rtDrawRect(8, 40, 8 + 303 * std::min(position / length, 1.0), 49, 0x00C0FF);
    rtPrint(("Space: movie " + movieFile).c_str(), 8, 64);
    rtPrint("Escape: end", 8, 80);
    rtPrint(message.c_str(), 8, 104);
}

static void playerMain()
{
    if (rtPlayMusic(musicFile.c_str()) != 0) message = "Cannot play the music (see ErrorLog.txt)";
    bool spaceWasDown = true; // a Space held at the start does not start the movie
    for (;;) {
        bool spaceDown = rtKeyState(57) != 0;
        if (spaceDown && !spaceWasDown) {
            // The movie blocks until it ends or a key or mouse button is pressed.
            if (rtPlayMovieOnce(movieFile.c_str()) != 0) message = "Cannot play the movie";
            spaceDown = true; // the key that ended the movie must not start it again
        }
        spaceWasDown = spaceDown;
        drawPlayer();
        rtShowFrame();
    }
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s MUSIC [MOVIE]\n", argv[0]);
        return 2;
    }
    // The runtime works in the program's own folder: names from the command line are made absolute.
    musicFile = std::filesystem::absolute(argv[1]).string();
    movieFile = std::filesystem::absolute(argc > 2 ? argv[2] : argv[1]).string();
    GameSettings settings;
    settings.title = "Media player";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, playerMain);
}
