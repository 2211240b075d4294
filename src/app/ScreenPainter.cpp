#include "app/ScreenPainter.h"

namespace {

// The part of the image in 32 bits, converted straight from the image's own
// rows (no copy of the part on the way).
QImage PartIn32Bits(const QImage& image, const QRect& part)
{
    if (image.depth() % 8 != 0)
        return image.copy(part).convertToFormat(QImage::Format_RGB32);
    const uchar* first =
        image.constScanLine(part.y()) + static_cast<qsizetype>(part.x()) * (image.depth() / 8);
    const QImage view(first, part.width(), part.height(), image.bytesPerLine(), image.format());
    return view.convertToFormat(QImage::Format_RGB32);
}

} // namespace

ScreenPainter::ScreenPainter(QPaintDevice* device) : QPainter(device)
{
    m_scaled = device->devicePixelRatioF() != 1.0;
    if (m_scaled)
        setRenderHint(QPainter::SmoothPixmapTransform);
}

void ScreenPainter::DrawImagePart(const QRect& target, const QImage& image, const QRect& source)
{
    if (!m_scaled) {
        drawImage(target.topLeft(), image, source);
        return;
    }
    // Qt smooths 32-bit pictures along its fast path, 24-bit ones several
    // times slower: the part (with a margin that the smoothing reads across
    // the part's edges) is turned to 32 bits first.
    const QRect withMargin = source.adjusted(-2, -2, 2, 2) & image.rect();
    const bool fast = image.format() == QImage::Format_RGB32 ||
                      image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage part = fast ? image : PartIn32Bits(image, withMargin);
    const QPoint partOrigin = fast ? QPoint() : withMargin.topLeft();
    save();
    setClipRect(QRect(target.topLeft(), source.size()), Qt::IntersectClip);
    drawImage(target.topLeft() - source.topLeft() + partOrigin, part);
    restore();
}
