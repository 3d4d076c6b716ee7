// Random cost maps and plain reference searches for the path finding tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <queue>
#include <random>
#include <vector>

#include "runtime/runtime.h"

struct TestMap
{
    int width = 0, height = 0;
    std::vector<double> costs; // x + y × width

    double at(int x, int y) const { return costs[size_t(x + y * width)]; }
    bool passable(int x, int y) const { return at(x, y) > 0 && std::isfinite(at(x, y)); }

    // The map as a game array (width × height).
    void fill(RtArray& array) const
    {
        rtDimArray(array, width, height, 0, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                rtArrayAt(array, x, y) = at(x, y);
    }

    // The cost of entering each cell as the planner sees it: relative to the largest, from above 1 to 2.
    std::vector<double> enterCosts() const
    {
        double largest = 0;
        for (double c : costs)
            if (c > 0 && std::isfinite(c)) largest = std::max(largest, c);
        std::vector<double> result;
        for (double c : costs)
            result.push_back(double(float(c / largest + 1)));
        return result;
    }
};

// Walls with the given chance; passable cells cost 1 (uniform) or a whole number from 1 to 9.
inline TestMap randomMap(std::mt19937& random, int width, int height, double wallChance, bool uniform)
{
    TestMap map;
    map.width = width;
    map.height = height;
    std::uniform_real_distribution<double> chance(0, 1);
    for (int i = 0; i < width * height; ++i) {
        if (chance(random) < wallChance)
            map.costs.push_back(random() % 2 ? 0 : -double(random() % 5));
        else
            map.costs.push_back(uniform ? 1 : double(1 + random() % 9));
    }
    return map;
}

// Whether the goal can be reached from the start by straight steps into passable cells (the start
// cell itself is where the search stands, whatever its cost).
inline bool reachable(const TestMap& map, int sx, int sy, int gx, int gy)
{
    std::vector<char> seen(map.costs.size(), 0);
    std::queue<std::pair<int, int>> queue;
    queue.push({sx, sy});
    seen[size_t(sx + sy * map.width)] = 1;
    const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop();
        if (x == gx && y == gy) return true;
        for (int k = 0; k < 4; ++k) {
            int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || ny < 0 || nx >= map.width || ny >= map.height) continue;
            if (seen[size_t(nx + ny * map.width)] || !map.passable(nx, ny)) continue;
            seen[size_t(nx + ny * map.width)] = 1;
            queue.push({nx, ny});
        }
    }
    return false;
}

// Cheapest cost from start to goal by straight steps (Dijkstra), -1 when unreachable.
inline double cheapestCost(const TestMap& map, int sx, int sy, int gx, int gy)
{
    std::vector<double> enter = map.enterCosts();
    std::vector<double> best(map.costs.size(), INFINITY);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    best[size_t(sx + sy * map.width)] = 0;
    queue.push({0, sx + sy * map.width});
    const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
    while (!queue.empty()) {
        auto [cost, cell] = queue.top();
        queue.pop();
        if (cost > best[size_t(cell)]) continue;
        int x = cell % map.width, y = cell / map.width;
        if (x == gx && y == gy) return cost;
        for (int k = 0; k < 4; ++k) {
            int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || ny < 0 || nx >= map.width || ny >= map.height || !map.passable(nx, ny)) continue;
            double next = cost + enter[size_t(nx + ny * map.width)];
            if (next < best[size_t(nx + ny * map.width)]) {
                best[size_t(nx + ny * map.width)] = next;
                queue.push({next, nx + ny * map.width});
            }
        }
    }
    return -1;
}
