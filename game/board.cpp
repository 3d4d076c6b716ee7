// One level of Flipmatics: the deal, the board frame and the end animation. Everything is counted in
// frames of the 60 Hz heartbeat.
#include "game/board.h"

#include "game/flipmatics.h"

namespace {

// Frames an arrow key rests after it moved the cursor: a held arrow moves again every 21 frames.
constexpr double arrowRepeatFrames = 20;
// openCount reaches this 97 frames after the second card was chosen, and the pair is judged.
constexpr double pairCheckCount = 100;

double& cardStateAt(double column, double row)
{
    return rtArrayAt(game.cardState, column, row, 0, 0);
}
double& cardPictureAt(double column, double row)
{
    return rtArrayAt(game.cardPicture, column, row, 0, 0);
}
double& pictureUseOf(double picture)
{
    return rtArrayAt(game.pictureUse, picture, 0, 0, 0);
}

void drawCard(double column, double row)
{
    double x = cardPlaceX(column), y = cardPlaceY(row);
    double& state = cardStateAt(column, row);
    double picture = cardPictureAt(column, row);
    if (state >= 1 && state <= 9) {
        state += 1;
        rtZoomSprite(picture, x, y, state / 10, state / 10);
    } else if (state == 10) {
        rtDrawSprite(picture, x, y);
    } else if (state == 0) {
        rtDrawSprite(spriteCardBack, x, y);
    }
    if (column == game.cursorX && row == game.cursorY) {
        rtDrawSprite(toInt(game.cursorPhase), x, y);
        game.cursorPhase += 0.25;
        if (game.cursorPhase == spriteCursorEnd) game.cursorPhase = spriteCursorFirst;
    }
}

// Moves one cursor coordinate by step, wrapping around the board's edge.
void moveCursor(double& coordinate, double step, double count)
{
    game.keyDelay = arrowRepeatFrames;
    coordinate += step;
    if (coordinate < 0) coordinate = count - 1;
    if (coordinate >= count) coordinate = 0;
}

void turnCardUnderCursor()
{
    double& state = cardStateAt(game.cursorX, game.cursorY);
    if (state != 0 || game.openCount >= 2) return;
    game.openCount += 1;
    playSound(soundClick);
    state = 1;
    double picture = cardPictureAt(game.cursorX, game.cursorY);
    if (game.openCount == 1) game.firstPicture = picture;
    if (game.openCount == 2) game.secondPicture = picture;
}

void readKeys()
{
    if (game.keyDelay != 0) {
        game.keyDelay -= 1;
        return;
    }
    if (rtKeyState(rtKeyLeft) != 0) moveCursor(game.cursorX, -1, game.cols);
    if (rtKeyState(rtKeyRight) != 0) moveCursor(game.cursorX, +1, game.cols);
    if (rtKeyState(rtKeyUp) != 0) moveCursor(game.cursorY, -1, game.rows);
    if (rtKeyState(rtKeyDown) != 0) moveCursor(game.cursorY, +1, game.rows);
    if (chooseKeyDown()) turnCardUnderCursor();
}

// Both open cards are judged together: taken off when they match, turned back when they do not.
void checkPair()
{
    if (game.openCount <= 1) return;
    game.openCount += 1;
    if (game.openCount != pairCheckCount) return;
    bool match = game.firstPicture == game.secondPicture;
    for (double row = 0; row < game.rows; ++row)
        for (double column = 0; column < game.cols; ++column) {
            double& state = cardStateAt(column, row);
            if (state != 10) continue;
            if (match) {
                state = -1;
                game.cardsLeft -= 1;
                playSound(soundOk);
            } else {
                state = 0;
                game.triesLeft -= 1;
                playSound(soundFail);
            }
        }
    game.openCount = 0;
}

} // namespace

double cardPlaceX(double column)
{
    return column * (game.boardWidth / game.cols) +
           (game.boardWidth - game.cols * game.cardWidth) / (2 * game.cols);
}

double cardPlaceY(double row)
{
    return row * (game.boardHeight / game.rows) +
           (game.boardHeight - game.rows * game.cardHeight) / (2 * game.rows);
}

void dealCards()
{
    for (double picture = 0; picture <= game.pictureMax; ++picture)
        pictureUseOf(picture) = 0;

    // Pictures kept out of this level are marked full first, so exactly `pairs` pictures have room.
    double pairs = game.rows * game.cols * 0.5;
    double excess = game.pictureMax + 1 - pairs;
    while (excess > 0) {
        double picture = rtRandom(game.pictureMax);
        if (pictureUseOf(picture) == 0) {
            pictureUseOf(picture) = 2;
            excess -= 1;
        }
    }

    // Each card takes a random picture, or the next one with room, wrapping after the last.
    for (double row = 0; row < game.rows; ++row)
        for (double column = 0; column < game.cols; ++column) {
            double picture = rtRandom(game.pictureMax);
            while (pictureUseOf(picture) > 1) {
                picture += 1;
                if (picture > game.pictureMax) picture = 0;
            }
            pictureUseOf(picture) += 1;
            cardPictureAt(column, row) = picture;
            cardStateAt(column, row) = 0;
        }
}

void boardFrame()
{
    for (double row = 0; row < game.rows; ++row)
        for (double column = 0; column < game.cols; ++column)
            drawCard(column, row);
    readKeys();
    checkPair();
    rtShowFrame();
}

void endAnimation(double sprite)
{
    rtClearScreen();
    for (double angle = 10; angle <= 360; angle += 10) {
        rtDrawSpriteRotatedScaled(sprite, 60, 20, angle, angle / 360);
        rtShowFrame();
    }
    for (int frame = 0; frame < 121; ++frame) {
        rtDrawSprite(sprite, 60, 20);
        rtShowFrame();
    }
}

void playLevel()
{
    rtLoadBackground("images/background.bmp");
    rtShowFrame();
    dealCards();
    game.cursorX = 0;
    game.cursorY = 0;
    for (;;) {
        boardFrame();
        if (game.cardsLeft == 0) {
            endAnimation(game.endPicture);
            return;
        }
        if (game.triesLeft == 0) {
            endAnimation(spriteLevelLost);
            return;
        }
    }
}
