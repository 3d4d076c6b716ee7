// A high-score table kept in an INI file: press Space as often as you can in five seconds, and a
// score that makes the table asks for your name. The table survives between runs in high_scores.ini.
#include "runtime/runtime.h"

#include <cstdlib>

namespace {

constexpr int tableSize = 5;
RtString names[tableSize];
double scores[tableSize];

void readTable()
{
    rtIniOpen("high_scores.ini");
    for (int i = 0; i < tableSize; ++i) {
        RtString place(i + 1);
        names[i] = rtIniGet("scores", "name" + place);
        RtString score = rtIniGet("scores", "score" + place);
        if (names[i] == "NO_DATA") names[i] = "nobody";
        scores[i] = score == "NO_DATA" ? 0 : atof(score.c_str());
    }
}

// Puts the score into the table at its place, moving lower ones down, and writes the table back.
void addToTable(int place, const RtString& name, double score)
{
    for (int i = tableSize - 1; i > place; --i) {
        names[i] = names[i - 1];
        scores[i] = scores[i - 1];
    }
    names[place] = name;
    scores[place] = score;
    for (int i = 0; i < tableSize; ++i) {
        RtString key(i + 1);
        rtIniPut("scores", "name" + key, names[i]);
        rtIniPut("scores", "score" + key, RtString(scores[i]));
    }
}

void drawTable(const char* heading)
{
    rtClearScreen();
    rtPrint(heading, 4, 4);
    for (int i = 0; i < tableSize; ++i) {
        rtPrintNumber(i + 1, 20, 30 + i * 12);
        rtPrint(names[i], 40, 30 + i * 12);
        rtPrintNumber(scores[i], 200, 30 + i * 12);
    }
}

// Five seconds of counting Space presses; returns the count.
double playRound()
{
    double presses = 0, end = rtElapsedTime() + 5000;
    bool wasDown = true; // a Space still held from before does not count
    while (rtElapsedTime() < end) {
        bool down = rtKeyState(rtKeySpace) != 0;
        if (down && !wasDown) ++presses;
        wasDown = down;
        drawTable("Press Space, fast!");
        rtPrint("Presses:", 4, 110);
        rtPrintNumber(presses, 80, 110);
        rtPrintNumber(int((end - rtElapsedTime()) / 1000) + 1, 300, 4);
        rtShowFrame();
    }
    return presses;
}

void gameMain()
{
    readTable();
    for (;;) {
        drawTable("High scores - Return to play");
        rtShowFrame();
        if (!rtKeyState(rtKeyReturn)) continue;
        double score = playRound();
        int place = 0;
        while (place < tableSize && scores[place] >= score)
            ++place;
        if (place == tableSize) continue;
        drawTable("A new high score! Your name:");
        RtString name;
        rtInputText(name, 4, 110); // Return ends the entry
        addToTable(place, name == "" ? RtString("anonymous") : name, score);
    }
}

} // namespace

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "High scores";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, gameMain);
}
