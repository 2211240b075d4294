#include "graphics/CBitmapBox.h"

#include "app/ScreenPainter.h"

#include <QPaintEvent>
#include <cstring>

namespace {

// The changed parts are found in squares of this side.
constexpr int Block = 32;
// Smoothing reads this far across a part's edges (design pixels).
constexpr int SmoothingMargin = 2;

bool SameBlock(const QImage& a, const QImage& b, const QRect& block)
{
    const qsizetype offset = static_cast<qsizetype>(block.x()) * (a.depth() / 8);
    const size_t bytes = static_cast<size_t>(block.width()) * (a.depth() / 8);
    for (int y = block.top(); y <= block.bottom(); ++y)
        if (std::memcmp(a.constScanLine(y) + offset, b.constScanLine(y) + offset, bytes) != 0)
            return false;
    return true;
}

} // namespace

CBitmapBox::CBitmapBox(QWidget* parent, const QImage* const* bitmap)
    : QWidget(parent), m_bitmap(bitmap)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRegion CBitmapBox::Changed() const
{
    const QImage* bitmap = *m_bitmap;
    if (!bitmap || bitmap->isNull() || m_shown.size() != bitmap->size() ||
        m_shown.format() != bitmap->format() || bitmap->depth() % 8 != 0)
        return QRegion(rect());
    QRegion changed;
    const auto add = [&](int left, int right, int top) {
        changed +=
            QRect(left, top, right - left, Block)
                .adjusted(-SmoothingMargin, -SmoothingMargin, SmoothingMargin, SmoothingMargin) &
            rect();
    };
    for (int y = 0; y < bitmap->height(); y += Block) {
        // Neighbouring changed squares of a row go in as one rectangle.
        int runStart = -1;
        for (int x = 0; x < bitmap->width(); x += Block) {
            const bool same =
                SameBlock(*bitmap, m_shown, QRect(x, y, Block, Block) & bitmap->rect());
            if (!same && runStart < 0)
                runStart = x;
            if (same && runStart >= 0) {
                add(runStart, x, y);
                runStart = -1;
            }
        }
        if (runStart >= 0)
            add(runStart, bitmap->width(), y);
    }
    return changed;
}

void CBitmapBox::ShowChanges(bool now)
{
    const QRegion changed = Changed();
    if (changed.isEmpty())
        return;
    if (now)
        repaint(changed);
    else
        update(changed);
}

void CBitmapBox::paintEvent(QPaintEvent* event)
{
    ScreenPainter p(this);
    const QImage* bitmap = *m_bitmap;
    if (bitmap && !bitmap->isNull()) {
        for (const QRect& r : event->region())
            p.DrawImagePart(r, *bitmap, r);
        Remember(event->region());
    } else {
        p.fillRect(event->rect(), Qt::black);
    }
}

void CBitmapBox::Remember(const QRegion& painted)
{
    const QImage& bitmap = **m_bitmap;
    if (m_shown.size() != bitmap.size() || m_shown.format() != bitmap.format()) {
        // Nothing of the old one can be trusted: what the box has not painted
        // from this bitmap yet is marked changed by starting from its inverse.
        m_shown = bitmap.copy();
        m_shown.invertPixels();
    }
    const int pixelBytes = bitmap.depth() / 8;
    for (const QRect& r : painted) {
        const QRect part = r & bitmap.rect();
        const qsizetype offset = static_cast<qsizetype>(part.x()) * pixelBytes;
        const size_t bytes = static_cast<size_t>(part.width()) * pixelBytes;
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::memcpy(m_shown.scanLine(y) + offset, bitmap.constScanLine(y) + offset, bytes);
    }
}
