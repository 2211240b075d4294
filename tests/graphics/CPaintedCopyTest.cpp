#include "graphics/CPaintedCopy.h"

#include <QPainter>
#include <gtest/gtest.h>

// A part of an image away from its origin, as a control shows its rectangle
// of the exercise bitmap: a change inside the part is found where it lies in
// the part, a change outside it or in another square is not.
TEST(CPaintedCopyTest, FindsTheChangesOfAPartInThePartsOwnCoordinates)
{
    QImage image(200, 150, QImage::Format_BGR888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x, y, 60));
    const QRect part(37, 21, 100, 70);
    CPaintedCopy copy;
    EXPECT_EQ(copy.Changed(image, part), QRegion(0, 0, 100, 70)) << "nothing painted yet";
    copy.Remember(image, part, QRegion(0, 0, 100, 70));
    EXPECT_TRUE(copy.Changed(image, part).isEmpty());

    struct SCase
    {
        const char* where;
        QRect changed;  // image coordinates
        QPoint inPart;  // the change in the part's coordinates (none: outside)
        QPoint farAway; // in a square the change does not touch
    };
    const SCase cases[] = {
        {"the part's first pixel", QRect(37, 21, 1, 1), QPoint(0, 0), QPoint(90, 60)},
        {"its last pixel (a partial square)", QRect(136, 90, 1, 1), QPoint(99, 69), QPoint(5, 5)},
        {"outside it", QRect(10, 10, 20, 100), QPoint(-1, -1), QPoint(0, 0)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.where);
        QPainter(&image).fillRect(c.changed, Qt::yellow);
        const QRegion changed = copy.Changed(image, part);
        if (c.inPart.x() >= 0)
            EXPECT_TRUE(changed.contains(c.inPart));
        else
            EXPECT_TRUE(changed.isEmpty());
        EXPECT_FALSE(changed.contains(c.farAway));
        copy.Remember(image, part, changed);
        EXPECT_TRUE(copy.Changed(image, part).isEmpty());
    }
    // Moved elsewhere, the copy says nothing about the new place.
    EXPECT_EQ(copy.Changed(image, part.translated(1, 0)), QRegion(0, 0, 100, 70));
}

// A new text inside a framed label: the rows of the squares above and below
// the change, the frame's, are not repainted (beyond the smoothing's margin).
TEST(CPaintedCopyTest, AChangedSquareIsRepaintedFromItsFirstToItsLastChangedRow)
{
    QImage image(120, 96, QImage::Format_BGR888);
    image.fill(Qt::white);
    CPaintedCopy copy;
    copy.Remember(image, image.rect(), QRegion(image.rect()));
    QPainter(&image).fillRect(QRect(10, 40, 70, 9), Qt::black); // rows 40 to 48
    const QRegion changed = copy.Changed(image, image.rect());
    EXPECT_EQ(changed.boundingRect().top(), 38);
    EXPECT_EQ(changed.boundingRect().bottom(), 50);
    EXPECT_TRUE(changed.contains(QRect(10, 40, 70, 9)));
    copy.Remember(image, image.rect(), changed);
    EXPECT_TRUE(copy.Changed(image, image.rect()).isEmpty());
}
