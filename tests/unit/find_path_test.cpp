// rtFindPath: the command's edge cases and its paths checked against plain reference searches.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "path_maps.h"
#include "runtime/runtime.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

Cells cellsOf(RtArray& path)
{
    Cells cells;
    for (int i = 0; i < path.size1; ++i)
        cells.push_back({int(rtArrayAt(path, i, 0)), int(rtArrayAt(path, i, 1))});
    return cells;
}

TestMap mapOf(int width, int height, std::vector<double> costs)
{
    TestMap map;
    map.width = width;
    map.height = height;
    map.costs = std::move(costs);
    return map;
}

// A path array holding something, to see whether a call leaves it alone.
void markUntouched(RtArray& path)
{
    rtDimArray(path, 3, 0, 0, 0);
    rtArrayAt(path, 0) = 42;
}

bool isUntouched(RtArray& path)
{
    return path.size1 == 3 && path.dimensions == 1 && rtArrayAt(path, 0) == 42;
}

} // namespace

TEST(FindPath, TwoCellsGiveBothRows)
{
    RtArray map, path;
    mapOf(2, 1, {1, 1}).fill(map);
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 1, 0), 2);
    EXPECT_EQ(path.size1, 2);
    EXPECT_EQ(path.size2, 2);
    EXPECT_EQ(cellsOf(path), (Cells{{0, 0}, {1, 0}}));
}

TEST(FindPath, SetUpFailuresLeaveThePathArrayAlone)
{
    RtArray map, path;
    mapOf(3, 3, {1, 1, 1, 1, 1, 1, 1, 1, 1}).fill(map);
    markUntouched(path);
    EXPECT_EQ(rtFindPath(map, path, 0.5, 1, 1, 1, 1), 0);  // start = goal
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 3, 0), 0);  // goal outside
    EXPECT_EQ(rtFindPath(map, path, 0.5, -1, 0, 2, 2), 0); // start outside
    EXPECT_TRUE(isUntouched(path));
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 2.9, NAN), 3); // coordinates truncate, NaN as 0: goal (2, 0)
    markUntouched(path);

    mapOf(3, 2, {0, -1, 0, -5, 0, 0}).fill(map); // nothing passable
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 2, 1), 0);
    EXPECT_TRUE(isUntouched(path));

    RtArray line; // one dimension: not a map
    rtDimArray(line, 5, 0, 0, 0);
    for (int i = 0; i < 5; ++i)
        rtArrayAt(line, i) = 1;
    EXPECT_EQ(rtFindPath(line, path, 0.5, 0, 0, 4, 0), 0);
    EXPECT_TRUE(isUntouched(path));

    RtArray never; // no size at all
    EXPECT_EQ(rtFindPath(never, path, 0.5, 0, 0, 1, 0), 0);
    RtArray zero;
    rtDimArray(zero, 0, 5, 0, 0);
    EXPECT_EQ(rtFindPath(zero, path, 0.5, 0, 0, 1, 0), 0);
    EXPECT_TRUE(isUntouched(path));
}

TEST(FindPath, UnreachableGoalsEmptyThePathArray)
{
    RtArray map, path;
    // The goal's own cell is impassable.
    mapOf(3, 1, {1, 1, 0}).fill(map);
    markUntouched(path);
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 2, 0), 0);
    EXPECT_EQ(path.size1, 0);

    // Only across a corner: straight steps cannot get there.
    mapOf(2, 2, {1, 0, 0, 1}).fill(map);
    markUntouched(path);
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 1, 1), 0);
    EXPECT_EQ(path.size1, 0);
}

TEST(FindPath, CostsThatAreNotFiniteNumbersAreWalls)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    RtArray map, path;
    // Rows: the straight way through the middle row is blocked by NaN and infinity, the top row is open.
    mapOf(3, 2, {1, 1, 1, 1, nan, 1}).fill(map);
    EXPECT_EQ(rtFindPath(map, path, 0, 0, 1, 2, 1), 5);
    EXPECT_EQ(cellsOf(path), (Cells{{0, 1}, {0, 0}, {1, 0}, {2, 0}, {2, 1}}));
    mapOf(3, 2, {1, 1, 1, 1, inf, 1}).fill(map);
    EXPECT_EQ(rtFindPath(map, path, 0, 0, 1, 2, 1), 5);

    mapOf(2, 2, {nan, inf, -inf, nan}).fill(map);
    markUntouched(path);
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 1, 1), 0);
    EXPECT_TRUE(isUntouched(path));
}

TEST(FindPath, EqualCostsTieBreakFirstInFirstOut)
{
    // From (0,0) both (1,0) and (0,1) reach f 1.5; (1,0) was opened first, so it leaves first.
    RtArray map, path;
    mapOf(2, 2, {1, 1, 1, 1}).fill(map);
    EXPECT_EQ(rtFindPath(map, path, 0.5, 0, 0, 1, 1), 3);
    EXPECT_EQ(cellsOf(path), (Cells{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(rtFindPath(map, path, 0.5, 1, 1, 0, 0), 3);
    EXPECT_EQ(cellsOf(path), (Cells{{1, 1}, {1, 0}, {0, 0}}));

    // With equal costs the path is a shortest one.
    std::mt19937 random(3);
    for (int run = 0; run < 50; ++run) {
        int w = 2 + int(random() % 20), h = 2 + int(random() % 20);
        mapOf(w, h, std::vector<double>(size_t(w * h), 7)).fill(map);
        int sx = int(random() % w), sy = int(random() % h), gx = int(random() % w), gy = int(random() % h);
        if (sx == gx && sy == gy) continue;
        EXPECT_EQ(rtFindPath(map, path, 0.5, sx, sy, gx, gy), std::abs(gx - sx) + std::abs(gy - sy) + 1);
    }
}

TEST(FindPath, ScalingEveryCostKeepsThePath)
{
    std::mt19937 random(11);
    for (int run = 0; run < 100; ++run) {
        TestMap map = randomMap(random, 3 + int(random() % 25), 3 + int(random() % 25), 0.25, false);
        int sx = 0, sy = 0, gx = map.width - 1, gy = map.height - 1;
        double weight = (random() % 5) / 4.0;
        RtArray array, path;
        map.fill(array);
        double n = rtFindPath(array, path, weight, sx, sy, gx, gy);
        Cells original = cellsOf(path);
        for (double factor : {4.0, 10.0, 0.125}) {
            TestMap scaled = map;
            for (double& c : scaled.costs)
                c *= factor;
            scaled.fill(array);
            EXPECT_EQ(rtFindPath(array, path, weight, sx, sy, gx, gy), n);
            EXPECT_EQ(cellsOf(path), original) << "run " << run << " factor " << factor;
        }
    }
}

TEST(FindPath, RandomMapsAgreeWithReferenceSearches)
{
    std::mt19937 random(2024);
    int found = 0, unreachable = 0;
    for (int run = 0; run < 600; ++run) {
        int w = 1 + int(random() % 30), h = 1 + int(random() % 30);
        if (w * h < 2) continue;
        TestMap map = randomMap(random, w, h, (random() % 50) / 100.0, random() % 3 == 0);
        int sx = int(random() % w), sy = int(random() % h), gx = int(random() % w), gy = int(random() % h);
        if (sx == gx && sy == gy) continue;
        bool anyPassable = false;
        for (int i = 0; i < w * h; ++i)
            anyPassable |= map.passable(i % w, i / w);
        if (!anyPassable) continue;
        double weight = run % 4 == 0 ? 0 : (random() % 101) / 100.0;

        RtArray array, path;
        map.fill(array);
        double n = rtFindPath(array, path, weight, sx, sy, gx, gy);
        bool canReach = reachable(map, sx, sy, gx, gy);
        ASSERT_EQ(n > 0, canReach) << "run " << run;
        if (!canReach) {
            EXPECT_EQ(path.size1, 0);
            ++unreachable;
            continue;
        }
        ++found;
        Cells cells = cellsOf(path);
        ASSERT_EQ(int(cells.size()), int(n));
        EXPECT_EQ(cells.front(), std::make_pair(sx, sy));
        EXPECT_EQ(cells.back(), std::make_pair(gx, gy));
        std::set<std::pair<int, int>> distinct(cells.begin(), cells.end());
        EXPECT_EQ(distinct.size(), cells.size()) << "a path never visits a cell twice";
        std::vector<double> enter = map.enterCosts();
        double cost = 0;
        for (size_t i = 1; i < cells.size(); ++i) {
            auto [x0, y0] = cells[i - 1];
            auto [x1, y1] = cells[i];
            ASSERT_EQ(std::abs(x1 - x0) + std::abs(y1 - y0), 1) << "run " << run << " step " << i;
            ASSERT_TRUE(map.passable(x1, y1)) << "run " << run << " step " << i;
            cost += enter[size_t(x1 + y1 * w)];
        }
        if (weight == 0) {
            double cheapest = cheapestCost(map, sx, sy, gx, gy);
            EXPECT_NEAR(cost, cheapest, 1e-4 * cheapest) << "run " << run;
        }
    }
    // The maps cover both outcomes.
    EXPECT_GT(found, 200);
    EXPECT_GT(unreachable, 50);
}
