// Framing a picture in the 4:3 photo frame: the largest 4:3 part at first,
// zoom about the centre, moving that never leaves the picture.
#include "content/CPictureFrame.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage Picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(Qt::white);
    return image;
}

TEST(PictureFrame, StartsWithTheLargestCentredFourThirdsPart)
{
    struct Case
    {
        QSize picture;
        QRectF shown;
    };
    const Case cases[] = {
        {{800, 600}, {0, 0, 800, 600}},
        {{1600, 600}, {400, 0, 800, 600}}, // wide: the middle
        {{600, 1600}, {0, 575, 600, 450}}, // tall: the middle
    };
    for (const Case& c : cases) {
        CPictureFrame frame(Picture(c.picture.width(), c.picture.height()));
        EXPECT_EQ(frame.Shown(), c.shown) << c.picture.width() << "x" << c.picture.height();
    }
}

TEST(PictureFrame, ZoomAndDragStayInsideThePicture)
{
    CPictureFrame frame(Picture(800, 600));
    frame.Drag(100, 0, QSize(400, 300)); // nothing to move at zoom 1
    EXPECT_EQ(frame.Shown(), QRectF(0, 0, 800, 600));

    frame.ZoomBy(2);
    EXPECT_EQ(frame.Shown(), QRectF(200, 150, 400, 300));
    // A drag of 100 view pixels on a 400-wide view moves a quarter of the
    // shown part; the picture follows the pointer, so the part goes left.
    frame.Drag(100, 0, QSize(400, 300));
    EXPECT_EQ(frame.Shown(), QRectF(100, 150, 400, 300));
    frame.Drag(1000, -1000, QSize(400, 300));
    EXPECT_EQ(frame.Shown(), QRectF(0, 300, 400, 300));

    frame.ZoomBy(0.1); // never less than the whole 4:3 part
    EXPECT_EQ(frame.Shown(), QRectF(0, 0, 800, 600));
    frame.ZoomBy(100);
    EXPECT_DOUBLE_EQ(frame.Zoom(), CPictureFrame::MaxZoom);
}

TEST(PictureFrame, RendersTheShownPartAtTheArchiveSizes)
{
    QImage picture = Picture(1600, 600);
    QPainter(&picture).fillRect(0, 0, 400, 600, Qt::red); // outside the frame
    CPictureFrame frame(picture);
    for (const QSize size : {QSize(616, 462), QSize(490, 368)}) {
        const QImage out = frame.Render(size);
        EXPECT_EQ(out.size(), size);
        EXPECT_EQ(out.pixelColor(2, 2), QColor(Qt::white));
    }
    frame.ZoomBy(2);
    frame.Drag(10000, 0, QSize(616, 462)); // to the left edge: the red part
    EXPECT_EQ(frame.Render(QSize(616, 462)).pixelColor(10, 200), QColor(Qt::red));
}

} // namespace
