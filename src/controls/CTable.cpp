#include "controls/CTable.h"

#include "controls/CTableBlock.h"

#include <QPainter>

CTable::CTable() = default;

CTable::~CTable()
{
    Clear();
}

void CTable::DrawAt(QPainter& canvas, int x, int y) const
{
    for (const TNode* node = Blocks.Last(); node; node = Blocks.PrevOf(node))
        node->Value->DrawAt(canvas, x + node->Value->Left, y + node->Value->Top);
}

CTable::TNode* CTable::FindAt(int x, int y) const
{
    for (TNode* node = Blocks.First(); node; node = Blocks.NextOf(node))
        if (node->Value->Contains(x, y))
            return node;
    return nullptr;
}

CTableBlock* CTable::TakeNode(TNode* node)
{
    if (Locked || !node || node->Value->Fixed)
        return nullptr;
    CTableBlock* tile = node->Value;
    Blocks.Remove(node);
    return tile;
}

CTableBlock* CTable::TakeableAt(int x, int y) const
{
    const TNode* node = FindAt(x, y);
    if (Locked || !node || node->Value->Fixed)
        return nullptr;
    return node->Value;
}

CTableBlock* CTable::TakeAt(int x, int y)
{
    return TakeNode(FindAt(x, y));
}

CTableBlock* CTable::TakeEqual(const CTableBlock& tile)
{
    for (TNode* node = Blocks.First(); node; node = Blocks.NextOf(node))
        if (node->Value->Equals(tile))
            return TakeNode(node);
    return nullptr;
}

CTableBlock* CTable::Take(const CTableBlock* tile)
{
    for (TNode* node = Blocks.First(); node; node = Blocks.NextOf(node))
        if (node->Value == tile)
            return TakeNode(node);
    return nullptr;
}

void CTable::Add(CTableBlock* tile)
{
    if (tile)
        Blocks.PushFront(tile);
}

void CTable::Clear()
{
    for (CTableBlock* tile : Blocks)
        delete tile;
    Blocks.Clear();
}

std::vector<CTableBlock*> CTable::Tiles() const
{
    return std::vector<CTableBlock*>(Blocks.begin(), Blocks.end());
}

void CTable::SpreadTiles(const std::vector<CTableBlock*>& tiles, int left, int right, bool saveHome,
                         int y)
{
    const int n = static_cast<int>(tiles.size());
    for (int i = 0; i < n; ++i) {
        CTableBlock* tile = tiles[static_cast<std::size_t>(i)];
        // A single tile has nowhere to spread to: it starts at left.
        const int x = n > 1 ? left + i * (right - left - tile->Width) / (n - 1) : left;
        tile->MoveTo(x, y);
        if (saveHome)
            tile->SaveHome();
    }
}

void CTable::LayOutTiles(const std::vector<CTableBlock*>& tiles, int left, int right, bool saveHome,
                         int gap, int y, int margin)
{
    if (tiles.empty())
        return;
    const int n = static_cast<int>(tiles.size());
    const int w = tiles.front()->Width + 2 * margin;
    const int total = n * w + (n - 1) * gap;
    if (right - left < total) {
        SpreadTiles(tiles, left + margin, right - margin, saveHome, y);
        return;
    }
    int x = left + (right - left - total) / 2 + margin;
    for (CTableBlock* tile : tiles) {
        tile->MoveTo(x, y);
        if (saveHome)
            tile->SaveHome();
        x += w + gap;
    }
}

void CTable::Spread(int left, int right, bool saveHome, int y)
{
    SpreadTiles(Tiles(), left, right, saveHome, y);
}

void CTable::LayOutRow(int left, int right, bool saveHome, int gap, int y)
{
    LayOutTiles(Tiles(), left, right, saveHome, gap, y, 0);
}
