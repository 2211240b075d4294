#include "content/CPictureFrame.h"

#include <QPainter>
#include <algorithm>

CPictureFrame::CPictureFrame(QImage picture) : m_picture(std::move(picture))
{
    Reset();
}

void CPictureFrame::Reset()
{
    m_zoom = 1.0;
    m_centre = QPointF(m_picture.width() / 2.0, m_picture.height() / 2.0);
}

QSizeF CPictureFrame::BaseSize() const
{
    const double w = m_picture.width();
    const double h = m_picture.height();
    return w * 3 > h * 4 ? QSizeF(h * 4 / 3, h) : QSizeF(w, w * 3 / 4);
}

QRectF CPictureFrame::Shown() const
{
    const QSizeF size = BaseSize() / m_zoom;
    return QRectF(m_centre.x() - size.width() / 2, m_centre.y() - size.height() / 2, size.width(),
                  size.height());
}

void CPictureFrame::Clamp()
{
    m_zoom = std::clamp(m_zoom, 1.0, MaxZoom);
    const QSizeF size = BaseSize() / m_zoom;
    m_centre.setX(std::clamp(m_centre.x(), size.width() / 2, m_picture.width() - size.width() / 2));
    m_centre.setY(
        std::clamp(m_centre.y(), size.height() / 2, m_picture.height() - size.height() / 2));
}

void CPictureFrame::Drag(double dx, double dy, QSize viewSize)
{
    if (IsEmpty() || viewSize.isEmpty())
        return;
    const QRectF shown = Shown();
    m_centre -=
        QPointF(dx * shown.width() / viewSize.width(), dy * shown.height() / viewSize.height());
    Clamp();
}

void CPictureFrame::ZoomBy(double factor)
{
    if (IsEmpty() || factor <= 0)
        return;
    m_zoom *= factor;
    Clamp();
}

QImage CPictureFrame::Render(QSize size) const
{
    QImage out(size, QImage::Format_RGB888);
    out.fill(Qt::white);
    if (IsEmpty())
        return out;
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), m_picture, Shown());
    return out;
}
