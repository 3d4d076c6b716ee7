// Helpers for the game's logic tests: level set-up, running until the script ends, and a player that
// works the board through keys only.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "game/board.h"
#include "game/flipmatics.h"
#include "tests/game/standin_commands.h"

// Runs body; true when it stopped because the scripted frames ran out.
template <class Body> bool runUntilScriptEnds(Body body)
{
    try {
        body();
    } catch (const standin::ScriptEnded&) {
        return true;
    }
    return false;
}

inline void setLevel(double rows, double cols, double cardsLeft, double triesLeft, double endPicture)
{
    game.rows = rows;
    game.cols = cols;
    game.cardsLeft = cardsLeft;
    game.triesLeft = triesLeft;
    game.endPicture = endPicture;
}

inline double& stateAt(double column, double row)
{
    return rtArrayAt(game.cardState, column, row, 0, 0);
}
inline double& pictureAt(double column, double row)
{
    return rtArrayAt(game.cardPicture, column, row, 0, 0);
}

inline bool frameDrew(long f, const char* command, double first)
{
    for (const standin::Call& c : standin::callsInFrame(f))
        if (c.name == command && !c.args.empty() && c.args[0] == first) return true;
    return false;
}

// A board frame always draws the cursor; a menu frame prints "Start game".
inline bool isBoardFrame(long f)
{
    for (const standin::Call& c : standin::callsInFrame(f))
        if (c.name == "rtDrawSprite" && c.args[0] >= spriteCursorFirst && c.args[0] < spriteCursorEnd)
            return true;
    return false;
}

inline bool isMenuFrame(long f)
{
    for (const standin::Call& c : standin::callsInFrame(f))
        if (c.name == "rtPrint" && c.text == "Start game") return true;
    return false;
}

// Plays through keys, one decision at the end of every frame: walks the cursor to a chosen card and
// turns it. wantMatch decides for each try whether the second card matches the first. On the menu it
// chooses "Start game" while startFromMenu says so. It notes the size of every level it starts.
struct Autoplayer
{
    std::function<bool()> wantMatch = [] { return true; };
    std::function<bool()> startFromMenu = [] { return false; };
    std::vector<double> levelsStarted; // rows × cols of each level, in order
    int menuFramesSeen = 0;
    bool previousWasBoard = false;

    void onFrame()
    {
        long shown = standin::frame() - 1;
        if (isMenuFrame(shown)) {
            ++menuFramesSeen;
            previousWasBoard = false;
            // The menu reads the choose keys after showing its frame: hold across that point.
            if (startFromMenu()) standin::holdKey(rtKeySpace, standin::time(), standin::time() + 2);
            return;
        }
        bool board = isBoardFrame(shown);
        if (board && !previousWasBoard) levelsStarted.push_back(game.rows * game.cols);
        previousWasBoard = board;
        if (!board || game.keyDelay != 0 || game.openCount >= 2) return;

        auto [column, row] = target();
        if (column < 0) return;
        if (column > game.cursorX) standin::pressNextFrame(rtKeyRight);
        if (column < game.cursorX) standin::pressNextFrame(rtKeyLeft);
        if (row > game.cursorY) standin::pressNextFrame(rtKeyDown);
        if (row < game.cursorY) standin::pressNextFrame(rtKeyUp);
        if (column == game.cursorX && row == game.cursorY) standin::pressNextFrame(rtKeySpace);
    }

    // The face-down card to turn next: any for the first card of a try, then one that matches the
    // first card or not, as wanted. (-1, -1) when there is none.
    std::pair<double, double> target()
    {
        bool match = game.openCount == 1 ? wantMatch() : false;
        for (double row = 0; row < game.rows; ++row)
            for (double column = 0; column < game.cols; ++column) {
                if (stateAt(column, row) != 0) continue;
                if (game.openCount == 0) return {column, row};
                if ((pictureAt(column, row) == game.firstPicture) == match) return {column, row};
            }
        return {-1, -1};
    }
};
