#include "controls/CTableBox.h"

#include "controls/CTableBlock.h"

#include <QPainter>
#include <QRandomGenerator>

namespace {

QColor ToColor(uint32_t colour)
{
    return QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff);
}

// A one-pixel frame just inside the rectangle.
void FrameRect(QPainter& canvas, const QRect& r, const QColor& colour)
{
    canvas.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    canvas.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    canvas.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    canvas.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

CTableBox::CTableBox() = default;

CTableBox::~CTableBox() = default;

void CTableBox::AddSlot(std::unique_ptr<CTableBlock> expected)
{
    SSlot slot;
    slot.Expected = std::move(expected);
    Slots.PushBack(std::move(slot));
}

void CTableBox::DrawSlotFrame(QPainter& canvas, const SSlot& slot, int x, int y) const
{
    const CTableBlock& e = *slot.Expected;
    const QRect r(e.Left + x, e.Top + y, e.Width, e.Height);
    if (slot.State == 0)
        canvas.fillRect(r, Qt::white);
    const QColor colour = Colours ? ToColor(Colours[slot.State <= 2 ? slot.State : 0]) : Qt::black;
    for (int grow : {1, 2, 3, 4, 4})
        FrameRect(canvas, r.adjusted(-grow, -grow, grow, grow), colour);
}

void CTableBox::DrawAt(QPainter& canvas, int x, int y) const
{
    for (const MyList<SSlot>::SNode* node = Slots.Last(); node; node = Slots.PrevOf(node))
        DrawSlotFrame(canvas, node->Value, x, y);
    CTable::DrawAt(canvas, x, y);
}

void CTableBox::Vacate(const CTableBlock* tile)
{
    if (!tile)
        return;
    for (SSlot& slot : Slots)
        if (slot.Placed == tile) {
            slot.Placed = nullptr;
            slot.State = 0;
        }
}

CTableBlock* CTableBox::TakeAt(int x, int y)
{
    CTableBlock* tile = CTable::TakeAt(x, y);
    Vacate(tile);
    return tile;
}

CTableBlock* CTableBox::TakeEqual(const CTableBlock& tile)
{
    CTableBlock* taken = CTable::TakeEqual(tile);
    Vacate(taken);
    return taken;
}

CTableBlock* CTableBox::Take(const CTableBlock* tile)
{
    CTableBlock* taken = CTable::Take(tile);
    Vacate(taken);
    return taken;
}

CTableBox::SSlot* CTableBox::SlotUnder(const CTableBlock& tile)
{
    const int cx = tile.Left + tile.Width / 2;
    const int cy = tile.Top + tile.Height / 2;
    for (SSlot& slot : Slots) {
        const CTableBlock& e = *slot.Expected;
        if (cx >= e.Left && cx < e.Left + e.Width && cy >= e.Top && cy < e.Top + e.Height)
            return &slot;
    }
    return nullptr;
}

CTableBox::SPlaceResult CTableBox::PlaceAt(CTableBlock* tile)
{
    return DropAt(tile, nullptr);
}

CTableBox::SPlaceResult CTableBox::DropAt(CTableBlock* tile, const TFlight& fly)
{
    if (Locked || !tile)
        return {};
    SSlot* slot = SlotUnder(*tile);
    if (!slot || slot->Placed)
        return {};
    const CTableBlock& expected = *slot->Expected;
    if (fly)
        fly(*tile, expected.Left, expected.Top);
    tile->MoveTo(expected.Left, expected.Top);
    Add(tile);
    slot->Placed = tile;
    if (tile->Equals(expected)) {
        slot->State = 1;
        if (LockCorrect)
            tile->Fixed = true;
    } else {
        slot->State = 2;
    }
    return {true, slot->State};
}

bool CTableBox::AllFilled() const
{
    for (const SSlot& slot : Slots)
        if (!slot.Placed)
            return false;
    return true;
}

bool CTableBox::AllCorrect() const
{
    for (const SSlot& slot : Slots)
        if (slot.Placed && !slot.Placed->Equals(*slot.Expected))
            return false;
    return true;
}

int CTableBox::CountEmpty() const
{
    int n = 0;
    for (const SSlot& slot : Slots)
        if (!slot.Placed)
            ++n;
    return n;
}

CTableBox::SSlot* CTableBox::FirstEmpty()
{
    for (SSlot& slot : Slots)
        if (!slot.Placed)
            return &slot;
    return nullptr;
}

CTableBox::SSlot* CTableBox::RandomEmpty()
{
    if (Slots.Empty())
        return nullptr;
    using TNode = MyList<SSlot>::SNode;
    TNode* node = Slots.First();
    for (int i = QRandomGenerator::global()->bounded(Slots.Count()); i > 0; --i)
        node = Slots.NextOf(node);
    const bool forward = QRandomGenerator::global()->bounded(2) == 0;
    for (int seen = 0; seen < Slots.Count(); ++seen) {
        if (!node->Value.Placed)
            return &node->Value;
        if (forward)
            node = Slots.NextOf(node) ? Slots.NextOf(node) : Slots.First();
        else
            node = Slots.PrevOf(node) ? Slots.PrevOf(node) : Slots.Last();
    }
    return nullptr;
}

CTableBlock* CTableBox::TakeFirstWrong()
{
    for (SSlot& slot : Slots)
        if (slot.Placed && !slot.Placed->Equals(*slot.Expected))
            return Take(slot.Placed);
    return nullptr;
}

void CTableBox::AutoFill(CTable& pool, int count, bool random)
{
    for (int i = 0; i < count; ++i) {
        SSlot* slot = random ? RandomEmpty() : FirstEmpty();
        if (!slot)
            return;
        CTableBlock* tile = pool.TakeEqual(*slot->Expected);
        if (!tile)
            return;
        tile->MoveTo(slot->Expected->Left, slot->Expected->Top);
        if (!PlaceAt(tile).Placed) {
            pool.Add(tile); // a locked box takes nothing
            return;
        }
    }
}

void CTableBox::LayOutSlots(int left, int right, bool saveHome, int gap, int y)
{
    std::vector<CTableBlock*> expected;
    for (const SSlot& slot : Slots)
        expected.push_back(slot.Expected.get());
    LayOutTiles(expected, left, right, saveHome, gap, y, FrameWidth);
}
