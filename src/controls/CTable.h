#pragma once
#include "controls/MyList.h"

#include <vector>

class CTableBlock;
class QPainter;

// A set of letter tiles (the pool): the first tile in the list is the
// topmost. Owns its tiles.
class CTable
{
public:
    CTable();
    virtual ~CTable();
    CTable(const CTable&) = delete;
    CTable& operator=(const CTable&) = delete;

    MyList<CTableBlock*> Blocks;
    int Width = 100;
    int Height = 100;
    bool Locked = false;

    virtual void DrawAt(QPainter& canvas, int x, int y) const;
    virtual CTableBlock* TakeAt(int x, int y);
    virtual CTableBlock* TakeEqual(const CTableBlock& tile);
    virtual CTableBlock* Take(const CTableBlock* tile);

    // The tile TakeAt would take, left in place; none when it would take none.
    CTableBlock* TakeableAt(int x, int y) const;
    void Add(CTableBlock* tile);
    void Clear();
    void Spread(int left, int right, bool saveHome, int y);
    void LayOutRow(int left, int right, bool saveHome, int gap, int y);

protected:
    using TNode = MyList<CTableBlock*>::SNode;
    // Removes the node's tile from the list and hands it over, unless the
    // table is locked or the tile fixed.
    CTableBlock* TakeNode(TNode* node);
    TNode* FindAt(int x, int y) const;

    // Lays tiles out in a row at y: centred with gap between them when they
    // fit between left and right, else spread so that the first starts at
    // left and the last ends at right. Each tile takes margin more room on
    // either side (the frames of the slots). Shared by pool and box.
    static void LayOutTiles(const std::vector<CTableBlock*>& tiles, int left, int right,
                            bool saveHome, int gap, int y, int margin);
    static void SpreadTiles(const std::vector<CTableBlock*>& tiles, int left, int right,
                            bool saveHome, int y);
    std::vector<CTableBlock*> Tiles() const;
};
