#include "therapy/CKompGrComboBox.h"

#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"
#include "graphics/BlendKernels.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CTransButton.h"
#include "therapy/CGraphicsMenu.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QImage* FirstOf(std::initializer_list<const QImage*> images)
{
    for (const QImage* img : images)
        if (img)
            return img;
    return nullptr;
}

// Every row of the bitmap becomes a copy of its first row, at the new height.
void StretchFirstRow(QImage& bitmap, int height)
{
    if (bitmap.isNull() || height <= 0)
        return;
    Make24(bitmap);
    QImage rows = NewBitmap24(bitmap.width(), height);
    const qsizetype bytes = static_cast<qsizetype>(bitmap.width()) * 3;
    for (int y = 0; y < height; ++y)
        memcpy(rows.scanLine(y), bitmap.constScanLine(0), static_cast<size_t>(bytes));
    bitmap = std::move(rows);
}

// The caption blended over `under` at (x, y) into dest at (x, y).
void BlendCaption(QImage& dest, const QImage& under, const CTransBitmap& caption, int x, int y)
{
    const QImage* image = caption.Image();
    const QImage* mask = caption.Mask();
    if (!image || !mask)
        return;
    BlendClipped(dest, x, y, 255, under, x, y, QRect(0, 0, image->width(), image->height()), *mask,
                 *image);
}
} // namespace

CKompGrComboBox::CKompGrComboBox(QWidget* owner, QImage** background)
    : QWidget(owner), m_menu(std::make_unique<CGraphicsMenu>(owner)), m_background(background)
{
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_menu->OnSelect = [this](int item, int row, int x, int y) { MenuSelected(item, row, x, y); };
}

CKompGrComboBox::~CKompGrComboBox() = default;

void CKompGrComboBox::PlaceFromTable(CDynamicPlace& table)
{
    const int left = table.Get_CLeft();
    const int top = table.Get_CTop();
    const int n = table.Get_CParam();
    table.Next();
    m_captions.clear();
    for (int i = 0; i < n; ++i)
        m_captions.push_back(std::make_unique<CTransBitmap>());
    m_menu->SetItemCount(n);

    for (CTransBitmap* look : {&m_normal, &m_hot, &m_pressed}) {
        table.GetTransBitmap(*look);
        table.Next();
    }
    CTransBitmap header;
    CTransBitmap footer;
    table.GetTransBitmap(header);
    table.Next();
    table.GetTransBitmap(footer);
    table.Next();
    m_menu->SetFrameImages(header, footer);
    m_itemBackNormal = table.SuitableBitmap(table.CurrentDP(), false, 0, 0);
    table.Next();
    m_itemBackHighlighted = table.SuitableBitmap(table.CurrentDP(), false, 0, 0);
    table.Next();
    const int itemCaptionX = table.Get_CX();
    const int itemHeight = table.Get_CY();
    table.Next();
    m_captionX = table.Get_CX();
    m_captionY = table.Get_CY();
    table.Next();
    m_pressedDX = table.Get_CX();
    m_pressedDY = table.Get_CY();
    table.Next();
    for (int i = 0; i < n; ++i) {
        table.GetTransBitmap(*m_captions[static_cast<size_t>(i)]);
        table.Next();
    }

    BuildMenuItems(itemCaptionX, itemHeight);
    DrawCaption();
    Refresh();

    const QImage* image = m_normal.Image();
    const int w = image ? image->width() : 0;
    const int h = image ? image->height() : 0;
    setGeometry(left, top, w, h);
    m_needsCompose = true;
    m_menu->ShowAllItems();
    m_dropOffset = h;
    m_menu->move(left, top + m_dropOffset);
}

void CKompGrComboBox::BuildMenuItems(int captionX, int itemHeight)
{
    if (!m_itemBackNormal || !m_itemBackHighlighted || m_captions.empty())
        return;
    StretchFirstRow(*m_itemBackNormal, itemHeight);
    StretchFirstRow(*m_itemBackHighlighted, itemHeight);
    const QImage* first = m_captions.front()->Image();
    const int y = (itemHeight - (first ? first->height() : 0)) / 2;
    QImage normal = m_itemBackNormal->copy();
    QImage highlighted = m_itemBackHighlighted->copy();
    for (size_t i = 0; i < m_captions.size(); ++i) {
        BlendCaption(normal, *m_itemBackNormal, *m_captions[i], captionX, y);
        BlendCaption(highlighted, *m_itemBackHighlighted, *m_captions[i], captionX, y);
        m_menu->SetItemImages(static_cast<int>(i), std::make_unique<QImage>(normal.copy()),
                              std::make_unique<QImage>(highlighted.copy()));
    }
}

void CKompGrComboBox::DrawCaption()
{
    if (m_selected < 0 || m_selected >= m_menu->Shown().Count())
        return;
    const int item = m_menu->Shown()[m_selected];
    if (item < 0 || item >= static_cast<int>(m_captions.size()))
        return;
    const CTransBitmap& caption = *m_captions[static_cast<size_t>(item)];
    auto draw = [&](CTransBitmap& look, int x, int y) {
        if (look.Composite() && look.Image())
            BlendCaption(*look.Composite(), *look.Image(), caption, x, y);
    };
    draw(m_normal, m_captionX, m_captionY);
    draw(m_hot, m_captionX, m_captionY);
    draw(m_pressed, m_captionX + m_pressedDX, m_captionY + m_pressedDY);
}

bool CKompGrComboBox::Compose()
{
    const QImage* bg = nullptr;
    int bx = 0;
    int by = 0;
    QImage under;
    if (m_background) {
        if (!*m_background)
            return false;
        bg = *m_background;
        bx = x() - BackX;
        by = y() - BackY;
    } else {
        QWidget* parent = parentWidget();
        if (!parent || width() <= 0 || height() <= 0)
            return false;
        under = QImage(size(), QImage::Format_RGB32);
        under.fill(Qt::black);
        parent->render(&under, QPoint(0, 0), QRegion(geometry()), QWidget::DrawWindowBackground);
        bg = &under;
    }
    m_needsCompose = false;
    if (isEnabled()) {
        m_normal.Compose(m_normal.Image(), FirstOf({m_normal.Mask(), m_pressed.Mask()}), 255, bg,
                         bx, by);
        m_hot.Compose(m_hot.Image(), FirstOf({m_hot.Mask(), m_normal.Mask(), m_pressed.Mask()}),
                      255, bg, bx, by);
        m_pressed.Compose(m_pressed.Image(), FirstOf({m_pressed.Mask(), m_normal.Mask()}), 255, bg,
                          bx, by);
    } else {
        m_normal.Compose(m_normal.Image(), FirstOf({m_normal.Mask(), m_pressed.Mask()}),
                         CTransButton::DisabledOpacity, bg, bx, by);
    }
    DrawCaption();
    return true;
}

void CKompGrComboBox::SetSelected(int row)
{
    if (row == m_selected || row < 0 || row >= m_menu->Shown().Count())
        return;
    m_selected = row;
    if (m_background) {
        Compose();
        update();
    } else {
        Refresh();
    }
}

void CKompGrComboBox::Refresh()
{
    m_needsCompose = true;
    update();
}

const QImage* CKompGrComboBox::CurrentComposite() const
{
    if (!isEnabled())
        return m_normal.Composite();
    switch (m_current) {
    case ELook::Hot:
        return m_hot.Composite();
    case ELook::Pressed:
        return m_pressed.Composite();
    default:
        return m_normal.Composite();
    }
}

void CKompGrComboBox::SetLook(ELook look)
{
    m_current = look;
    update();
}

void CKompGrComboBox::paintEvent(QPaintEvent*)
{
    if (m_needsCompose)
        Compose();
    const QImage* comp = CurrentComposite();
    if (!comp || comp->isNull())
        return;
    ScreenPainter p(this);
    p.drawImage(0, 0, *comp);
}

void CKompGrComboBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_clickArmed = true;
    SetLook(ELook::Pressed);
}

void CKompGrComboBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (isEnabled() && m_current == ELook::Hot)
        SetLook(ELook::Normal);
    const bool click = m_clickArmed && rect().contains(event->position().toPoint());
    m_clickArmed = false;
    if (!click || !isEnabled())
        return;
    m_menu->move(x(), y() + m_dropOffset);
    m_menu->Popup();
}

void CKompGrComboBox::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (!isEnabled() || !window()->isActiveWindow())
        return;
    SetLook(m_current == ELook::Normal ? ELook::Hot : ELook::Pressed);
}

void CKompGrComboBox::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!isEnabled())
        return;
    SetLook(m_current == ELook::Pressed ? ELook::Hot : ELook::Normal);
}

void CKompGrComboBox::moveEvent(QMoveEvent* event)
{
    m_needsCompose = true;
    QWidget::moveEvent(event);
}

void CKompGrComboBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        m_needsCompose = true;
    QWidget::changeEvent(event);
}

void CKompGrComboBox::MenuSelected(int item, int row, int x, int y)
{
    bool changed = false;
    if (row != -1 && row != m_selected) {
        m_selected = row;
        // The title is blended over the look's own image, so it replaces the
        // previous one.
        DrawCaption();
        changed = true;
    }
    const QPoint inParent = m_menu->mapToParent(QPoint(x, y));
    SetLook(geometry().contains(inParent) ? ELook::Hot : ELook::Normal);
    if (changed && OnChange)
        OnChange(item, row, inParent.x(), inParent.y());
}
