// Lines, boxes, pixels and polygons, and the three ways a shape meets what is already drawn:
// opaque, added (glowing) and alpha-blended (see-through).
#include "runtime/runtime.h"

namespace {

constexpr double red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, white = 0xFFFFFF;

// A filled disc as a polygon: a fan of corners counter-clockwise on the screen.
void drawDisc(double x, double y, double radius, double colour)
{
    rtBeginPolygon(-1);
    for (int angle = 360; angle > 0; angle -= 15)
        rtPolygonVertex(x + radius * rtCos(angle), y + radius * rtSin(angle), 0, 0, colour);
    rtEndPolygon();
}

void gameMain()
{
    for (double frame = 0;; ++frame) {
        rtClearScreen();
        // Opaque: a chequered floor, a frame of lines and a field of stars.
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 8; ++column)
                if ((row + column) % 2)
                    rtDrawRect(column * 40, 160 + row * 20, column * 40 + 39, 179 + row * 20, 0x404040);
        rtDrawLine(0, 0, 319, 0, white);
        rtDrawLine(0, 159, 319, 159, white);
        for (int star = 0; star < 40; ++star)
            rtDrawPixel((star * 97) % 320, (star * 53) % 150 + 5, white);

        // Added: colours sum where the discs overlap, so the middle turns white.
        double swing = 20 * rtSin(frame * 2);
        rtSetAlphaMode(1);
        drawDisc(80 - swing, 70, 40, red);
        drawDisc(110 + swing, 70, 40, green);
        drawDisc(95, 100 + swing, 40, blue);

        // Blended at half opacity: the floor shows through the box.
        rtSetAlphaMode(-0.5);
        rtDrawRect(180, 40 + swing, 300, 200 + swing, 0x00A0FF);
        rtSetAlphaMode(0);

        rtPrint("opaque, added, blended", 4, 222);
        rtShowFrame();
    }
}

} // namespace

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "Shapes and blending";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, gameMain);
}
