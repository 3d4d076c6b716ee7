// The smallest complete game: a sprite moved with the arrow keys, a sound on Space, a line of text.
// Put your own ship.bmp or beep.wav next to the program and it uses them instead of drawing its own.
#include "runtime/runtime.h"

namespace {

constexpr double shipSlot = 0;
constexpr double beepSlot = 0;
constexpr double transparent = 0x8000FF; // sprites leave pixels of this colour out

// Draws a 32 × 32 ship on the transparent colour and saves it as a picture file.
void makeShipPicture()
{
    rtDrawRect(0, 0, 31, 31, transparent);
    for (int row = 0; row < 24; ++row)
        rtDrawLine(16 - row / 2, 4 + row, 15 + row / 2, 4 + row, 0xFFC040);
    rtDrawRect(14, 12, 17, 18, 0x4080FF);
    rtGrabSprite(shipSlot, 0, 0, 32, 32);
    rtSaveSprite(shipSlot, "ship.bmp");
    rtClearScreen();
}

// Writes a tenth of a second of a 660 Hz square wave as an 8-bit mono WAV file.
void makeBeepSound()
{
    const double rate = 22050, samples = rate / 10;
    rtOpenFile(0, "beep.wav", 0);
    rtWriteChars(0, "RIFF");
    rtWriteUInt32(0, 36 + samples);
    rtWriteChars(0, "WAVEfmt ");
    rtWriteUInt32(0, 16);
    rtWriteUInt16(0, 1); // plain samples
    rtWriteUInt16(0, 1); // one channel
    rtWriteUInt32(0, rate);
    rtWriteUInt32(0, rate); // bytes per second
    rtWriteUInt16(0, 1);    // bytes per sample
    rtWriteUInt16(0, 8);    // bits per sample
    rtWriteChars(0, "data");
    rtWriteUInt32(0, samples);
    for (int i = 0; i < samples; ++i)
        rtWriteUInt8(0, (i * 660 * 2 / int(rate)) % 2 ? 96 : 160);
    rtCloseFile(0);
}

void gameMain()
{
    if (!rtFileExists("ship.bmp")) makeShipPicture();
    if (!rtFileExists("beep.wav")) makeBeepSound();
    rtLoadSprite("ship.bmp", shipSlot);
    rtLoadSound("beep.wav", beepSlot, 2);

    double x = 144, y = 104, width, height;
    rtSpriteSize(shipSlot, width, height);
    bool spaceWasDown = false;
    for (;;) {
        x += 2 * (rtKeyState(rtKeyRight) - rtKeyState(rtKeyLeft));
        y += 2 * (rtKeyState(rtKeyDown) - rtKeyState(rtKeyUp));
        x = x < 0 ? 0 : x > 320 - width ? 320 - width : x;
        y = y < 16 ? 16 : y > 240 - height ? 240 - height : y;
        bool spaceDown = rtKeyState(rtKeySpace) != 0;
        if (spaceDown && !spaceWasDown) rtPlaySound(beepSlot, (x - 144) / 160, 1);
        spaceWasDown = spaceDown;

        rtClearScreen();
        rtPrint("Arrows move, Space beeps", 4, 4);
        rtDrawSprite(shipSlot, x, y);
        rtShowFrame(); // shows the frame; Escape ends the program here
    }
}

} // namespace

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "Hello sprite";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, gameMain);
}
