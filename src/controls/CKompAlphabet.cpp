#include "controls/CKompAlphabet.h"

#include "app/CError.h"
#include "graphics/BlendKernels.h"
#include "graphics/CDynamicPlace.h"

#include <QMouseEvent>
#include <QPainter>
#include <QThread>

namespace {

// The small Polish letters outside ASCII and their capitals.
const QString SmallPolish = QStringLiteral("ąęśćńźżół");
const QString CapitalPolish = QStringLiteral("ĄĘŚĆŃŹŻÓŁ");

} // namespace

CKompAlphabet::CKompAlphabet(QWidget* owner, QImage* background, QImage* target)
    : CKompPaintBox(owner, background, target)
{
    setMouseTracking(true);
}

CKompAlphabet::~CKompAlphabet() = default;

void CKompAlphabet::Create(CDynamicPlace& placement, int offsetX,
                           const MyArray<CSharedKomps::SAlphLetter>& letters, int offsetY)
{
    const int start = placement.Get_iCurrent();
    X = placement.Get_CLeft();
    Y = placement.Get_CTop();
    move(offsetX + X, offsetY + Y);
    if (placement.Get_CParam() != letters.Count())
        throw CError(QStringLiteral("CKompAlphabet::Create - Niezgodność ilości liter!"));
    placement.Next();
    Rows = std::max(1, placement.Get_CParam());
    placement.Set_iCurrent(start);
    LoadImages(placement, letters);
    const QImage* first = Letters.empty() ? nullptr : Letters.front().NormalImage;
    CellWidth = first ? first->width() : 0;
    CellHeight = first ? first->height() : 0;
    Columns = (LetterCount + Rows - 1) / Rows;
    resize(Columns * CellWidth, Rows * CellHeight);
}

void CKompAlphabet::LoadImages(CDynamicPlace& placement,
                               const MyArray<CSharedKomps::SAlphLetter>& letters)
{
    placement.Next();
    placement.Next();
    placement.GetTransBitmap(DimOverlay);
    placement.Next();
    std::vector<SAlphLetter> copy;
    copy.reserve(static_cast<std::size_t>(letters.Count()));
    for (const CSharedKomps::SAlphLetter& letter : letters)
        copy.push_back(SAlphLetter{letter.Letter, StateNormal, letter.Bitmap.get(),
                                   letter.BrightBitmap.get()});
    Letters = std::move(copy);
    LetterCount = static_cast<int>(Letters.size());
    Recompose = true;
}

void CKompAlphabet::MoveTo(int x, int y)
{
    MoveBy(x, y);
    Recompose = true;
}

QRect CKompAlphabet::CellRect(int index) const
{
    if (Columns <= 0)
        return QRect();
    return QRect((index % Columns) * CellWidth, (index / Columns) * CellHeight, CellWidth,
                 CellHeight);
}

void CKompAlphabet::DrawLetter(int index)
{
    const SAlphLetter& letter = Letters[static_cast<std::size_t>(index)];
    if (!Target || !letter.NormalImage)
        return;
    const QPoint at = CellRect(index).topLeft() + QPoint(X, Y);
    const QImage* dim = DimOverlay.Image();
    const QImage* dimMask = DimOverlay.Mask();
    if (letter.LetterState == StateRuledOut && dim && dimMask) {
        BlendClipped(*Target, at.x(), at.y(), 255, *letter.NormalImage, 0, 0, dim->rect(), *dimMask,
                     *dim);
        return;
    }
    QPainter p(Target);
    p.drawImage(at, *letter.NormalImage);
}

void CKompAlphabet::Draw()
{
    if (!isVisible())
        return;
    for (int i = 0; i < LetterCount; ++i)
        DrawLetter(i);
    Recompose = false;
}

void CKompAlphabet::Repaint()
{
    if (!isVisible())
        return;
    Draw();
    CopyTargetToScreen();
}

void CKompAlphabet::SetAllStates(uint8_t state)
{
    for (SAlphLetter& letter : Letters)
        letter.LetterState = state;
}

int CKompAlphabet::FindLetter(QChar character) const
{
    char16_t code = character.unicode();
    if (code < 140)
        code &= ~char16_t(0x20);
    const qsizetype small = SmallPolish.indexOf(QChar(code));
    if (small >= 0)
        code = CapitalPolish[small].unicode();
    for (int i = 0; i < LetterCount; ++i)
        if (Letters[static_cast<std::size_t>(i)].Letter.unicode() == code)
            return i;
    return -1;
}

int CKompAlphabet::HitTest(int x, int y) const
{
    if (CellWidth <= 0 || CellHeight <= 0 || x < 0 || y < 0 || x >= Columns * CellWidth ||
        y >= Rows * CellHeight)
        return -1;
    const int index = x / CellWidth + (y / CellHeight) * Columns;
    return index < LetterCount ? index : -1;
}

void CKompAlphabet::DrawCell(int index, bool hot)
{
    // A hidden alphabet belongs to no exercise: it must leave the exercise
    // bitmap to the one shown.
    if (index < 0 || index >= LetterCount || !isVisible())
        return;
    const SAlphLetter& letter = Letters[static_cast<std::size_t>(index)];
    const QRect cell = CellRect(index);
    if (letter.LetterState == StateRuledOut) {
        DrawLetter(index);
        CopyTargetToScreen(cell);
        return;
    }
    const QImage* image = hot && letter.HotImage ? letter.HotImage : letter.NormalImage;
    if (!image)
        return;
    {
        QPainter p(&ScreenCanvas());
        p.drawImage(cell.topLeft(), *image);
    }
    ShowCanvas(cell);
}

void CKompAlphabet::Choose(int index, bool hotFirst)
{
    DrawCell(index, hotFirst);
    QThread::msleep(FlashMs);
    DrawCell(index, !hotFirst);
    if (OnLetter) {
        const QChar letter = Letters[static_cast<std::size_t>(index)].Letter;
        uint8_t state = Letters[static_cast<std::size_t>(index)].LetterState;
        OnLetter(index, letter, state);
        // The listener may have reloaded the letters meanwhile.
        if (index < LetterCount)
            Letters[static_cast<std::size_t>(index)].LetterState = state;
    }
    DrawCell(index, !hotFirst);
}

bool CKompAlphabet::KeyPress(QChar character)
{
    // The keyboard reaches the alphabet only while an exercise shows it.
    if (!isVisible())
        return false;
    const int index = FindLetter(character);
    if (index < 0)
        return false;
    Choose(index, true);
    return true;
}

void CKompAlphabet::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int cell = HitTest(p.x(), p.y());
    if (cell == Hover)
        return;
    DrawCell(Hover, false);
    DrawCell(cell, true);
    Hover = cell;
}

void CKompAlphabet::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int cell = HitTest(p.x(), p.y());
    if (cell >= 0)
        Choose(cell, false);
}

void CKompAlphabet::leaveEvent(QEvent* event)
{
    if (isEnabled()) {
        DrawCell(Hover, false);
        Hover = -1;
    }
    CKompPaintBox::leaveEvent(event);
}
