// Fonts and texts: the built-in font, a bold font the program makes for itself from it (a font is a
// picture of 16 × 16 character cells, black transparent), numbers as text and the text commands.
#include "runtime/runtime.h"

namespace {

constexpr double boldFont = 1;

// Prints every character twice, a pixel apart, into cells of 9 × 12 pixels and saves the sheet:
// a bold font with more room between lines.
void makeBoldFont()
{
    rtClearScreen();
    rtSetFont(0);
    for (int code = 33; code < 256; ++code) {
        RtString character = rtCharFromCode(code);
        double x = code % 16 * 9, y = code / 16 * 12 + 2;
        rtPrint(character, x, y);
        rtPrint(character, x + 1, y);
    }
    rtGrabSprite(0, 0, 0, 144, 192);
    rtSaveSprite(0, "bold_font.bmp");
    rtClearScreen();
}

void gameMain()
{
    makeBoldFont();
    rtLoadFont("bold_font.bmp", boldFont); // also selects it
    double cellWidth, cellHeight;
    rtFontSize(cellWidth, cellHeight);
    rtSetFont(0);

    RtString motto = "small steps make big games";
    RtString words[] = {rtUpperText(motto), rtReplaceText(motto, "big", "great"), rtMidText(motto, 6, 5)};
    for (double frame = 0;; ++frame) {
        rtClearScreen();
        rtSetFont(0);
        rtPrint("The built-in font, 8 x 8 cells", 4, 4);
        for (int i = 0; i < 3; ++i)
            rtPrint(words[i], 4, 20 + 10 * i);
        rtPrint("Frames so far:", 4, 60);
        rtPrintNumber(frame, 124, 60);
        rtPrint("Seconds: " + rtFormatNumber(0, 1, rtElapsedTime() / 1000), 4, 70);
        rtPrint("Length of the motto: " + RtString(rtTextLength(motto)), 4, 80);

        rtSetFont(boldFont);
        rtPrint("A bold font,", 4, 110);
        rtPrint("made at run time", 4, 110 + cellHeight);
        double wave = 8 * rtSin(frame * 4);
        rtPrint("Hello!", 120 + wave, 170);
        rtShowFrame();
    }
}

} // namespace

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "Text and fonts";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, gameMain);
}
