#include "therapy/CGraphicsMenu.h"

#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"

#include <QMouseEvent>
#include <QPainter>

CGraphicsMenu::CGraphicsMenu(QWidget* owner) : QWidget(owner)
{
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    hide();
}

CGraphicsMenu::~CGraphicsMenu() = default;

void CGraphicsMenu::SetItemCount(int n)
{
    m_items.Clear();
    for (int i = 0; i < n; ++i)
        m_items.Add(SItem{});
    m_shown.Clear();
    m_itemHeight = 0;
}

void CGraphicsMenu::SetItemImages(int index, std::unique_ptr<QImage> normal,
                                  std::unique_ptr<QImage> highlighted)
{
    if (index < 0 || index >= m_items.Count())
        return;
    if (m_itemHeight == 0 && normal)
        m_itemHeight = normal->height();
    m_items[index].Normal = std::move(normal);
    m_items[index].Highlighted = std::move(highlighted);
}

void CGraphicsMenu::SetFrameImages(const CTransBitmap& header, const CTransBitmap& footer)
{
    m_header.Assign(header);
    m_footer.Assign(footer);
}

void CGraphicsMenu::ShowItems(const MyArray<int>& list)
{
    m_shown.Clear();
    for (int index : list)
        if (index >= 0 && index < m_items.Count())
            m_shown.Add(index);
}

void CGraphicsMenu::ShowAllItems()
{
    m_shown.Clear();
    for (int i = 0; i < m_items.Count(); ++i)
        m_shown.Add(i);
}

void CGraphicsMenu::HideAllItems()
{
    m_shown.Clear();
}

bool CGraphicsMenu::ItemAt(int y, int& item, int& row) const
{
    item = -1;
    row = -1;
    if (m_itemHeight <= 0 || y < m_itemsArea.top())
        return false;
    const int r = (y - m_itemsArea.top()) / m_itemHeight;
    if (r < 0 || r >= m_shown.Count())
        return false;
    row = r;
    item = m_shown[r];
    return true;
}

void CGraphicsMenu::Popup()
{
    const QImage* header = m_header.Image();
    const QImage* footer = m_footer.Image();
    const int headerH = header ? header->height() : 0;
    const int footerH = footer ? footer->height() : 0;
    const int w = header ? header->width() : 0;
    const int h = headerH + m_shown.Count() * m_itemHeight + footerH;
    m_itemsArea = QRect(0, headerH, w, h - footerH - headerH);
    resize(w, h);
    m_hotItem = -1;
    m_hotRow = -1;

    // The frame's soft edges blend over what the owner shows under the menu.
    QImage under(w, h, QImage::Format_RGB32);
    under.fill(Qt::black);
    if (QWidget* parent = parentWidget())
        parent->render(&under, QPoint(0, 0), QRegion(geometry()), QWidget::DrawChildren);
    m_canvas = NewBitmap24(w, h);
    {
        QPainter p(&m_canvas);
        p.drawImage(0, 0, under);
    }
    m_header.Draw(m_canvas, 0, 0, 255, false);
    m_footer.Draw(m_canvas, 0, m_itemsArea.top() + m_itemsArea.height(), 255, false);
    for (int row = 0; row < m_shown.Count(); ++row)
        DrawRow(row, false);

    raise();
    show();
    grabMouse();
    m_pressed = false;
}

void CGraphicsMenu::DrawRow(int row, bool highlighted)
{
    if (row < 0 || row >= m_shown.Count())
        return;
    const SItem& item = m_items[m_shown[row]];
    const QImage* image = highlighted ? item.Highlighted.get() : item.Normal.get();
    if (!image || m_canvas.isNull())
        return;
    const int y = m_itemsArea.top() + row * m_itemHeight;
    {
        QPainter p(&m_canvas);
        p.drawImage(0, y, *image);
    }
    update(0, y, width(), m_itemHeight);
}

void CGraphicsMenu::paintEvent(QPaintEvent*)
{
    if (m_canvas.isNull())
        return;
    ScreenPainter p(this);
    p.drawImage(0, 0, m_canvas);
}

void CGraphicsMenu::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void CGraphicsMenu::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!m_itemsArea.contains(pos)) {
        if (m_hotRow >= 0)
            DrawRow(m_hotRow, false);
        m_hotItem = -1;
        m_hotRow = -1;
        return;
    }
    if (m_pressed)
        return;
    int item = -1;
    int row = -1;
    if (!ItemAt(pos.y(), item, row) || item == m_hotItem)
        return;
    if (m_hotRow >= 0)
        DrawRow(m_hotRow, false);
    DrawRow(row, true);
    m_hotItem = item;
    m_hotRow = row;
}

void CGraphicsMenu::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    releaseMouse();
    hide();
    m_pressed = false;
    const QPoint pos = event->position().toPoint();
    // A release outside the rows chooses nothing, whatever was highlighted.
    const bool inside = m_itemsArea.contains(pos);
    if (OnSelect)
        OnSelect(inside ? m_hotItem : -1, inside ? m_hotRow : -1, pos.x(), pos.y());
}
