// The growable array: growth by 5 when full, and the room a caller reserves.
#include "graphics/MyArray.h"

#include <gtest/gtest.h>

TEST(MyArray, GrowsByFiveWhenFullAndKeepsReservedRoom)
{
    MyArray<int> a;
    for (int i = 0; i < 6; ++i)
        a.Add(i);
    EXPECT_EQ(a.Count(), 6);
    EXPECT_EQ(a.Capacity(), 10u);

    // Reserved room takes the appends without moving the elements.
    MyArray<int> b;
    b.Reserve(12);
    const size_t room = b.Capacity();
    EXPECT_GE(room, 12u);
    b.Add(1);
    const int* block = &b[0];
    for (int i = 1; i < 12; ++i)
        b.Add(i);
    EXPECT_EQ(&b[0], block);
    EXPECT_EQ(b.Capacity(), room);

    // Emptied for refilling: the block stays; full again, it grows by 5.
    b.RemoveAll();
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(b.Capacity(), room);
    for (int i = 0; i < int(room) + 1; ++i)
        b.Add(i);
    EXPECT_EQ(b.Capacity(), room + 5);

    // Shrunk to what it holds, then emptied with its block.
    b.ShrinkToFit();
    EXPECT_EQ(b.Capacity(), size_t(b.Count()));
    b.Clear();
    EXPECT_EQ(b.Capacity(), 0u);
    b.Reserve(-3); // nothing to reserve
    EXPECT_EQ(b.Capacity(), 0u);
}
