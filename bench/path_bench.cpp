// Path finding speed: rtFindPath on open and maze-like random maps of 64², 256² and 1024² cells, beside
// a textbook Dijkstra with a binary heap on the same maps and the same cell costs. Prints processor
// milliseconds per search (map reading and all allocation included) and the nodes each search expanded.
//
//   cmake -S . -B build -DRT_BENCH=ON && cmake --build build --target path_bench && build/bench/path_bench
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <queue>
#include <random>
#include <time.h>
#include <utility>
#include <vector>

#include "runtime/path/planner.h"
#include "runtime/runtime.h"

using namespace rt;

namespace {

// Open: every cell passable, costs 1 to 9. Maze-like: corridors one cell wide carved by a random
// depth-first walk over the cells of even coordinates, a few extra openings, costs 1 to 9.
void makeMap(RtArray& map, int size, bool maze, unsigned seed)
{
    std::mt19937 random(seed);
    rtDimArray(map, size, size, 0, 0);
    auto cost = [&] { return double(1 + random() % 9); };
    if (!maze) {
        for (int i = 0; i < size * size; ++i)
            map.data[i] = cost();
        return;
    }
    std::fill_n(map.data, size * size, 0.0);
    std::vector<std::pair<int, int>> stack = {{0, 0}};
    map.data[0] = cost();
    const int dx[4] = {2, -2, 0, 0}, dy[4] = {0, 0, 2, -2};
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        int order[4] = {0, 1, 2, 3};
        std::shuffle(order, order + 4, random);
        bool moved = false;
        for (int k : order) {
            int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || ny < 0 || nx >= size || ny >= size || map.data[nx + ny * size] > 0) continue;
            map.data[(x + nx) / 2 + (y + ny) / 2 * size] = cost();
            map.data[nx + ny * size] = cost();
            stack.push_back({nx, ny});
            moved = true;
            break;
        }
        if (!moved) stack.pop_back();
    }
    // Loops: knock out about one wall in twenty.
    for (int i = 0; i < size * size; ++i)
        if (map.data[i] <= 0 && random() % 20 == 0) map.data[i] = cost();
    // The far corner is the goal; for an even size it lies off the corridor grid.
    map.data[size * size - 1] = cost();
    map.data[size * size - 2] = cost();
}

// Textbook Dijkstra over the same entering costs as the planner (value / largest + 1), straight steps,
// stopping when the goal is settled. Returns the path's cell count; counts settled nodes.
int dijkstra(const RtArray& map, int sx, int sy, int gx, int gy, long& settled)
{
    const int width = map.size1, height = map.size2, cells = width * height;
    double largest = 0;
    for (int i = 0; i < cells; ++i)
        if (map.data[i] > 0 && std::isfinite(map.data[i])) largest = std::max(largest, map.data[i]);
    std::vector<double> best(size_t(cells), INFINITY);
    std::vector<int> parent(size_t(cells), -1);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    int start = sx + sy * width, goal = gx + gy * width;
    best[size_t(start)] = 0;
    queue.push({0, start});
    settled = 0;
    while (!queue.empty()) {
        auto [distance, cell] = queue.top();
        queue.pop();
        if (distance > best[size_t(cell)]) continue;
        ++settled;
        if (cell == goal) break;
        int x = cell % width, y = cell / width;
        const int nx[4] = {x, x + 1, x - 1, x}, ny[4] = {y - 1, y, y, y + 1};
        for (int k = 0; k < 4; ++k) {
            if (nx[k] < 0 || ny[k] < 0 || nx[k] >= width || ny[k] >= height) continue;
            int next = nx[k] + ny[k] * width;
            double value = map.data[next];
            if (!(value > 0) || !std::isfinite(value)) continue;
            double through = distance + value / largest + 1;
            if (through < best[size_t(next)]) {
                best[size_t(next)] = through;
                parent[size_t(next)] = cell;
                queue.push({through, next});
            }
        }
    }
    int length = 0;
    if (best[size_t(goal)] < INFINITY)
        for (int cell = goal; cell >= 0; cell = parent[size_t(cell)])
            ++length;
    return length;
}

// Processor time of this thread in milliseconds: steadier than the wall clock on a shared machine.
double cpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Milliseconds per call of work, repeated until about half a second has passed (at least twice).
double msPerCall(const std::function<void()>& work)
{
    int calls = 0;
    double start = cpuMs(), elapsed = 0;
    do {
        work();
        ++calls;
        elapsed = cpuMs() - start;
    } while ((elapsed < 500 && calls < 1000) || calls < 2);
    return elapsed / calls;
}

// Nodes the planner expands for the search rtFindPath makes.
long plannerExpansions(const RtArray& map, float weight)
{
    PlannerParams params;
    params.goalX = map.size1 - 1;
    params.goalY = map.size2 - 1;
    params.weight = weight;
    params.width = map.size1;
    params.height = map.size2;
    params.costs = map.data;
    AStarPlanner planner;
    if (!planner.setup(params)) return -1;
    planner.reset();
    planner.search();
    return long(planner.expandedCount());
}

} // namespace

int main()
{
    printf("%-6s %-5s | %-22s | %-22s | %-22s | %s\n", "map", "kind", "rtFindPath w=0.5", "rtFindPath w=0",
           "Dijkstra (binary heap)", "Dijkstra / rtFindPath");
    printf("%-6s %-5s | %9s %12s | %9s %12s | %9s %12s | %8s %8s\n", "", "", "ms", "expanded", "ms",
           "expanded", "ms", "settled", "w=0.5", "w=0");
    for (int size : {64, 256, 1024}) {
        for (bool maze : {false, true}) {
            RtArray map, path;
            makeMap(map, size, maze, unsigned(size * 7 + maze));
            int goal = size - 1;
            double lengthHalf = 0, lengthZero = 0;
            double msHalf = msPerCall([&] { lengthHalf = rtFindPath(map, path, 0.5, 0, 0, goal, goal); });
            double msZero = msPerCall([&] { lengthZero = rtFindPath(map, path, 0, 0, 0, goal, goal); });
            long settled = 0;
            int dijkstraLength = 0;
            double msDijkstra = msPerCall([&] { dijkstraLength = dijkstra(map, 0, 0, goal, goal, settled); });
            printf("%-6d %-5s | %9.3f %12ld | %9.3f %12ld | %9.3f %12ld | %8.2f %8.2f\n", size,
                   maze ? "maze" : "open", msHalf, plannerExpansions(map, 0.5f), msZero,
                   plannerExpansions(map, 0.0f), msDijkstra, settled, msDijkstra / msHalf,
                   msDijkstra / msZero);
            if (lengthHalf == 0 || lengthZero == 0 || dijkstraLength == 0)
                printf("       (no path on this map: lengths %g, %g, %d)\n", lengthHalf, lengthZero,
                       dijkstraLength);
        }
    }
    return 0;
}
