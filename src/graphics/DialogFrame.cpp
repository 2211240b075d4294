#include "graphics/DialogFrame.h"

#include "app/DisplayMode.h"
#include "graphics/BitmapTools.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"

#include <QBitmap>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

// Frame tiling: corners 65 wide, the top band 125 high, the bottom band 65
// high, edges and middle repeated in 60-pixel pieces.
constexpr int Corner = 65;
constexpr int TopBand = 125;
constexpr int BottomBand = 65;
constexpr int Piece = 60;
constexpr int CornerEllipse = 16;
constexpr int FrameSourceImage = 36;

// Plain copy of the source rectangle (sx, sy, w, h) to (dx, dy), clipped to
// both images; both 24-bit.
void CopyRect(QImage& dest, int dx, int dy, const QImage& src, int sx, int sy, int w, int h)
{
    if (sx < 0) {
        dx -= sx, w += sx, sx = 0;
    }
    if (sy < 0) {
        dy -= sy, h += sy, sy = 0;
    }
    if (dx < 0) {
        sx -= dx, w += dx, dx = 0;
    }
    if (dy < 0) {
        sy -= dy, h += dy, dy = 0;
    }
    w = std::min({w, src.width() - sx, dest.width() - dx});
    h = std::min({h, src.height() - sy, dest.height() - dy});
    if (w <= 0 || h <= 0)
        return;
    for (int row = 0; row < h; ++row)
        std::memmove(dest.scanLine(dy + row) + dx * 3, src.constScanLine(sy + row) + sx * 3,
                     static_cast<size_t>(w) * 3);
}

} // namespace

namespace DialogFrame {

QImage Source(CBitmapsContainer* windows)
{
    if (!windows || windows->Count() <= FrameSourceImage)
        return {};
    CDynamicPlace place;
    place.Container = windows;
    place.Add(PT_BITMAP, 0);
    for (int mode : {DM_800, DM_1024, DM_1280})
        place.SetBitmap(mode, FrameSourceImage, -1, -1);
    place.Set_iCurrent(1);
    const std::unique_ptr<QImage> source = place.SuitableBitmap(place.CurrentDP(), false, 0, 0);
    if (!source)
        return {};
    Make24(*source);
    return *source;
}

QImage Build(const QImage& s, int width, int height)
{
    QImage f = NewBitmap24(width, height);
    const int sw = s.width();
    const int sh = s.height();
    const int w = width;
    const int h = height;
    CopyRect(f, 0, 0, s, 0, 0, Corner, TopBand);
    CopyRect(f, w - Corner, 0, s, sw - Corner, 0, Corner, TopBand);
    for (int x = Corner; x < w - Corner; x += Piece) {
        const int piece = std::min(x + Piece, w - Corner) - x;
        CopyRect(f, x, 0, s, sw / 2 - Piece, 0, piece, TopBand);
        CopyRect(f, x, h - BottomBand, s, sw / 2 - Piece, sh - BottomBand, piece, BottomBand);
    }
    for (int y = TopBand; y < h - BottomBand; y += Piece) {
        const int piece = std::min(y + Piece, h - BottomBand) - y;
        CopyRect(f, 0, y, f, 0, Corner, w, piece);
    }
    CopyRect(f, 0, h - BottomBand, s, 0, sh - BottomBand, Corner, BottomBand);
    CopyRect(f, w - Corner, h - BottomBand, s, sw - Corner, sh - BottomBand, Corner, BottomBand);
    return f;
}

QRegion Outline(const QSize& size)
{
    QBitmap outline(size);
    outline.fill(Qt::color0);
    QPainter p(&outline);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::color1);
    p.drawRoundedRect(QRect(QPoint(0, 0), size), CornerEllipse / 2, CornerEllipse / 2);
    p.end();
    return QRegion(outline);
}

} // namespace DialogFrame
