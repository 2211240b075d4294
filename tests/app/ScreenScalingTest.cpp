#include "app/ScreenScaling.h"

#include <gtest/gtest.h>

TEST(ScreenScalingTest, AreaAndFactorForEachScreen)
{
    const struct
    {
        int w, h;         // the screen
        int designW;      // the layout it gets
        int x, y, aw, ah; // where the design lies
        double factor;
    } cases[] = {
        // The design sizes and a pixel below and above each: nothing scaled
        // until a whole step of the design's shape fits.
        {800, 600, 800, 0, 0, 800, 600, 1.0},
        {799, 600, 800, 0, 0, 800, 600, 1.0},
        {800, 599, 800, 0, 0, 800, 600, 1.0},
        {801, 601, 800, 0, 0, 800, 600, 1.0},
        {1023, 767, 800, 1, 1, 1020, 765, 1.275},
        {1024, 768, 1024, 0, 0, 1024, 768, 1.0},
        {1025, 769, 1024, 0, 0, 1024, 768, 1.0},
        {1279, 959, 1024, 1, 1, 1276, 957, 1276.0 / 1024},
        {1280, 960, 1280, 0, 0, 1280, 960, 1.0},
        {1281, 961, 1280, 0, 0, 1280, 960, 1.0},
        {1284, 963, 1280, 0, 0, 1284, 963, 1284.0 / 1280},
        // Screens of today, wide and odd.
        {1280, 1024, 1280, 0, 32, 1280, 960, 1.0},
        {1366, 768, 1024, 171, 0, 1024, 768, 1.0},
        {1600, 900, 1024, 200, 0, 1200, 900, 1.171875},
        {1680, 1050, 1280, 140, 0, 1400, 1050, 1.09375},
        {1920, 1080, 1280, 240, 0, 1440, 1080, 1.125},
        {1920, 1200, 1280, 160, 0, 1600, 1200, 1.25},
        {2560, 1440, 1280, 320, 0, 1920, 1440, 1.5},
        {3440, 1440, 1280, 760, 0, 1920, 1440, 1.5},
        {3840, 2160, 1280, 480, 0, 2880, 2160, 2.25},
        {1080, 1920, 1024, 0, 555, 1080, 810, 1080.0 / 1024}, // turned on its side
        {1280, 800, 1024, 108, 1, 1064, 798, 1064.0 / 1024},
        // Below the smallest layout: its own size, centred as always.
        {640, 480, 800, -80, -60, 800, 600, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const QSize design = DesignSizeFor(QSize(c.w, c.h));
        EXPECT_EQ(design.width(), c.designW);
        EXPECT_EQ(design.width() * 3, design.height() * 4);
        const SScreenScale scale = ScaleForScreen(QSize(c.w, c.h), design);
        EXPECT_EQ(scale.Area, QRect(c.x, c.y, c.aw, c.ah));
        EXPECT_DOUBLE_EQ(scale.Factor, c.factor);
        // The area is the design times the factor, on both sides.
        EXPECT_DOUBLE_EQ(design.width() * scale.Factor, c.aw);
        EXPECT_DOUBLE_EQ(design.height() * scale.Factor, c.ah);
    }
}

// Every screen pixel belongs to exactly one design pixel and back: a run of
// design pixels (a button) is hit by exactly the screen pixels drawn for it,
// its first and last included, at any factor.
TEST(ScreenScalingTest, ScreenPixelsOfAnElementHitIt)
{
    const double factors[] = {1.0, 1.09375, 1.125, 1.171875, 1.25, 1.5, 2.0, 2.25, 1283.0 / 1280};
    const struct
    {
        int left, width;
    } buttons[] = {{0, 64}, {1199, 64}, {345, 589}, {13, 1}, {1279, 1}};
    for (double f : factors) {
        SCOPED_TRACE(testing::Message() << "factor " << f);
        int previous = -1;
        for (int s = 0; s < static_cast<int>(1280 * f); ++s) {
            const int d = ScreenToDesign(s, f);
            // No design pixel skipped or gone back to.
            ASSERT_TRUE(d == previous || d == previous + 1) << "screen pixel " << s;
            if (d != previous) {
                ASSERT_EQ(DesignToScreen(d, f), s) << "design pixel " << d;
            }
            previous = d;
        }
        for (const auto& b : buttons) {
            const int first = DesignToScreen(b.left, f);
            const int last = DesignToScreen(b.left + b.width, f) - 1;
            EXPECT_EQ(ScreenToDesign(first, f), b.left);
            EXPECT_EQ(ScreenToDesign(last, f), b.left + b.width - 1);
            // The pixels just outside belong to the neighbours.
            EXPECT_EQ(ScreenToDesign(first - 1, f), b.left - 1);
            EXPECT_EQ(ScreenToDesign(last + 1, f), b.left + b.width);
            // The element covers its share of the screen, within a pixel.
            EXPECT_NEAR(last - first + 1, b.width * f, 1.0);
        }
    }
}
