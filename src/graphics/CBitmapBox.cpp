#include "graphics/CBitmapBox.h"

#include "app/ScreenPainter.h"

#include <QPaintEvent>

CBitmapBox::CBitmapBox(QWidget* parent, const QImage* const* bitmap)
    : QWidget(parent), m_bitmap(bitmap)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRegion CBitmapBox::Changed() const
{
    const QImage* bitmap = *m_bitmap;
    if (!bitmap || bitmap->isNull())
        return QRegion(rect());
    const QRegion changed = m_painted.Changed(*bitmap, bitmap->rect());
    return changed == QRegion(bitmap->rect()) ? QRegion(rect()) : changed & rect();
}

void CBitmapBox::ShowChanges(bool now)
{
    // What opaque controls over the box cover is theirs to show: taken as
    // shown, so that a change beneath them repaints none of the box around.
    const QImage* bitmap = *m_bitmap;
    if (bitmap && !bitmap->isNull() && isVisible())
        m_painted.Remember(*bitmap, bitmap->rect(), QRegion(rect()) - visibleRegion());
    CPaintedCopy::ShowOn(*this, Changed(), now);
}

void CBitmapBox::paintEvent(QPaintEvent* event)
{
    ScreenPainter p(this);
    const QImage* bitmap = *m_bitmap;
    if (bitmap && !bitmap->isNull()) {
        for (const QRect& r : event->region())
            p.DrawImagePart(r, *bitmap, r);
        m_painted.Remember(*bitmap, bitmap->rect(), event->region());
    } else {
        p.fillRect(event->rect(), Qt::black);
    }
}
