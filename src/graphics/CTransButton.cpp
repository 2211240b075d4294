#include "graphics/CTransButton.h"

#include "app/ScreenPainter.h"
#include "graphics/BlendKernels.h"
#include "graphics/CDynamicPlace.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>

namespace {
std::function<void()> ActionHandler(QAction* action)
{
    if (!action)
        return {};
    return [action] { action->trigger(); };
}

const QImage* FirstOf(std::initializer_list<const QImage*> images)
{
    for (const QImage* img : images)
        if (img)
            return img;
    return nullptr;
}
} // namespace

CTransButton::CTransButton(QWidget* owner, int kind, QAction* action, QImage** background)
    : QWidget(owner), m_form(owner ? owner->window() : nullptr), m_background(background),
      m_onClick(ActionHandler(action))
{
    Init(kind, -1);
}

CTransButton::CTransButton(QWidget* owner, int kind, std::function<void()> handler,
                           QImage** background)
    : QWidget(owner), m_form(owner ? owner->window() : nullptr), m_background(background),
      m_onClick(std::move(handler))
{
    Init(kind, -1);
}

CTransButton::CTransButton(QWidget* parent, int kind, QAction* action, int colour, QWidget* form)
    : QWidget(parent), m_form(form), m_onClick(ActionHandler(action))
{
    Init(kind, colour);
}

CTransButton::~CTransButton() = default;

void CTransButton::Init(int kind, int colour)
{
    m_kind = kind;
    m_solidColour = colour != -1;
    m_colour = static_cast<uint32_t>(colour) & 0x7fffffffu;
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_state = EState::Normal;
}

const QImage* CTransButton::CurrentComposite() const
{
    switch (m_state) {
    case EState::Hover:
        return m_hover.Composite();
    case EState::Pressed:
        return m_pressed.Composite();
    case EState::Disabled:
        return m_disabled.Composite();
    default:
        return m_normal.Composite();
    }
}

void CTransButton::PlaceFromTable(CDynamicPlace& table)
{
    const int left = table.Get_CX();
    const int top = table.Get_CY();
    table.Next();
    table.GetTransBitmap(m_normal);
    table.Next();
    table.GetTransBitmap(m_hover);
    table.Next();
    table.GetTransBitmap(m_pressed);
    table.Next();
    const QSize size = m_normal.Image() ? m_normal.Image()->size() : QSize(0, 0);
    for (CTransBitmap* state : {&m_hover, &m_pressed})
        if (state->Image() && state->Image()->size() != size)
            state->Release();
    setGeometry(left, top, size.width(), size.height());
    m_recompose = true;
}

void CTransButton::PrepareDisabled()
{
    if (m_disabledPrepared)
        return;
    m_disabledPrepared = true;
    if (m_background && *m_background) {
        ComposeDisabled(*m_background, x() - BgOffsetX, y() - BgOffsetY);
    } else {
        m_recompose = true;
        update();
    }
}

void CTransButton::SetEnabled(bool enabled, bool repaint)
{
    if (!m_disabledPrepared) {
        const bool composeNow = m_background != nullptr;
        PrepareDisabled();
        if (!composeNow)
            repaint = false;
    }
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled && !isEnabled())
        setEnabled(true);
    SelectState();
    if (repaint)
        Draw();
}

void CTransButton::MoveTo(int x, int y, bool recompose)
{
    if (pos() == QPoint(x, y))
        return;
    const bool visible = isVisible();
    hide();
    move(x, y);
    setVisible(visible);
    if (recompose)
        m_recompose = true;
}

void CTransButton::SetColour(int colour)
{
    m_solidColour = colour != -1;
    m_colour = static_cast<uint32_t>(colour) & 0x7fffffffu;
    Refresh();
}

void CTransButton::Refresh()
{
    m_recompose = true;
    update();
}

void CTransButton::SelectState()
{
    if (!IsFullyEnabled())
        m_state = EState::Disabled;
    else if (!m_pressedFlag)
        m_state = m_mouseInside ? EState::Hover : EState::Normal;
    else
        m_state = m_mouseInside ? EState::Pressed : EState::Hover;
}

void CTransButton::Draw()
{
    if (!isVisible())
        return;
    if (m_recompose)
        ComposeStates();
    update();
}

void CTransButton::ComposeDisabled(const QImage* bg, int bx, int by)
{
    const QImage* image = m_normal.Image();
    if (!image)
        return;
    if (m_solidColour) {
        if (!m_normal.Mask())
            return;
        QImage* comp = m_disabled.EnsureComposite(image->width(), image->height());
        BlendOnColor(*comp, 0, 0, DisabledOpacity, m_colour, *m_normal.Mask(), *image);
        return;
    }
    m_disabled.Compose(image, FirstOf({m_normal.Mask(), m_pressed.Mask()}), DisabledOpacity, bg, bx,
                       by);
}

void CTransButton::ComposeStates()
{
    m_recompose = false;
    const QImage* bg = nullptr;
    int bx = 0;
    int by = 0;
    QImage under;
    if (!m_solidColour) {
        if (m_background) {
            if (!*m_background) {
                m_recompose = true;
                return;
            }
            bg = *m_background;
            bx = x() - BgOffsetX;
            by = y() - BgOffsetY;
        } else {
            QWidget* parent = parentWidget();
            if (!parent || width() <= 0 || height() <= 0) {
                m_recompose = true;
                return;
            }
            under = QImage(size(), QImage::Format_RGB32);
            under.fill(Qt::black);
            parent->render(&under, QPoint(0, 0), QRegion(geometry()),
                           QWidget::DrawWindowBackground);
            bg = &under;
        }
    }
    auto compose = [&](CTransBitmap& state, const QImage* mask) {
        const QImage* image = state.Image();
        if (!image || !mask)
            return;
        if (m_solidColour) {
            QImage* comp = state.EnsureComposite(image->width(), image->height());
            BlendOnColor(*comp, 0, 0, 255, m_colour, *mask, *image);
        } else {
            state.Compose(image, mask, 255, bg, bx, by);
        }
    };
    compose(m_normal, FirstOf({m_normal.Mask(), m_pressed.Mask()}));
    if (m_disabledPrepared)
        ComposeDisabled(bg, bx, by);
    compose(m_hover, FirstOf({m_hover.Mask(), m_normal.Mask(), m_pressed.Mask()}));
    compose(m_pressed, FirstOf({m_pressed.Mask(), m_normal.Mask()}));
}

void CTransButton::Press(bool armClick)
{
    m_pressedFlag = true;
    m_clickArmed = armClick && IsFullyEnabled();
    SelectState();
    if (IsFullyEnabled())
        Draw();
}

void CTransButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Press(true);
    event->accept();
}

void CTransButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Kind 0 buttons take a fast second click as a double click (no click);
    // the others count it as another click.
    if (event->button() == Qt::LeftButton)
        Press(m_kind != 0);
    event->accept();
}

void CTransButton::mouseMoveEvent(QMouseEvent* event)
{
    // While the button is held, dragging out and back in changes the look.
    if (!m_pressedFlag)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside == m_mouseInside)
        return;
    m_mouseInside = inside;
    SelectState();
    if (IsFullyEnabled())
        Draw();
}

void CTransButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = m_clickArmed && inside && IsFullyEnabled();
    m_pressedFlag = false;
    m_clickArmed = false;
    SelectState();
    if (IsFullyEnabled())
        Draw();
    if (click && m_onClick)
        m_onClick();
}

void CTransButton::paintEvent(QPaintEvent*)
{
    if (m_recompose)
        ComposeStates();
    const QImage* comp = CurrentComposite();
    if (!comp || comp->isNull())
        return;
    ScreenPainter p(this);
    p.drawImage(0, 0, *comp);
}

void CTransButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!m_disabledPrepared)
            PrepareDisabled();
        if (isEnabled())
            m_enabled = true;
        SelectState();
    }
    QWidget::changeEvent(event);
}

void CTransButton::enterEvent(QEnterEvent* event)
{
    if (!IsFullyEnabled() || !m_form || !m_form->isActiveWindow())
        return;
    m_mouseInside = true;
    SelectState();
    Draw();
    QWidget::enterEvent(event);
}

void CTransButton::leaveEvent(QEvent* event)
{
    m_mouseInside = false;
    SelectState();
    if (!IsFullyEnabled())
        return;
    Draw();
    QWidget::leaveEvent(event);
}

void CTransButton::moveEvent(QMoveEvent* event)
{
    m_recompose = true;
    QWidget::moveEvent(event);
}
