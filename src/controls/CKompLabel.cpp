#include "controls/CKompLabel.h"

#include "app/CError.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CSharpText.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace {

void RequirePlace(const CDynamicPlace& placement, const char* operation)
{
    if ((placement.CurrentDP().Flags & PT_MASK) != PT_PLACE)
        throw CError(QStringLiteral("CKompLabel::%1 - Bieżący wpis nie jest typu PT_PLACE!")
                         .arg(QLatin1String(operation)));
}

// A look goes on the target as composed over the background; a look without
// a mask has no composite and goes on as it is.
void DrawLook(QImage& target, int x, int y, const CTransBitmap& look)
{
    const QImage* picture = look.Composite() ? look.Composite() : look.Image();
    if (!picture)
        return;
    QPainter p(&target);
    p.drawImage(x, y, *picture);
}

} // namespace

CKompLabel::CKompLabel(QWidget* owner, QImage* background, QImage* target)
    : CKompPaintBox(owner, background, target), Font(std::make_unique<QFont>(MakeFont(-12))),
      m_sharpText(std::make_unique<CSharpText>())
{
    Reactive = isEnabled();
}

CKompLabel::~CKompLabel() = default;

QFont CKompLabel::MakeFont(int height)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // A positive height is the whole cell, internal leading included.
        font.setPixelSize(height);
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, qRound(height * height / cell)));
    }
    return font;
}

void CKompLabel::Place(CDynamicPlace& placement, int offsetX, int offsetY)
{
    RequirePlace(placement, "Place");
    const int start = placement.Get_iCurrent();
    Kind = static_cast<uint8_t>(placement.Get_CParam());
    X = placement.Get_CLeft();
    Y = placement.Get_CTop();
    const int fontHeight = placement.Get_CSize();
    LoadImages(placement);
    const QImage* image = NormalImage.Image();
    setGeometry(offsetX + X, offsetY + Y, image ? image->width() : 0, image ? image->height() : 0);
    *Font = MakeFont(fontHeight);

    placement.Set_iCurrent(start + 1);
    const int flags = placement.Get_CParam();
    Center = (flags & 1) != 0;
    WordWrap = (flags & 2) != 0;
    const QRect r = placement.Get_CRect();
    TextRect.Left = r.x();
    TextRect.Top = r.y();
    TextRect.Right = r.x() + r.width();
    TextRect.Bottom = r.y() + r.height();
    if (TextRect.Right == 0)
        TextRect.Right = width() - TextRect.Left;
    if (TextRect.Bottom == 0)
        TextRect.Bottom = height() - TextRect.Top;

    // Past the text rectangle and the images.
    const int images = Kind == 2 ? 3 : 1;
    for (int i = 0; i <= images; ++i)
        placement.Next();
}

void CKompLabel::LoadImages(CDynamicPlace& placement)
{
    RequirePlace(placement, "LoadImages");
    const int kind = placement.Get_CParam();
    placement.Next();
    placement.Next();
    placement.GetTransBitmap(NormalImage);
    placement.Next();
    if (kind == 2) {
        placement.GetTransBitmap(HighlightImage);
        placement.Next();
        if (!NoPressedImage)
            placement.GetTransBitmap(PressedImage);
        placement.Next();
    }
    Recompose = true;
}

void CKompLabel::AlignText()
{
    if (WordWrap)
        return;
    const int textWidth = QFontMetrics(*Font).horizontalAdvance(Text);
    const int rectWidth = TextRect.Right - TextRect.Left;
    if (Center && textWidth <= rectWidth)
        TextX = TextRect.Left + rectWidth / 2 - textWidth / 2;
    else
        TextX = TextRect.Left;
}

CTransBitmap& CKompLabel::CurrentLook()
{
    CTransBitmap* look = &PressedImage;
    if (State == 0)
        look = &NormalImage;
    else if (State == 2 || NoPressedImage)
        look = &HighlightImage;
    // A label with fewer looks than states keeps its normal one.
    return look->Image() ? *look : NormalImage;
}

void CKompLabel::ComposeLooks()
{
    QImage* const normalMask = NormalImage.Mask();
    NormalImage.Compose(NormalImage.Image(), normalMask, 255, Background, X, Y);
    if (Kind != 2)
        return;
    HighlightImage.Compose(HighlightImage.Image(),
                           HighlightImage.Mask() ? HighlightImage.Mask() : normalMask, 255,
                           Background, X, Y);
    if (!NoPressedImage)
        PressedImage.Compose(PressedImage.Image(),
                             PressedImage.Mask() ? PressedImage.Mask() : normalMask, 255,
                             Background, X, Y);
}

void CKompLabel::DrawText()
{
    m_sharpText->Forget();
    const QString text = Cursor ? Text + QStringLiteral("_") : Text;
    if (text.isEmpty())
        return;
    const QRect rect(X + TextRect.Left, Y + TextRect.Top, TextRect.Right - TextRect.Left,
                     TextRect.Bottom - TextRect.Top);
    if (rect.isEmpty())
        return;
    CSharpText::SText drawn;
    drawn.Clip = rect;
    drawn.Text = text;
    drawn.Font = WordWrap ? FittingFont(text, rect) : *Font;
    drawn.Colour = TextColor;
    if (WordWrap) {
        drawn.Box = rect;
        drawn.Flags = Qt::AlignTop | (Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::TextWordWrap;
    } else {
        drawn.Box = QRect(X + TextX, rect.top(), rect.right() + 1 - (X + TextX), rect.height());
        drawn.Flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    }
    m_sharpText->Draw(*Target, drawn, devicePixelRatioF() > 1.0);
}

void CKompLabel::PaintOver(ScreenPainter& painter, const QRegion& fromTarget)
{
    if (Target)
        m_sharpText->DrawSharp(painter, *Target, QPoint(-X, -Y), fromTarget);
}

QRegion CKompLabel::PaintedOver() const
{
    return Target ? m_sharpText->Covered(*Target, QPoint(-X, -Y)) : QRegion();
}

QFont CKompLabel::FittingFont(const QString& text, const QRect& rect) const
{
    // A wrapped text longer than the label was made for gets smaller letters
    // rather than losing its last line; never below two thirds of the size.
    QFont font = *Font;
    const int flags = Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap;
    const int size = font.pixelSize();
    for (int s = size; s > 0 && s * 3 >= size * 2; --s) {
        font.setPixelSize(s);
        if (QFontMetrics(font).boundingRect(rect, flags, text).height() <= rect.height())
            break;
    }
    return font;
}

void CKompLabel::Draw()
{
    if (!isVisible() || !Target)
        return;
    if (Recompose) {
        ComposeLooks();
        Recompose = false;
    }
    DrawLook(*Target, X, Y, CurrentLook());
    DrawText();
}

void CKompLabel::Repaint()
{
    if (!isVisible())
        return;
    Draw();
    CopyTargetToScreen();
}

void CKompLabel::MoveTo(int x, int y)
{
    if (x == X && y == Y)
        return;
    MoveBy(x, y);
    Recompose = true;
}

void CKompLabel::MoveToY(int y)
{
    MoveTo(X, y);
}

void CKompLabel::SetLook(bool reactive, uint8_t state)
{
    Reactive = reactive;
    State = state;
}

void CKompLabel::SetRuledOut(bool ruledOut)
{
    SetLook(!ruledOut, ruledOut ? 1 : 0);
    TextColor = ruledOut ? QColor(DimTextRgb) : QColor(Qt::black);
}

void CKompLabel::SetState(uint8_t state, bool repaint)
{
    State = state;
    if (repaint)
        Repaint();
}

void CKompLabel::DropPressedImage()
{
    PressedImage.Release();
    NoPressedImage = true;
}

void CKompLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_clicked = true;
    Press(event);
}

void CKompLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The release that ends a double click is no click.
    m_clicked = false;
    Press(event);
}

void CKompLabel::Press(QMouseEvent* event)
{
    if (FollowsMouse() && event->button() == Qt::LeftButton) {
        State = 1;
        Repaint();
    }
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->position().toPoint());
}

void CKompLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (FollowsMouse() && isEnabled()) {
        State = State == 2 ? 0 : 2;
        Repaint();
    }
    const bool clicked = m_clicked && rect().contains(event->position().toPoint());
    m_clicked = false;
    if (clicked && OnClick)
        OnClick(this);
}

void CKompLabel::enterEvent(QEnterEvent* event)
{
    if (FollowsMouse() && isEnabled() && window()->isActiveWindow()) {
        State = State != 0 ? 1 : 2;
        Repaint();
    }
    CKompPaintBox::enterEvent(event);
}

void CKompLabel::leaveEvent(QEvent* event)
{
    if (FollowsMouse() && isEnabled()) {
        if (NoPressedImage)
            State = 0;
        else
            State = State == 1 ? 2 : 0;
        Repaint();
    }
    CKompPaintBox::leaveEvent(event);
}

void CKompLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && FollowsMouse())
        State = 0;
    CKompPaintBox::changeEvent(event);
}
