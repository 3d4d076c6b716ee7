// The planner classes: node for node like the plain reference planner, the queries, set-up limits.
#include <gtest/gtest.h>

#include <random>
#include <unistd.h>
#include <utility>
#include <vector>

#include "path_maps.h"
#include "reference_planner.h"
#include "runtime/path/planner.h"

using namespace rt;

namespace {

ReferenceOutcome plan(const TestMap& map, PlannerParams params)
{
    params.costs = map.costs.data();
    params.width = map.width;
    params.height = map.height;
    AStarPlanner planner;
    ReferenceOutcome outcome;
    if (!planner.setup(params)) return outcome;
    planner.reset();
    EXPECT_TRUE(planner.search());
    for (const Node* node = planner.path(); node; node = node->parent)
        outcome.cells.push_back({node->x, node->y});
    outcome.cost = planner.pathCost();
    outcome.expanded = planner.expandedCount();
    outcome.closed = planner.closedCount();
    return outcome;
}

} // namespace

TEST(Planner, ExpandsExactlyLikeTheReferencePlanner)
{
    std::mt19937 random(99);
    int compared = 0;
    for (int run = 0; run < 1000; ++run) {
        int w = 2 + int(random() % 40), h = 2 + int(random() % 40);
        // Uniform maps give many equal f values, where only the order of entry decides.
        TestMap map = randomMap(random, w, h, (random() % 40) / 100.0, run % 2 == 0);
        PlannerParams params;
        params.startX = int(random() % w);
        params.startY = int(random() % h);
        params.goalX = int(random() % w);
        params.goalY = int(random() % h);
        params.weight = float(random() % 9) / 8.0f;
        params.allowDiagonals = run % 3 == 0;
        params.diagonalSqrt2 = run % 5 != 0;
        // Small pools and open lists now and then, where running out ends the search early.
        if (run % 7 == 0) params.nodeCapacity = 1 + int(random() % (w * h));
        if (run % 11 == 0) params.openCapacity = 1 + int(random() % (w * h));
        params.costs = map.costs.data();
        params.width = w;
        params.height = h;
        ReferenceOutcome reference = ReferencePlanner().run(params, 8);
        ReferenceOutcome outcome = plan(map, params);
        ASSERT_EQ(outcome.cells, reference.cells) << "run " << run;
        ASSERT_EQ(outcome.cost, reference.cost) << "run " << run;
        ASSERT_EQ(outcome.expanded, reference.expanded) << "run " << run;
        ASSERT_EQ(outcome.closed, reference.closed) << "run " << run;
        compared += !reference.cells.empty();
    }
    EXPECT_GT(compared, 500);
}

TEST(Planner, QueriesAndClear)
{
    TestMap map;
    map.width = 4;
    map.height = 1;
    map.costs = {1, 2, 4, 4};
    PlannerParams params;
    params.goalX = 3;
    params.costs = map.costs.data();
    params.width = 4;
    params.height = 1;
    AStarPlanner planner;
    ASSERT_TRUE(planner.setup(params));
    EXPECT_TRUE(planner.isDone());
    EXPECT_EQ(planner.pathCost(), -1);
    EXPECT_FLOAT_EQ(planner.cellCost(0, 0), 1.25f);
    EXPECT_FLOAT_EQ(planner.cellCost(3, 0), 2.0f);
    planner.reset();
    EXPECT_FALSE(planner.isDone());
    EXPECT_EQ(planner.openCount(), 1);
    EXPECT_TRUE(planner.search());
    EXPECT_TRUE(planner.isDone());
    EXPECT_EQ(planner.searchCount(), 1);
    EXPECT_EQ(planner.pathLength(), 4);
    EXPECT_FLOAT_EQ(planner.pathCost(), 1.5f + 2.0f + 2.0f);
    EXPECT_EQ(planner.closedCount(), 4);
    EXPECT_EQ(planner.openCount(), 0);
    planner.clear();
    EXPECT_EQ(planner.closedCount(), 0);
    EXPECT_EQ(planner.path(), nullptr);

    // A second search on the same set-up finds the same path, and so does a third that starts
    // without a clear, on top of what the second left.
    for (int again = 0; again < 2; ++again) {
        planner.reset();
        EXPECT_TRUE(planner.search());
        EXPECT_EQ(planner.pathLength(), 4);
        EXPECT_EQ(planner.closedCount(), 4);
    }
}

TEST(Planner, SetupAgainReplacesTheMap)
{
    std::vector<double> open = {1, 1, 1, 1}, blocked = {1, 0, 0, 1};
    PlannerParams params;
    params.goalX = 1;
    params.goalY = 1;
    params.width = 2;
    params.height = 2;
    params.costs = open.data();
    AStarPlanner planner;
    ASSERT_TRUE(planner.setup(params));
    planner.reset();
    planner.search();
    EXPECT_EQ(planner.pathLength(), 3);
    params.costs = blocked.data();
    ASSERT_TRUE(planner.setup(params));
    planner.reset();
    planner.search();
    EXPECT_EQ(planner.pathLength(), 0);
    params.allowDiagonals = 1; // the corner step is no obstacle to a diagonal
    ASSERT_TRUE(planner.setup(params));
    planner.reset();
    planner.search();
    EXPECT_EQ(planner.pathLength(), 2);
    EXPECT_FLOAT_EQ(planner.pathCost(), 2.0f * 1.4142137f);
}

TEST(Planner, GridsTooLargeForMemoryFailBeforeReadingTheMap)
{
    double oneCell = 1;
    PlannerParams params;
    params.goalX = 1;
    params.costs = &oneCell; // never read: the set-up stops before it
    params.width = 70000;    // 4.9e9 cells: more than a grid may have
    params.height = 70000;
    AStarPlanner planner;
    EXPECT_FALSE(planner.setup(params));
    // 1.6e9 cells need about 100 GB of search memory: more than half of any machine below 200 GB.
    if (double(sysconf(_SC_PHYS_PAGES)) * double(sysconf(_SC_PAGESIZE)) > 200e9)
        GTEST_SKIP() << "this machine could hold the search";
    params.width = 40000;
    params.height = 40000;
    EXPECT_FALSE(planner.setup(params));
    // The failed planner cannot search.
    planner.reset();
    EXPECT_FALSE(planner.search());
}

TEST(Planner, SmallPoolsAndOpenListsEndTheSearchWithoutAPath)
{
    TestMap map;
    map.width = 30;
    map.height = 30;
    map.costs.assign(900, 1);
    PlannerParams params;
    params.goalX = 29;
    params.goalY = 29;
    params.costs = map.costs.data();
    params.width = 30;
    params.height = 30;
    params.nodeCapacity = 20;
    params.openCapacity = 5;
    AStarPlanner planner;
    ASSERT_TRUE(planner.setup(params));
    planner.reset();
    EXPECT_TRUE(planner.search());
    EXPECT_EQ(planner.path(), nullptr);
    planner.clear();
}
