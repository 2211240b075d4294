#include "app/ScreenPainter.h"

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
    const QImage part = fast ? image : image.copy(withMargin).convertToFormat(QImage::Format_RGB32);
    const QPoint partOrigin = fast ? QPoint() : withMargin.topLeft();
    save();
    setClipRect(QRect(target.topLeft(), source.size()), Qt::IntersectClip);
    drawImage(target.topLeft() - source.topLeft() + partOrigin, part);
    restore();
}
