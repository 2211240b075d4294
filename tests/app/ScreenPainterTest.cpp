#include "app/ScreenPainter.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A picture with sharp detail: stripes one pixel wide and a gradient.
QImage Picture()
{
    QImage image(120, 80, QImage::Format_BGR888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor((x % 2) * 255, y * 3, (x * 2) % 256));
    return image;
}

QImage Screen(double scale)
{
    QImage screen(qRound(120 * scale), qRound(80 * scale), QImage::Format_RGB32);
    screen.setDevicePixelRatio(scale);
    screen.fill(Qt::black);
    return screen;
}

// Paints the picture onto the screen in the given pieces (design pixels).
void PaintPieces(QImage& screen, const QImage& picture, const std::vector<QRect>& pieces)
{
    ScreenPainter p(&screen);
    for (const QRect& r : pieces)
        p.DrawImagePart(r, picture, r);
}

// The largest difference of one colour channel between two images.
int MaxDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            most = std::max({most, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                             std::abs(p.blue() - q.blue())});
        }
    return most;
}

} // namespace

// At the design's own size the painter draws exactly as a plain one.
TEST(ScreenPainterTest, SamePixelsAtTheDesignSize)
{
    const QImage picture = Picture();
    QImage plain = Screen(1.0);
    {
        QPainter p(&plain);
        p.drawImage(QPoint(10, 20), picture, QRect(10, 20, 50, 30));
    }
    QImage screen = Screen(1.0);
    PaintPieces(screen, picture, {QRect(10, 20, 50, 30)});
    EXPECT_EQ(screen, plain);
    ScreenPainter p(&screen);
    EXPECT_FALSE(p.testRenderHint(QPainter::SmoothPixmapTransform));
}

// Scaled, pictures are smoothed, and pieces painted one by one (as the
// exercise area repaints what changed) join without seams: the same pixels
// as the whole picture painted at once, but for the last bit of rounding
// (the pieces start at other places in Qt's fixed-point sampling). Pieces
// smoothed each on its own would differ along their edges by the height of
// the stripes, over a hundred.
TEST(ScreenPainterTest, PiecesJoinWithoutSeamsWhenScaled)
{
    const QImage picture = Picture();
    for (double scale : {1.125, 1.5, 2.25}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        QImage whole = Screen(scale);
        PaintPieces(whole, picture, {picture.rect()});
        QImage pieces = Screen(scale);
        PaintPieces(pieces, picture,
                    {QRect(0, 0, 40, 80), QRect(40, 0, 80, 37), QRect(40, 37, 80, 43)});
        ASSERT_EQ(pieces.size(), whole.size());
        EXPECT_LE(MaxDifference(pieces, whole), 2);
        ScreenPainter p(&pieces);
        EXPECT_TRUE(p.testRenderHint(QPainter::SmoothPixmapTransform));
    }
}
