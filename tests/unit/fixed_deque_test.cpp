// The ring buffer under the reference planner's sorted open list: wrapping, full and empty, insertion
// and erasure inside.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "fixed_deque.h"

using namespace rt;

namespace {

std::vector<int> contents(const FixedDeque<int>& deque)
{
    std::vector<int> values;
    for (uint32_t i = 0; i < deque.size(); ++i)
        values.push_back(deque.at(i));
    return values;
}

} // namespace

TEST(FixedDeque, FullAndEmptyAreToldApartWhenHeadMeetsTail)
{
    FixedDeque<int> deque;
    EXPECT_FALSE(deque.pushBack(1)); // no capacity yet
    ASSERT_TRUE(deque.resize(3));
    EXPECT_TRUE(deque.isEmpty());
    EXPECT_FALSE(deque.popBack());
    EXPECT_FALSE(deque.popFront());
    EXPECT_TRUE(deque.pushBack(1));
    EXPECT_TRUE(deque.pushBack(2));
    EXPECT_TRUE(deque.pushFront(0));
    EXPECT_EQ(deque.size(), 3u);
    EXPECT_FALSE(deque.pushBack(9));
    EXPECT_FALSE(deque.pushFront(9));
    EXPECT_FALSE(deque.insertAt(1, 9));
    EXPECT_EQ(contents(deque), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(deque.back(), 2);
    EXPECT_TRUE(deque.popFront());
    EXPECT_TRUE(deque.popBack());
    EXPECT_TRUE(deque.popBack());
    EXPECT_TRUE(deque.isEmpty());
    EXPECT_EQ(deque.size(), 0u);
}

TEST(FixedDeque, RandomOperationsMatchAStandardDeque)
{
    std::mt19937 random(7);
    FixedDeque<int> deque;
    ASSERT_TRUE(deque.resize(16));
    std::deque<int> model;
    for (int step = 0; step < 20000; ++step) {
        int value = int(random() % 1000);
        bool full = model.size() == 16;
        switch (random() % 6) {
        case 0:
            EXPECT_EQ(deque.pushBack(value), !full);
            if (!full) model.push_back(value);
            break;
        case 1:
            EXPECT_EQ(deque.pushFront(value), !full);
            if (!full) model.push_front(value);
            break;
        case 2:
            EXPECT_EQ(deque.popBack(), !model.empty());
            if (!model.empty()) model.pop_back();
            break;
        case 3:
            EXPECT_EQ(deque.popFront(), !model.empty());
            if (!model.empty()) model.pop_front();
            break;
        case 4: {
            uint32_t i = uint32_t(random() % (model.size() + 2));
            bool fits = i <= model.size() && !full;
            EXPECT_EQ(deque.insertAt(i, value), fits);
            if (fits) model.insert(model.begin() + i, value);
            break;
        }
        case 5: {
            uint32_t i = uint32_t(random() % (model.size() + 1));
            bool inside = i < model.size();
            EXPECT_EQ(deque.eraseAt(i), inside);
            if (inside) model.erase(model.begin() + i);
            break;
        }
        }
        ASSERT_EQ(contents(deque), std::vector<int>(model.begin(), model.end())) << "step " << step;
        ASSERT_EQ(deque.isEmpty(), model.empty());
    }
}
