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
    save();
    setClipRect(QRect(target.topLeft(), source.size()), Qt::IntersectClip);
    drawImage(target.topLeft() - source.topLeft(), image);
    restore();
}
