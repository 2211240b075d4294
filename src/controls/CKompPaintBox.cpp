#include "controls/CKompPaintBox.h"

#include "app/ScreenPainter.h"

#include <QPaintEvent>
#include <QPainter>

CKompPaintBox::CKompPaintBox(QWidget* owner, QImage* background, QImage* target)
    : QWidget(owner), Target(target), Background(background ? background : target)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(0, 0, 0, 0);
    hide();
}

CKompPaintBox::~CKompPaintBox() = default;

void CKompPaintBox::CopyTargetToScreen()
{
    CopyTargetToScreen(rect());
}

void CKompPaintBox::CopyTargetToScreen(const QRect& area)
{
    const QRect r = area & rect();
    if (r.isEmpty())
        return;
    m_screenOnly -= r;
    if (isVisible())
        repaint(r);
}

void CKompPaintBox::ShowChanges(bool now)
{
    if (!isVisible())
        return;
    CPaintedCopy::ShowOn(*this, Target ? m_painted.Changed(*Target, TargetPart()) : QRegion(rect()),
                         now);
}

QImage& CKompPaintBox::ScreenCanvas()
{
    if (m_screen.size() != size()) {
        QImage canvas(size(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
        if (!m_screen.isNull()) {
            QPainter p(&canvas);
            p.drawImage(0, 0, m_screen);
        }
        m_screen = std::move(canvas);
    }
    return m_screen;
}

void CKompPaintBox::ShowCanvas(const QRegion& region)
{
    const QRegion r = region & rect();
    if (r.isEmpty())
        return;
    m_screenOnly += r;
    if (isVisible())
        repaint(r);
}

void CKompPaintBox::MoveBy(int x, int y)
{
    move(pos() + QPoint(x - X, y - Y));
    X = x;
    Y = y;
    // What was drawn on the screen belonged to the old place.
    m_screenOnly = QRegion();
}

void CKompPaintBox::paintEvent(QPaintEvent* event)
{
    ScreenPainter p(this);
    const QRegion fromScreen = event->region() & m_screenOnly;
    const QRegion fromTarget = event->region() - m_screenOnly;
    for (const QRect& r : fromTarget - PaintedOver()) {
        const QRect source = Target ? r.translated(X, Y) & Target->rect() : QRect();
        if (source != r.translated(X, Y))
            p.fillRect(r, Qt::black);
        if (!source.isEmpty())
            p.DrawImagePart(source.translated(-X, -Y), *Target, source);
    }
    if (Target)
        m_painted.Remember(*Target, TargetPart(), fromTarget);
    PaintOver(p, fromTarget);
    for (const QRect& r : fromScreen)
        p.DrawImagePart(r, m_screen, r);
}

void CKompPaintBox::PaintOver(ScreenPainter&, const QRegion&) {}

QRegion CKompPaintBox::PaintedOver() const
{
    return QRegion();
}

void CKompPaintBox::hideEvent(QHideEvent* event)
{
    m_screenOnly = QRegion();
    m_painted.Forget();
    QWidget::hideEvent(event);
}
