#include "controls/CKompTable.h"

#include "app/CError.h"
#include "app/Universalfn.h"
#include "controls/CHamowanie.h"
#include "controls/CTableBlock.h"
#include "controls/CTableBox.h"
#include "graphics/CDynamicPlace.h"

#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <algorithm>

namespace {

QColor ToColor(uint32_t colour)
{
    return QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff);
}

QRect TileRect(const CTableBlock& tile)
{
    return QRect(tile.Left, tile.Top, tile.Width, tile.Height);
}

} // namespace

CKompTable::CKompTable(QWidget* owner, QImage* background, QImage* target)
    : CKompPaintBox(owner, background, target), Buffer(std::make_unique<QImage>()),
      DragCursor(Qt::PointingHandCursor)
{
    setMouseTracking(true);
}

CKompTable::~CKompTable() = default;

void CKompTable::Place(CDynamicPlace& placement, int offsetX, int offsetY)
{
    if ((placement.CurrentDP().Flags & PT_MASK) != PT_PLACE)
        throw CError(QStringLiteral("CKompTable::Place - Bieżący wpis nie jest typu PT_PLACE!"));
    X = placement.Get_CLeft();
    Y = placement.Get_CTop();
    setGeometry(offsetX + X, offsetY + Y, placement.Get_CWidth(), placement.Get_CHeight());
    LoadColours(placement);
}

void CKompTable::LoadColours(CDynamicPlace& placement)
{
    placement.Next();
    BackColor = placement.Get_CColor();
    for (uint32_t& colour : FrameColours) {
        placement.Next();
        colour = placement.Get_CColor();
    }
    placement.Next();
}

void CKompTable::SetTable(CTable* pool)
{
    if (pool) {
        pool->Width = width();
        pool->Height = height();
    }
    Table = pool;
}

void CKompTable::SetBox(CTableBox* box)
{
    if (box)
        box->Colours = FrameColours;
    Box = box;
}

void CKompTable::DrawTo(QPainter& canvas, int x, int y, bool fill) const
{
    if (fill)
        canvas.fillRect(QRect(x, y, width(), height()), ToColor(BackColor));
    if (Box)
        Box->DrawAt(canvas, x, y);
    if (Table)
        Table->DrawAt(canvas, x, y);
}

void CKompTable::Draw()
{
    if (!isVisible() || !Target)
        return;
    QPainter p(Target);
    DrawTo(p, X, Y, FillBack);
}

void CKompTable::Repaint()
{
    if (!isVisible())
        return;
    Draw();
    CopyTargetToScreen();
}

void CKompTable::FillBuffer()
{
    // The screen canvas's own format, so that restoring from it is a plain copy.
    *Buffer = QImage(size(), ScreenCanvas().format());
    QPainter p(Buffer.get());
    DrawTo(p, 0, 0, true);
}

void CKompTable::EmptyBuffer()
{
    *Buffer = QImage();
}

void CKompTable::ShowTile(const CTableBlock& tile, const QRegion& alsoChanged)
{
    {
        QPainter p(&ScreenCanvas());
        tile.DrawAt(p, tile.Left, tile.Top);
    }
    ShowCanvas(alsoChanged + TileRect(tile));
}

QRegion CKompTable::RestoreRingFromBuffer(const CTableBlock& tile)
{
    const int ring = CTableBox::FrameWidth;
    const QRect outer = TileRect(tile).adjusted(-ring, -ring, ring, ring);
    return RestoreFrame(ScreenCanvas(), outer.x(), outer.y(), tile.Left, tile.Top,
                        tile.Left + tile.Width, tile.Top + tile.Height, outer, *Buffer);
}

void CKompTable::MoveTileOnScreen(CTableBlock& tile, int x, int y)
{
    if (x == tile.Left && y == tile.Top)
        return;
    const QRegion uncovered = RestoreUncovered(ScreenCanvas(), *Buffer, x, y, tile.Left, tile.Top,
                                               tile.Left + tile.Width, tile.Top + tile.Height);
    tile.MoveTo(x, y);
    ShowTile(tile, uncovered);
}

void CKompTable::Fly(CTableBlock& tile, int x, int y, int steps, int stepMs)
{
    CHamowanie alongX;
    CHamowanie alongY;
    alongX.Begin(static_cast<float>(tile.Left), static_cast<float>(x), steps);
    alongY.Begin(static_cast<float>(tile.Top), static_cast<float>(y), steps);
    for (int step = 1; step <= alongX.Steps; ++step) {
        const int nx = CHamowanie::Round(alongX.NextValue());
        const int ny = CHamowanie::Round(alongY.NextValue());
        MoveTileOnScreen(tile, nx, ny);
        if (step < alongX.Steps)
            QThread::msleep(static_cast<unsigned long>(stepMs));
    }
}

void CKompTable::AnimateTo(CTableBlock& tile, int x, int y)
{
    Fly(tile, x, y, AutoSteps, AutoStepMs);
}

void CKompTable::AutoPlace(int count, bool random, bool notify)
{
    if (!Table || !Box || count <= 0)
        return;
    int placed = 0;
    for (int i = 0; i < count; ++i) {
        CTableBox::SSlot* slot = random ? Box->RandomEmpty() : Box->FirstEmpty();
        if (!slot)
            break;
        CTableBlock* tile = Table->TakeEqual(*slot->Expected);
        if (!tile)
            break;
        FillBuffer();
        ShowTile(*tile);
        AnimateTo(*tile, slot->Expected->Left, slot->Expected->Top);
        if (!Box->PlaceAt(tile).Placed) {
            Table->Add(tile); // a locked box takes nothing
            break;
        }
        {
            QPainter p(&ScreenCanvas());
            Box->DrawSlotFrame(p, *slot, 0, 0);
        }
        const int ring = CTableBox::FrameWidth;
        ShowCanvas(TileRect(*tile).adjusted(-ring, -ring, ring, ring));
        ++placed;
    }
    EmptyBuffer();
    Repaint();
    if (notify && placed > 0 && OnDrop)
        OnDrop(Box, true);
}

void CKompTable::ReturnWrong(bool notify)
{
    if (!Table || !Box)
        return;
    while (CTableBlock* tile = Box->TakeFirstWrong()) {
        FillBuffer();
        ShowTile(*tile, RestoreRingFromBuffer(*tile));
        AnimateTo(*tile, tile->HomeLeft, tile->HomeTop);
        Table->Add(tile);
    }
    EmptyBuffer();
    Repaint();
    if (notify && OnReturn)
        OnReturn(Table);
}

void CKompTable::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || Dragged || !Table || !Box)
        return;
    const QPoint p = event->position().toPoint();
    m_fromBox = false;
    Dragged = Table->TakeAt(p.x(), p.y());
    if (!Dragged) {
        Dragged = Box->TakeAt(p.x(), p.y());
        m_fromBox = Dragged != nullptr;
    }
    if (!Dragged)
        return;
    FillBuffer();
    // A tile lifted out of a slot leaves the slot's frame empty.
    ShowTile(*Dragged, m_fromBox ? RestoreRingFromBuffer(*Dragged) : QRegion());
    GrabX = p.x() - Dragged->Left;
    GrabY = p.y() - Dragged->Top;
}

void CKompTable::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (Dragged) {
        const int x = std::clamp(p.x() - GrabX, 0, std::max(0, width() - Dragged->Width));
        const int y = std::clamp(p.y() - GrabY, 0, std::max(0, height() - Dragged->Height));
        MoveTileOnScreen(*Dragged, x, y);
        return;
    }
    const bool takeable =
        (Table && Table->TakeableAt(p.x(), p.y())) || (Box && Box->TakeableAt(p.x(), p.y()));
    if (takeable)
        setCursor(DragCursor);
    else
        unsetCursor();
}

void CKompTable::mouseReleaseEvent(QMouseEvent*)
{
    if (!Dragged)
        return;
    CTableBlock* tile = Dragged;
    const CTableBox::SPlaceResult result = Box->DropAt(tile, [this](CTableBlock& t, int x, int y) {
        Fly(t, x, y, CTableBox::DropSteps, CTableBox::DropStepMs);
    });
    if (!result.Placed)
        Table->Add(tile); // back into the pool, where it was let go
    Dragged = nullptr;
    EmptyBuffer();
    Repaint();
    if (result.Placed) {
        if (OnDrop)
            OnDrop(Box, result.State == 1);
    } else if (OnReturn) {
        OnReturn(Table);
    }
}
