#include "graphics/CPaintedCopy.h"

#include <QWidget>

#include <cstring>
#include <utility>

namespace {

// The changed parts are found in squares of this side.
constexpr int Block = 32;
// Smoothing reads this far across a part's edges (design pixels).
constexpr int SmoothingMargin = 2;

// Whether the block (the copy's coordinates) of the copy equals the image's
// pixels at the block moved by `origin`.
bool SameBlock(const QImage& image, QPoint origin, const QImage& copy, const QRect& block)
{
    const int pixelBytes = image.depth() / 8;
    const qsizetype imageOffset = static_cast<qsizetype>(block.x() + origin.x()) * pixelBytes;
    const qsizetype copyOffset = static_cast<qsizetype>(block.x()) * pixelBytes;
    const size_t bytes = static_cast<size_t>(block.width()) * pixelBytes;
    for (int y = block.top(); y <= block.bottom(); ++y)
        if (std::memcmp(image.constScanLine(y + origin.y()) + imageOffset,
                        copy.constScanLine(y) + copyOffset, bytes) != 0)
            return false;
    return true;
}

// The first and last rows of the block (the copy's coordinates) in which the
// copy differs from the image; top > bottom when none does.
std::pair<int, int> DifferingRows(const QImage& image, QPoint origin, const QImage& copy,
                                  const QRect& block)
{
    const auto differs = [&](int y) {
        return !SameBlock(image, origin, copy, QRect(block.left(), y, block.width(), 1));
    };
    int top = block.top();
    while (top <= block.bottom() && !differs(top))
        ++top;
    int bottom = block.bottom();
    while (bottom > top && !differs(bottom))
        --bottom;
    return {top, bottom};
}

} // namespace

bool CPaintedCopy::Comparable(const QImage& image, const QRect& source) const
{
    return !image.isNull() && image.depth() % 8 == 0 && image.rect().contains(source) &&
           source == m_source && m_copy.size() == source.size() &&
           m_copy.format() == image.format();
}

QRegion CPaintedCopy::Changed(const QImage& image, const QRect& source) const
{
    const QRect whole(QPoint(0, 0), source.size());
    if (!Comparable(image, source))
        return QRegion(whole);
    QRegion changed;
    // A run of changed squares goes in from its first to its last changed
    // row: a new text in a framed label leaves the frame above and below it
    // as it was.
    const auto add = [&](int left, int right, int top) {
        const QRect run = QRect(left, top, right - left, Block) & whole;
        const auto [first, last] = DifferingRows(image, source.topLeft(), m_copy, run);
        changed +=
            QRect(run.left(), first, run.width(), last - first + 1)
                .adjusted(-SmoothingMargin, -SmoothingMargin, SmoothingMargin, SmoothingMargin) &
            whole;
    };
    for (int y = 0; y < whole.height(); y += Block) {
        // Neighbouring changed squares of a row go in as one rectangle.
        int runStart = -1;
        for (int x = 0; x < whole.width(); x += Block) {
            const bool same =
                SameBlock(image, source.topLeft(), m_copy, QRect(x, y, Block, Block) & whole);
            if (!same && runStart < 0)
                runStart = x;
            if (same && runStart >= 0) {
                add(runStart, x, y);
                runStart = -1;
            }
        }
        if (runStart >= 0)
            add(runStart, whole.width(), y);
    }
    return changed;
}

void CPaintedCopy::Remember(const QImage& image, const QRect& source, const QRegion& painted)
{
    if (image.isNull() || image.depth() % 8 != 0 || !image.rect().contains(source)) {
        Forget();
        return;
    }
    if (!Comparable(image, source)) {
        // Nothing of the old copy can be trusted: what has not been painted
        // from this part yet is marked changed by starting from its inverse.
        m_copy = image.copy(source);
        m_copy.invertPixels();
        m_source = source;
    }
    const int pixelBytes = image.depth() / 8;
    for (const QRect& r : painted) {
        const QRect part = r & QRect(QPoint(0, 0), source.size());
        const qsizetype copyOffset = static_cast<qsizetype>(part.x()) * pixelBytes;
        const qsizetype imageOffset = static_cast<qsizetype>(part.x() + source.x()) * pixelBytes;
        const size_t bytes = static_cast<size_t>(part.width()) * pixelBytes;
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::memcpy(m_copy.scanLine(y) + copyOffset,
                        image.constScanLine(y + source.y()) + imageOffset, bytes);
    }
}

void CPaintedCopy::Forget()
{
    m_copy = QImage();
    m_source = QRect();
}

void CPaintedCopy::ShowOn(QWidget& widget, const QRegion& changed, bool now)
{
    if (changed.isEmpty())
        return;
    if (now)
        widget.repaint(changed);
    else
        widget.update(changed);
}
