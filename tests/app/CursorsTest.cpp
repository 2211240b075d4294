#include "app/Cursors.h"

#include <QPixmap>
#include <gtest/gtest.h>

TEST(Cursors, BothCursorsAreBuiltWithTheirHotSpots)
{
    Cursors::Load();
    const QCursor arrow = Cursors::Get(Cursors::crLArrow);
    const QCursor hand = Cursors::Get(Cursors::crHand1);
    ASSERT_EQ(arrow.shape(), Qt::BitmapCursor);
    ASSERT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(arrow.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    // The hot spot is on the drawn outline: the arrow's point, the fingertip.
    const QImage arrowImage = arrow.pixmap().toImage();
    const QImage handImage = hand.pixmap().toImage();
    EXPECT_EQ(arrowImage.pixelColor(arrow.hotSpot()), QColor(Qt::black));
    EXPECT_EQ(handImage.pixelColor(hand.hotSpot()), QColor(Qt::black));
    EXPECT_EQ(handImage.pixelColor(12, 5), QColor(Qt::white));
    EXPECT_EQ(handImage.pixelColor(0, 0).alpha(), 0);

    EXPECT_EQ(Cursors::Get(7).shape(), Qt::ArrowCursor);
    Cursors::Release();
    EXPECT_EQ(Cursors::Get(Cursors::crHand1).shape(), Qt::ArrowCursor);
}

// Where the design is shown larger, the cursors grow with it, their hot spots
// still on the arrow's point and the fingertip.
TEST(Cursors, GrowWithTheDesign)
{
    for (double scale : {1.125, 1.5, 2.25}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        Cursors::LoadScaled(scale);
        const int side = qRound(32 * scale);
        for (int slot : {Cursors::crLArrow, Cursors::crHand1}) {
            const QCursor cursor = Cursors::Get(slot);
            ASSERT_EQ(cursor.pixmap().size(), QSize(side, side));
            const QImage image = cursor.pixmap().toImage();
            EXPECT_GT(image.pixelColor(cursor.hotSpot()).alpha(), 0);
            EXPECT_LT(image.pixelColor(cursor.hotSpot()).lightness(), 128);
        }
        EXPECT_EQ(Cursors::Get(Cursors::crHand1).hotSpot(),
                  QPoint(static_cast<int>(11 * scale), 0));
    }
    Cursors::Release();
}
