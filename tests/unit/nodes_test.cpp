// The node pool, and the hash table of the reference planner.
#include <gtest/gtest.h>

#include "node_hash_table.h"
#include "runtime/path/nodes.h"

using namespace rt;

TEST(NodeFactory, HandsOutUntilFullAndCountsReleases)
{
    NodeFactory factory;
    ASSERT_TRUE(factory.setCapacity(2));
    Node* a = factory.allocate();
    Node* b = factory.allocate();
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(factory.allocate(), nullptr);
    factory.release();
    EXPECT_EQ(factory.allocate(), b); // the pool is a stack: all nodes return together
    factory.release();
    factory.release();
    factory.release(); // never below 0
    EXPECT_EQ(factory.used(), 0u);
    EXPECT_FALSE(factory.setCapacity(-1));
}

TEST(NodeHashTable, FindsUnlinksAndClearsIntoThePool)
{
    NodeHashTable table;
    ASSERT_TRUE(table.setSize(9)); // rounded down to 8 bits: 16 values of x and y
    EXPECT_EQ(table.bits(), 8);
    NodeFactory factory;
    ASSERT_TRUE(factory.setCapacity(4));
    // (1, 2), (17, 2) and (1, 18) share a bucket; (3, 3) has its own.
    int cells[4][2] = {{1, 2}, {17, 2}, {1, 18}, {3, 3}};
    Node* nodes[4];
    for (int i = 0; i < 4; ++i) {
        nodes[i] = factory.allocate();
        *nodes[i] = Node{nullptr, cells[i][0], cells[i][1], 0, 0, nullptr};
        table.insert(nodes[i]);
    }
    table.insert(nodes[1]); // already chained: nothing happens
    EXPECT_EQ(table.count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(table.find(cells[i][0], cells[i][1]), nodes[i]);
    EXPECT_EQ(table.find(33, 2), nullptr);

    EXPECT_EQ(table.find(17, 2), nodes[1]); // the middle of its chain
    table.unlinkFound();
    EXPECT_EQ(table.find(17, 2), nullptr);
    EXPECT_EQ(table.find(1, 2), nodes[0]);
    EXPECT_EQ(table.find(1, 18), nodes[2]);
    EXPECT_EQ(table.count(), 3);

    table.clear(factory);
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(factory.used(), 1u); // three of four released; the unlinked node is the caller's
    EXPECT_EQ(table.find(1, 2), nullptr);

    ASSERT_TRUE(table.setSize(-3)); // one bucket holds everything
    EXPECT_EQ(table.bits(), 0);
    table.insert(nodes[3]);
    table.insert(nodes[0]);
    EXPECT_EQ(table.find(3, 3), nodes[3]);
    EXPECT_EQ(table.find(1, 2), nodes[0]);
}
