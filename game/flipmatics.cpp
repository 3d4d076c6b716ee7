// Flipmatics' main routine, title menu and level ladder.
#include "game/flipmatics.h"

#include "game/board.h"

FlipmaticsState game;

namespace {

// One rung of the level ladder.
struct Level
{
    double cardsLeft, triesLeft, rows, cols, endPicture;
};

// Cards on the board, cards that may be turned back (two per wrong pair), board size, won picture.
constexpr Level levels[] = {
    {6, 6, 2, 3, spriteLevelWon},   {8, 8, 2, 4, spriteLevelWon},       {12, 10, 3, 4, spriteLevelWon},
    {16, 12, 4, 4, spriteLevelWon}, {20, 14, 4, 5, spriteLastLevelWon},
};

// Cursor steps 100 to 105 run forwards and back through the four cursor pictures.
const char* const cursorFiles[] = {"images/csr0.bmp", "images/csr1.bmp", "images/csr2.bmp",
                                   "images/csr3.bmp", "images/csr2.bmp", "images/csr1.bmp"};

const char* const creditLine = "Arrows move, Space picks";

bool keyIsDown(double code)
{
    return rtKeyState(code) != 0;
}

// The game only polls here, without showing frames, until the key is let go.
void waitForRelease(double code)
{
    while (keyIsDown(code)) {
    }
}

void drawTitleMenu()
{
    rtDrawSpriteRotated(3, 40, 20, 20);
    rtDrawSprite(16, 80, 30);
    rtDrawSprite(6, 170, 10);
    rtDrawSpriteRotated(33, 210, 30, 10);
    rtDrawSpriteRotated(39, 120, 20, -20);

    // Printing twice, one pixel apart, thickens the letters.
    rtPrint("Welcome to Flipmatics", 48, 120);
    rtPrint("Welcome to Flipmatics", 49, 120);

    // The selection bar: two dark rows, the bar, two bright rows.
    double bar = game.menuBar;
    rtDrawLine(0, 153 + bar, 319, 153 + bar, 128);
    rtDrawLine(0, 154 + bar, 319, 154 + bar, 128);
    rtDrawRect(0, 155 + bar, 319, 172 + bar, 192);
    rtDrawLine(0, 173 + bar, 319, 173 + bar, 255);
    rtDrawLine(0, 174 + bar, 319, 174 + bar, 255);

    rtPrint("Start game", 110, 155);
    rtPrint("Quit game", 110, 175);
    rtPrint(creditLine, 20, 205);
}

} // namespace

void playSound(double slot)
{
    rtPlaySound(slot, 0, 1);
}

bool chooseKeyDown()
{
    return keyIsDown(rtKeyX) || keyIsDown(rtKeyReturn) || keyIsDown(rtKeySpace);
}

void setStartValues()
{
    game.pictureMax = 39;
    game.cardWidth = 64;
    game.cardHeight = 60;
    game.boardWidth = 320;
    game.boardHeight = 240;
    game.cursorPhase = spriteCursorFirst;
    game.keyDelay = 0;
    game.openCount = 0;
    game.menuBar = 0;
    rtDimArray(game.cardPicture, 5, 4, 0, 0);
    rtDimArray(game.cardState, 5, 4, 0, 0);
    rtDimArray(game.pictureUse, game.pictureMax + 1, 0, 0, 0);
}

RtString cardPictureFile(double picture)
{
    RtString number;
    number += picture;
    if (number.length() < 2) number = "0" + number;
    return "images/pic" + number + ".bmp";
}

void loadGameData()
{
    rtLoadBackground("images/background.bmp");
    rtShowFrame();
    rtLoadFont("images/myfont.bmp", 0);
    rtSetFont(0);

    for (double picture = 0; picture <= game.pictureMax; ++picture)
        rtLoadSprite(cardPictureFile(picture), picture);
    rtLoadSprite("images/usd.bmp", spriteCardBack);
    for (int step = 0; step < 6; ++step)
        rtLoadSprite(cursorFiles[step], spriteCursorFirst + step);
    rtLoadSprite("images/picwin.bmp", spriteLevelWon);
    rtLoadSprite("images/piclose.bmp", spriteLevelLost);
    rtLoadSprite("images/picend.bmp", spriteLastLevelWon);

    // One copy each: a sound that still plays is not started again.
    rtLoadSound("sounds/click.wav", soundClick, 1);
    rtLoadSound("sounds/fail.wav", soundFail, 1);
    rtLoadSound("sounds/ok.wav", soundOk, 1);
    rtLoadSound("sounds/win.wav", soundWin, 1);
}

void runTitleMenu()
{
    for (;;) {
        drawTitleMenu();
        if (keyIsDown(rtKeyUp)) {
            playSound(soundClick);
            waitForRelease(rtKeyUp);
            if (game.menuBar > 0) game.menuBar -= 20;
        }
        if (keyIsDown(rtKeyDown)) {
            playSound(soundClick);
            waitForRelease(rtKeyDown);
            if (game.menuBar < 20) game.menuBar += 20;
        }
        rtShowFrame();

        if (!chooseKeyDown()) continue;
        while (chooseKeyDown()) {
        }
        if (game.menuBar > 0) {
            playSound(soundFail);
            rtEnd();
        }
        playSound(soundOk);
        runLevelLadder();
    }
}

void runLevelLadder()
{
    for (const Level& level : levels) {
        game.cardsLeft = level.cardsLeft;
        game.triesLeft = level.triesLeft;
        game.rows = level.rows;
        game.cols = level.cols;
        game.endPicture = level.endPicture;
        playLevel();
        // The end animation cleared the background picture away.
        rtLoadBackground("images/background.bmp");
        rtShowFrame();
        if (game.triesLeft == 0) return;
    }
    playSound(soundWin);
}

void flipmaticsMain()
{
    setStartValues();
    loadGameData();
    runTitleMenu();
}
