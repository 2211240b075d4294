#include "mainwindow/CPictureFrameView.h"

#include "graphics/CDynamicPlace.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

CPictureFrameView::CPictureFrameView(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::OpenHandCursor);
}

void CPictureFrameView::SetFrame(CPictureFrame frame)
{
    m_frame = std::move(frame);
    update();
}

void CPictureFrameView::Changed()
{
    update();
    if (OnChanged)
        OnChanged();
}

void CPictureFrameView::ZoomBy(double factor)
{
    m_frame.ZoomBy(factor);
    Changed();
}

void CPictureFrameView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_frame.IsEmpty()) {
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("Brak obrazka"));
    } else {
        // As the exercises will show it, grey in the monochrome mode.
        QImage shown = m_frame.Render(size()).convertToFormat(QImage::Format_BGR888);
        MonoBitmap(&shown);
        painter.drawImage(0, 0, shown);
    }
    painter.setPen(QPen(palette().color(QPalette::Dark), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void CPictureFrameView::mousePressEvent(QMouseEvent* event)
{
    m_last = event->position().toPoint();
}

void CPictureFrameView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint now = event->position().toPoint();
    m_frame.Drag(now.x() - m_last.x(), now.y() - m_last.y(), size());
    m_last = now;
    Changed();
}

void CPictureFrameView::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        ZoomBy(steps > 0 ? 1.25 : 0.8);
}
