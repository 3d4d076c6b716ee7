// A live readout of the mouse and every joystick. A joystick's first button pushes back through force
// feedback where the stick has it.
#include "runtime/runtime.h"

namespace {

// One line "label value" at row y.
void show(const char* label, double value, double y)
{
    rtPrint(label, 4, y);
    rtPrintNumber(value, 120, y);
}

// A small cross at the mouse, red while the left button is down, blue for the right.
void drawPointer(double x, double y, double left, double right)
{
    double colour = left ? 0x0000FF : right ? 0xFF0000 : 0xFFFFFF;
    rtDrawLine(x - 4, y, x + 4, y, colour);
    rtDrawLine(x, y - 4, x, y + 4, colour);
}

void gameMain()
{
    double wheelTotal = 0;
    for (;;) {
        double x, y, left, right;
        rtMouseState(x, y, left, right);
        wheelTotal += rtMouseAxis(2);

        rtClearScreen();
        show("mouse x", x, 4);
        show("mouse y", y, 14);
        show("moved x", rtMouseAxis(0), 24);
        show("moved y", rtMouseAxis(1), 34);
        show("wheel", wheelTotal, 44);
        show("buttons L R M", left * 100 + right * 10 + rtMouseAxis(5), 54);

        double joysticks = rtJoyCount();
        show("joysticks", joysticks, 74);
        for (int j = 0; j < joysticks && j < 3; ++j) {
            double row = 88 + j * 44;
            rtPrint(rtJoyName(j), 4, row);
            show("  stick x y", rtJoyX(j) * 100, row + 10);
            rtPrintNumber(rtJoyY(j) * 100, 180, row + 10);
            show("  hat x y", rtJoyHatX(j), row + 20);
            rtPrintNumber(rtJoyHatY(j), 180, row + 20);
            double pressed = 0;
            for (int button = 0; button < 32; ++button)
                if (rtJoyButton(j, button)) pressed = button + 1;
            show("  last button", pressed, row + 30);
            // Button 1 pushes the stick back along its own direction for a moment.
            if (rtJoyButton(j, 0)) rtJoyForce(j, 100, -rtJoyX(j), -rtJoyY(j));
        }
        drawPointer(x, y, left, right);
        rtShowFrame();
    }
}

} // namespace

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "Mouse and joysticks";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, gameMain);
}
