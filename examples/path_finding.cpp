// A* on a grid: click a cell to make it the goal and the path from the start is drawn. A right click
// puts up or takes down a wall; Space makes the goal the new start.
#include "runtime/runtime.h"

namespace {

constexpr int columns = 20, rows = 14, cell = 16;
RtArray map;  // cost of each cell: 1 open, 0 wall
RtArray path; // the cells of the path, (i, 0) = x and (i, 1) = y, start first

void makeMaze()
{
    rtDimArray(map, columns, rows, 0, 0);
    rtSeedRandom(7); // the same maze every run
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            rtArrayAt(map, x, y, 0, 0) = rtRandom(3) == 0 ? 0 : 1;
}

void drawCell(double x, double y, double colour)
{
    rtDrawRect(x * cell + 1, 16 + y * cell + 1, x * cell + cell - 1, 16 + y * cell + cell - 1, colour);
}

void gameMain()
{
    makeMaze();
    double startX = 0, startY = 0, goalX = columns - 1, goalY = rows - 1;
    rtArrayAt(map, startX, startY, 0, 0) = 1;
    rtArrayAt(map, goalX, goalY, 0, 0) = 1;
    double length = rtFindPath(map, path, 0.5, startX, startY, goalX, goalY);
    bool rightWasDown = false;
    for (;;) {
        double mouseX, mouseY, left, right;
        rtMouseState(mouseX, mouseY, left, right);
        double x = int(mouseX / cell), y = int((mouseY - 16) / cell);
        bool onGrid = mouseY >= 16 && x < columns && y < rows;
        if (onGrid && left) {
            goalX = x, goalY = y;
            length = rtFindPath(map, path, 0.5, startX, startY, goalX, goalY);
        }
        if (onGrid && right && !rightWasDown && (x != startX || y != startY)) {
            double& cost = rtArrayAt(map, x, y, 0, 0);
            cost = cost == 0 ? 1 : 0;
            length = rtFindPath(map, path, 0.5, startX, startY, goalX, goalY);
        }
        rightWasDown = right != 0;
        if (rtKeyState(rtKeySpace)) startX = goalX, startY = goalY, length = 0;

        rtClearScreen();
        rtPrint(length > 0 ? "Path of" : "Click a goal", 4, 4);
        if (length > 0) rtPrintNumber(length, 68, 4);
        for (int cy = 0; cy < rows; ++cy)
            for (int cx = 0; cx < columns; ++cx)
                drawCell(cx, cy, rtArrayAt(map, cx, cy, 0, 0) ? 0x303030 : 0xA0A0A0);
        for (int i = 0; i < length; ++i)
            drawCell(rtArrayAt(path, i, 0, 0, 0), rtArrayAt(path, i, 1, 0, 0), 0x00C0FF);
        drawCell(startX, startY, 0x00FF00);
        drawCell(goalX, goalY, 0x0000FF);
        rtShowFrame();
    }
}

} // namespace

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.title = "Path finding";
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, gameMain);
}
