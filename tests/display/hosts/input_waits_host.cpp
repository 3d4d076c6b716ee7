// A small game for the display tests of the input waits and text entry. It draws a blue screen with
// "Name:" at (10, 10), then asks in turn for a text at (58, 10), a number at (10, 30), another
// number at (10, 50), a key and a mouse click, appending each result to "waits.txt" in its temp folder:
//   text "T"  /  number N  /  number N  /  key C  /  mouse B
// and ends.
#include <cstdio>
#include <string>

#include "runtime/platform/paths.h"
#include "runtime/runtime.h"

using namespace rt;

static void note(const std::string& line)
{
    std::string path = tempFolderPath() + "waits.txt";
    FILE* file = fopen(path.c_str(), "a");
    if (!file) return;
    fprintf(file, "%s\n", line.c_str());
    fclose(file);
}

static std::string numberText(double number)
{
    char text[64];
    snprintf(text, sizeof text, "%g", number);
    return text;
}

static void hostMain()
{
    rtDrawRect(0, 0, 319, 239, 0x800000);
    rtPrint("Name:", 10, 10);
    RtString name;
    rtInputText(name, 58, 10);
    note(std::string("text \"") + name.c_str() + "\"");

    double number = -1;
    rtInputNumber(number, 10, 30);
    note("number " + numberText(number));
    number = -1;
    rtInputNumber(number, 10, 50);
    note("number " + numberText(number));

    note("key " + numberText(rtWaitKey()));
    note("mouse " + numberText(rtWaitMouse()));
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, hostMain);
}
