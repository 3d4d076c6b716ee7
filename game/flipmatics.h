// Flipmatics, the pairs game: its variables, slots and keys, and the routines of the game flow.
#pragma once

#include "runtime/runtime.h"

// Everything the game keeps between frames. All numbers are reals, as in the game language.
struct FlipmaticsState
{
    // Set once when the main routine starts.
    double pictureMax = 39;   // highest card picture number; pictures are 0 to 39
    double cardWidth = 64;    // pixels
    double cardHeight = 60;   // pixels
    double boardWidth = 320;  // pixels
    double boardHeight = 240; // pixels
    double cursorPhase = 100; // cursor sprite = trunc(cursorPhase), 100 to 105, a quarter step a frame
    double keyDelay = 0;      // frames left before the arrows are read again
    double openCount = 0;     // 0, 1, 2 cards turned in this try; then the frames of the pair check
    double menuBar = 0;       // selection bar offset: 0 = "Start game", 20 = "Quit game"
    RtArray cardPicture;      // (column, row) → picture 0 to 39; 5 × 4
    RtArray cardState;        // (column, row) → 0 face down, 1..9 turning, 10 face up, -1 taken off
    RtArray pictureUse;       // picture → cards dealt with it (2 for a picture kept out of play)

    // Set for each level.
    double cardsLeft = 0; // cards still on the board
    double triesLeft = 0; // cards that may still be turned back
    double rows = 0;
    double cols = 0;
    double endPicture = 0; // sprite shown when the level is won

    // Level play.
    double cursorX = 0; // cursor cell
    double cursorY = 0;
    double firstPicture = 0; // pictures of the two cards of this try
    double secondPicture = 0;
};

extern FlipmaticsState game;

// Sprite slots: card faces are 0 to 39.
constexpr double spriteCardBack = 99;
constexpr double spriteCursorFirst = 100; // 100 to 105: six cursor steps, forwards and back
constexpr double spriteCursorEnd = 106;
constexpr double spriteLevelWon = 110;
constexpr double spriteLevelLost = 111;
constexpr double spriteLastLevelWon = 112;

// Sound slots.
constexpr double soundClick = 0; // menu move, card turned
constexpr double soundFail = 1;  // "Quit game", each card of a wrong pair
constexpr double soundOk = 2;    // "Start game", each card of a matching pair
constexpr double soundWin = 3;   // all five levels won

// The game's main routine: start values, pictures and sounds, then the title menu for ever.
void flipmaticsMain();

// Start values of every variable above and the three arrays dimensioned (all zero).
void setStartValues();
// Background, font, sprites and sounds. Missing files leave their slots empty.
void loadGameData();
// "images/pic" + the picture number with at least two digits + ".bmp".
RtString cardPictureFile(double picture);
// The title menu, frame after frame; leaves only by ending the program ("Quit game").
[[noreturn]] void runTitleMenu();
// Levels 1 to 5 until one is lost; the win sound after the last.
void runLevelLadder();

// Plays sound slot at the centre, full volume.
void playSound(double slot);
// Whether any of the three choose keys (X, Return, Space) is down.
bool chooseKeyDown();
