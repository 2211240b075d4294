#include "mainwindow/CKompBookmarks.h"

#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"
#include "graphics/CDynamicPlace.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace {

void DrawAt(QImage& target, int x, int y, const QImage* image)
{
    if (!image || image->isNull())
        return;
    QPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(x, y, *image);
}

} // namespace

CKompBookmarks::CKompBookmarks(QWidget* paintBox) : m_paintBox(paintBox)
{
    m_paintBox->installEventFilter(this);
    // The strip covers the whole paint box: nothing to erase first.
    m_paintBox->setAttribute(Qt::WA_OpaquePaintEvent);
}

CKompBookmarks::~CKompBookmarks()
{
    if (m_paintBox)
        m_paintBox->removeEventFilter(this);
}

void CKompBookmarks::Setup(CDynamicPlace& layout)
{
    layout.PlaceComponent(m_paintBox);
    const int n = layout.Get_CParam();
    layout.Next();

    // A rebuild after a colour switch keeps the ticks; new bookmarks start
    // unticked.
    MyArray<CBookmark> bookmarks;
    for (int i = 0; i < n; ++i) {
        CBookmark b;
        b.Ticked = i < m_bookmarks.Count() && m_bookmarks[i].Ticked;
        bookmarks.Add(std::move(b));
    }
    m_bookmarks = std::move(bookmarks);
    if (m_current >= n)
        m_current = -1;

    const int w = m_paintBox->width();
    const int h = m_paintBox->height();
    m_noneImage = layout.SuitableBitmap(layout.CurrentDP(), false, w, h);
    layout.Next();
    for (CBookmark& b : m_bookmarks) {
        b.Image = layout.SuitableBitmap(layout.CurrentDP(), false, w, h);
        layout.Next();
    }
    layout.GetTransBitmap(m_tick);
    layout.Next();

    for (CBookmark& b : m_bookmarks) {
        b.HasSquare = layout.Get_CParam() != 0;
        b.Left = layout.Get_CLeft();
        b.Top = layout.Get_CTop();
        b.Bottom = layout.Get_CBottom();
        b.Right = b.Image->width();
        layout.Next();
    }
    const QSize tick = m_tick.Image() ? m_tick.Image()->size() : QSize(0, 0);
    for (CBookmark& b : m_bookmarks) {
        if (!b.HasSquare)
            continue;
        b.SquareX = layout.Get_CX();
        b.SquareY = layout.Get_CY();
        b.SquareRight = b.SquareX + tick.width();
        b.SquareBottom = b.SquareY + tick.height();
        layout.Next();
    }
    PrepareSquares();

    m_buffer = NewBitmap24(w, h);
    Compose();
}

// Each square's tick, composed once over the strip without and with its own
// bookmark raised, so that drawing a tick is a plain copy.
void CKompBookmarks::PrepareSquares()
{
    auto tickOver = [this](const QImage* strip, int x, int y) {
        CTransBitmap composer;
        if (m_tick.Mask()) {
            composer.Compose(m_tick.Image(), m_tick.Mask(), 255, strip, x, y);
            return composer.TakeComposite();
        }
        // A tick without a mask is drawn whole.
        return std::make_unique<QImage>(m_tick.Image() ? m_tick.Image()->copy() : QImage());
    };
    for (CBookmark& b : m_bookmarks) {
        if (!b.HasSquare)
            continue;
        b.OffImage = tickOver(m_noneImage.get(), b.SquareX, b.SquareY);
        b.OnImage = tickOver(b.Image.get(), b.SquareX, b.SquareY);
    }
}

void CKompBookmarks::Compose()
{
    if (m_buffer.isNull())
        return;
    const QImage* strip = m_current >= 0 ? m_bookmarks[m_current].Image.get() : m_noneImage.get();
    DrawAt(m_buffer, 0, 0, strip);
    for (int i = 0; i < m_bookmarks.Count(); ++i) {
        const CBookmark& b = m_bookmarks[i];
        if (b.HasSquare && b.Ticked)
            DrawAt(m_buffer, b.SquareX, b.SquareY,
                   i == m_current ? b.OnImage.get() : b.OffImage.get());
    }
}

void CKompBookmarks::Paint()
{
    m_paintBox->update();
}

void CKompBookmarks::Redraw()
{
    Compose();
    Paint();
}

void CKompBookmarks::SetCurrent(int index)
{
    const int old = m_current;
    m_current = index;
    Redraw();
    if (OnChange)
        OnChange(old, index);
}

int CKompBookmarks::GetTickMask() const
{
    int mask = 0;
    int bit = 0;
    for (const CBookmark& b : m_bookmarks) {
        if (!b.HasSquare)
            continue;
        if (b.Ticked)
            mask |= 1 << bit;
        ++bit;
    }
    return mask;
}

void CKompBookmarks::SetTickMask(int mask)
{
    int bit = 0;
    for (CBookmark& b : m_bookmarks) {
        if (!b.HasSquare)
            continue;
        b.Ticked = (mask >> bit & 1) != 0;
        ++bit;
    }
}

void CKompBookmarks::Click(int x, int y)
{
    if (!Active)
        return;
    for (int i = 0; i < m_bookmarks.Count(); ++i) {
        CBookmark& b = m_bookmarks[i];
        if (b.HasSquare && b.SquareX - SquareMargin <= x && x < b.SquareRight + SquareMargin &&
            b.SquareY - SquareMargin <= y && y < b.SquareBottom + SquareMargin) {
            b.Ticked = !b.Ticked;
            if (OnTick)
                OnTick(i, b.Ticked);
            Redraw();
            return;
        }
    }
    for (int i = 0; i < m_bookmarks.Count(); ++i) {
        const CBookmark& b = m_bookmarks[i];
        if (b.Left <= x && x < b.Right && b.Top <= y && y < b.Bottom) {
            const int old = m_current;
            m_current = i;
            Redraw();
            if (OnChange)
                OnChange(old, i);
            return;
        }
    }
}

bool CKompBookmarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_paintBox)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        if (!m_buffer.isNull()) {
            ScreenPainter p(m_paintBox);
            p.drawImage(0, 0, m_buffer);
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        Click(pos.x(), pos.y());
        return true;
    }
    default:
        return false;
    }
}
