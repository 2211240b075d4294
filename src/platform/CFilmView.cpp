#include "platform/CFilmView.h"

#include "app/ScreenPainter.h"

#include <QPainter>

CFilmView::CFilmView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFilmView::SetFrame(const QImage& frame)
{
    m_frame = frame;
    update();
}

void CFilmView::paintEvent(QPaintEvent*)
{
    ScreenPainter painter(this);
    if (m_frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_frame);
}
