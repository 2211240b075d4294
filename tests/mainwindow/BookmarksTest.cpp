#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "graphics/BlendKernels.h"
#include "graphics/CDynamicPlace.h"
#include "mainwindow/BookmarkLayout.h"
#include "mainwindow/CKompBookmarks.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// The tick (image 2 at 1280 x 960) blended at half strength over a flat skin.
QColor TickOver(int stripIndex)
{
    const QColor bg = SkinFixture::SkinColour(stripIndex);
    const QColor tick = SkinFixture::SkinColour(2);
    const int w = MaskWeight(SkinFixture::TickMask, 255);
    return QColor(BlendChannel(bg.red(), tick.red(), w), BlendChannel(bg.green(), tick.green(), w),
                  BlendChannel(bg.blue(), tick.blue(), w));
}

class BookmarksTest : public ::testing::Test
{
protected:
    void SetUp() override { SetMode(1280, 960); }
    void TearDown() override { ColorMode = CM_COLOR; }

    void SetMode(int w, int h)
    {
        SetDisplayModeFor(w, h);
        ColorMode = CM_COLOR;
        windows = SkinFixture::Get().OpenWindows();
        ASSERT_TRUE(windows);
        layout = std::make_unique<CDynamicPlace>();
        layout->Container = windows.get();
        first = AddBookmarkLayout(*layout);
        form = std::make_unique<QWidget>();
        form->resize(w, h);
        paintBox = new QWidget(form.get());
        strip = std::make_unique<CKompBookmarks>(paintBox);
        strip->OnChange = [this](int o, int n) { changes.emplace_back(o, n); };
        strip->OnTick = [this](int i, bool s) { ticks.emplace_back(i, s); };
        layout->Set_iCurrent(first);
        strip->Setup(*layout);
    }
    void Show()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void Click(int x, int y) { QTest::mouseClick(paintBox, Qt::LeftButton, {}, QPoint(x, y)); }
    QColor BufferAt(int x, int y) const { return strip->Buffer().pixelColor(x, y); }
    QPoint SquareCentre(int i) const
    {
        const auto& b = strip->Bookmark(i);
        return {(b.SquareX + b.SquareRight) / 2, (b.SquareY + b.SquareBottom) / 2};
    }

    std::unique_ptr<CBitmapsContainer> windows;
    std::unique_ptr<CDynamicPlace> layout;
    int first = 0;
    std::unique_ptr<QWidget> form;
    QWidget* paintBox = nullptr;
    std::unique_ptr<CKompBookmarks> strip;
    std::vector<std::pair<int, int>> changes;
    std::vector<std::pair<int, bool>> ticks;
};

TEST_F(BookmarksTest, SetupPlacesTheStripInEveryMode)
{
    struct Case
    {
        int w, h;
        QRect box;
        int tick;
        QPoint square0, squareUK;
        int top2, bottom2; // area of the first exercise bookmark
        int stripImage;    // image shown with bookmark 0 raised
    };
    const Case cases[] = {
        {1280, 960, {28, 92, 260, 796}, 26, {54, 177}, {56, 238}, 157, 222, 21},
        {1280, 1024, {28, 124, 260, 796}, 26, {54, 177}, {56, 238}, 157, 222, 21},
        {1024, 768, {21, 73, 210, 638}, 20, {44, 142}, {45, 192}, 125, 177, 7},
        // 800 x 600 derives everything from the 1280 x 960 values (x 5/8)
        {800, 600, {17, 57, 162, 497}, 16, {33, 110}, {35, 148}, 98, 138, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        SetMode(c.w, c.h);
        EXPECT_EQ(paintBox->geometry(), c.box);
        ASSERT_EQ(strip->Count(), 13);
        EXPECT_EQ(strip->GetCurrent(), -1);
        EXPECT_EQ(strip->Buffer().size(), c.box.size());
        for (int i = 0; i < 13; ++i) {
            const auto& b = strip->Bookmark(i);
            EXPECT_EQ(b.HasSquare, i >= 2) << i;
            EXPECT_EQ(b.Right, c.box.width()) << i; // every area reaches the right edge
            EXPECT_EQ(b.Image->size(), c.box.size()) << i;
        }
        const auto& ex0 = strip->Bookmark(2);
        EXPECT_EQ(QPoint(ex0.SquareX, ex0.SquareY), c.square0);
        EXPECT_EQ(ex0.SquareRight - ex0.SquareX, c.tick);
        EXPECT_EQ(ex0.SquareBottom - ex0.SquareY, c.tick);
        EXPECT_EQ(ex0.Top, c.top2);
        EXPECT_EQ(ex0.Bottom, c.bottom2);
        EXPECT_EQ(QPoint(strip->Bookmark(3).SquareX, strip->Bookmark(3).SquareY), c.squareUK);
        // Bookmark 0 starts at the left edge, the others 18 pixels in.
        EXPECT_EQ(strip->Bookmark(0).Left, 0);
        EXPECT_EQ(strip->Bookmark(1).Left, c.w == 1024 ? 14 : (c.w == 800 ? 11 : 18));
        if (c.stripImage >= 0) {
            strip->SetCurrent(0);
            EXPECT_EQ(BufferAt(5, 5), SkinFixture::SkinColour(c.stripImage));
        }
    }
}

TEST_F(BookmarksTest, BeforeTheFirstChoiceTheStripShowsNoBookmarkAndOffTicks)
{
    strip->SetTickMask(0b101); // exercises 0 and 2
    strip->Compose();
    EXPECT_EQ(BufferAt(150, 20), SkinFixture::SkinColour(20));
    const QPoint c0 = SquareCentre(2);
    EXPECT_EQ(BufferAt(c0.x(), c0.y()), TickOver(20));
    const QPoint c1 = SquareCentre(3); // exercise 1: not ticked
    EXPECT_EQ(BufferAt(c1.x(), c1.y()), SkinFixture::SkinColour(20));
    EXPECT_EQ(BufferAt(SquareCentre(4).x(), SquareCentre(4).y()), TickOver(20));
}

TEST_F(BookmarksTest, SetCurrentRaisesTheBookmarkAndDrawsItsTickOverItsOwnImage)
{
    strip->SetTickMask(0b11); // exercises 0 and 1: bookmarks 2 and 3
    strip->SetCurrent(2);
    EXPECT_EQ(strip->GetCurrent(), 2);
    EXPECT_EQ(BufferAt(150, 20), SkinFixture::SkinColour(23));
    EXPECT_EQ(BufferAt(SquareCentre(2).x(), SquareCentre(2).y()), TickOver(23));
    // A ticked square of another bookmark keeps the tick composed over the
    // strip without a raised bookmark.
    EXPECT_EQ(BufferAt(SquareCentre(3).x(), SquareCentre(3).y()), TickOver(20));
    strip->SetCurrent(2); // again: reported with equal indices
    strip->SetCurrent(-1);
    EXPECT_EQ(BufferAt(150, 20), SkinFixture::SkinColour(20));
    const std::vector<std::pair<int, int>> expected = {{-1, 2}, {2, 2}, {2, -1}};
    EXPECT_EQ(changes, expected);
}

TEST_F(BookmarksTest, ClicksHitSquaresEnlargedByFourPixelsBeforeBookmarks)
{
    Show();
    // Square of exercise 0 at 1280 x 960: (54, 177) to (80, 203); its
    // bookmark (index 2) spans 18..260 x 157..222.
    struct Case
    {
        int x, y;
        int tick; // bookmark whose square toggles, -1 none
        int page; // bookmark raised, -1 none
    };
    const Case cases[] = {
        {51, 190, 2, -1},   // 3 left of the square
        {50, 190, 2, -1},   // 4 left: still the square
        {49, 190, -1, 2},   // 5 left: the bookmark
        {83, 190, 2, -1},   // 3 right of its right edge
        {84, 190, -1, 2},   //
        {60, 173, 2, -1},   // 4 above
        {60, 172, -1, 2},   //
        {60, 206, 2, -1},   // 3 below its bottom edge
        {60, 207, -1, 2},   //
        {5, 50, -1, 0},     // patients bookmark from the left edge
        {259, 100, -1, 1},  // statistics, last column
        {10, 200, -1, -1},  // left of an exercise bookmark
        {100, 2, -1, -1},   // above the first bookmark
        {100, 788, -1, -1}, // below the last bookmark's bottom
        {100, 787, -1, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "click at " << c.x << "," << c.y);
        changes.clear();
        ticks.clear();
        const bool before = strip->Bookmark(2).Ticked;
        const int current = strip->GetCurrent();
        Click(c.x, c.y);
        if (c.tick >= 0) {
            ASSERT_EQ(ticks.size(), 1u);
            EXPECT_EQ(ticks[0], std::make_pair(c.tick, !before));
            EXPECT_EQ(strip->Bookmark(c.tick).Ticked, !before);
        } else {
            EXPECT_TRUE(ticks.empty());
        }
        if (c.page >= 0) {
            ASSERT_EQ(changes.size(), 1u);
            EXPECT_EQ(changes[0], std::make_pair(current, c.page));
            EXPECT_EQ(strip->GetCurrent(), c.page);
        } else {
            EXPECT_TRUE(changes.empty());
            EXPECT_EQ(strip->GetCurrent(), current);
        }
    }
}

TEST_F(BookmarksTest, ClickOnTheRaisedBookmarkReportsEqualIndicesAndRedraws)
{
    Show();
    Click(150, 300); // bookmark 4 (283..341)
    Click(150, 300);
    const std::vector<std::pair<int, int>> expected = {{-1, 4}, {4, 4}};
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(BufferAt(150, 20), SkinFixture::SkinColour(25));
    // A click on a square redraws at once: the tick shows over the raised bookmark.
    const QPoint c = SquareCentre(4);
    Click(c.x(), c.y());
    EXPECT_EQ(BufferAt(c.x(), c.y()), TickOver(25));
    EXPECT_EQ(paintBox->grab().toImage().pixelColor(c), TickOver(25));
}

TEST_F(BookmarksTest, TickMaskCountsOnlyBookmarksWithSquares)
{
    Show();
    Click(SquareCentre(2).x(), SquareCentre(2).y());
    Click(SquareCentre(4).x(), SquareCentre(4).y());
    EXPECT_EQ(strip->GetTickMask(), 5);
    const std::vector<std::pair<int, bool>> expected = {{2, true}, {4, true}};
    EXPECT_EQ(ticks, expected);

    strip->SetTickMask(0x7ff & ~0b10);
    EXPECT_EQ(strip->GetTickMask(), 0x7fd);
    for (int i = 2; i < 13; ++i)
        EXPECT_EQ(strip->Bookmark(i).Ticked, i != 3) << i;
    // Setting the mask does not redraw: the buffer still shows the old ticks.
    EXPECT_EQ(BufferAt(SquareCentre(3).x(), SquareCentre(3).y()), SkinFixture::SkinColour(20));
    EXPECT_EQ(BufferAt(SquareCentre(5).x(), SquareCentre(5).y()), SkinFixture::SkinColour(20));
    strip->SetTickMask(0x800); // bits past the eleventh square are ignored
    EXPECT_EQ(strip->GetTickMask(), 0);
}

TEST_F(BookmarksTest, InactiveStripIgnoresClicks)
{
    Show();
    strip->Active = false;
    Click(SquareCentre(2).x(), SquareCentre(2).y());
    Click(150, 300);
    EXPECT_TRUE(ticks.empty());
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(strip->GetTickMask(), 0);
    strip->Active = true;
    Click(150, 300);
    EXPECT_EQ(strip->GetCurrent(), 4);
}

TEST_F(BookmarksTest, WorksWithoutHandlers)
{
    Show();
    strip->OnChange = nullptr;
    strip->OnTick = nullptr;
    Click(SquareCentre(2).x(), SquareCentre(2).y());
    Click(150, 300);
    EXPECT_EQ(strip->GetTickMask(), 1);
    EXPECT_EQ(strip->GetCurrent(), 4);
}

TEST_F(BookmarksTest, SetupAgainAfterAColourSwitchKeepsTheChoiceAndTurnsGrey)
{
    strip->SetTickMask(0b100);
    strip->SetCurrent(4);
    ColorMode = CM_MONO;
    layout->Set_iCurrent(first);
    strip->Setup(*layout);
    EXPECT_EQ(strip->GetCurrent(), 4);
    EXPECT_EQ(strip->GetTickMask(), 0b100);
    const QColor shown = BufferAt(150, 20);
    EXPECT_EQ(shown.red(), shown.green());
    EXPECT_EQ(shown.green(), shown.blue());
    const QColor tick = BufferAt(SquareCentre(4).x(), SquareCentre(4).y());
    EXPECT_EQ(tick.red(), tick.blue());
    EXPECT_NE(tick, shown); // the tick still shows
}

} // namespace
