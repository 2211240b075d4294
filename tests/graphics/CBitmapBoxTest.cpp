#include "graphics/CBitmapBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The box repaints only what changed in its bitmap, yet the screen always
// ends up showing the bitmap as it is: a change anywhere (the ragged right
// and bottom edges of a bitmap whose sides are no multiple of the squares
// included) reaches the screen, and nothing else is repainted.
class CBitmapBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bitmap = QImage(100, 70, QImage::Format_BGR888);
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                bitmap.setPixel(x, y, qRgb(x * 2, y * 3, 90));
        host.setGeometry(0, 0, 140, 110);
        box = new CBitmapBox(&host, &shown);
        box->setGeometry(10, 20, bitmap.width(), bitmap.height());
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        box->repaint();
    }

    QImage OnScreen() { return box->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage Expected() const { return bitmap.convertToFormat(QImage::Format_RGB32); }

    QImage bitmap;
    const QImage* shown = &bitmap;
    QWidget host;
    CBitmapBox* box = nullptr;
};

TEST_F(CBitmapBoxTest, OnlyTheChangedSquaresAreRepaintedAndTheScreenShowsTheBitmap)
{
    EXPECT_TRUE(box->Changed().isEmpty());
    struct Case
    {
        const char* where;
        QRect changed;
        QPoint far; // in a square the change does not touch
    };
    const Case cases[] = {
        {"top left pixel", QRect(0, 0, 1, 1), QPoint(80, 60)},
        {"the last pixel (a partial square)", QRect(99, 69, 1, 1), QPoint(10, 10)},
        {"across four squares", QRect(30, 30, 4, 4), QPoint(90, 5)},
        {"a column down the right edge", QRect(97, 0, 3, 70), QPoint(50, 35)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        QPainter(&bitmap).fillRect(c.changed, Qt::yellow);
        const QRegion changed = box->Changed();
        EXPECT_TRUE(changed.contains(c.changed));
        EXPECT_FALSE(changed.contains(c.far));
        box->ShowChanges(true);
        EXPECT_TRUE(box->Changed().isEmpty());
        EXPECT_EQ(OnScreen(), Expected());
    }
}

TEST_F(CBitmapBoxTest, AnotherBitmapIsShownWhole)
{
    QImage other(bitmap.size(), QImage::Format_BGR888);
    other.fill(Qt::darkCyan);
    shown = &other;
    EXPECT_EQ(box->Changed(), QRegion(box->rect()));
    box->ShowChanges(true);
    EXPECT_EQ(OnScreen(), other.convertToFormat(QImage::Format_RGB32));

    QImage smaller(60, 40, QImage::Format_BGR888);
    smaller.fill(Qt::red);
    shown = &smaller;
    EXPECT_EQ(box->Changed(), QRegion(box->rect()));
}

TEST_F(CBitmapBoxTest, AChangeUnderAnOpaqueControlRepaintsNoneOfTheBoxAround)
{
    // A control over the box that shows its own part of the bitmap, as the
    // exercises' photos and labels do; its edges cross the box's squares.
    QWidget control(&host);
    control.setAttribute(Qt::WA_OpaquePaintEvent);
    control.setGeometry(31, 33, 50, 40); // the box's (21, 13) to (70, 52)
    control.show();
    QCoreApplication::processEvents();
    QRegion painted;
    struct SPaints : QObject
    {
        QRegion* painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                *painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } paints;
    paints.painted = &painted;
    box->installEventFilter(&paints);

    const QRect under = control.geometry().translated(-box->pos()).adjusted(3, 3, -3, -3);
    QPainter(&bitmap).fillRect(under, Qt::yellow);
    box->ShowChanges(true);
    EXPECT_TRUE(painted.isEmpty());

    // Once the control is gone, the box shows the bitmap as it is there.
    control.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(OnScreen(), Expected());
    EXPECT_TRUE(box->Changed().isEmpty());
}
