#pragma once
#include "controls/CKompPaintBox.h"

#include <QCursor>
#include <cstdint>
#include <functional>
#include <memory>

class CDynamicPlace;
class CTable;
class CTableBlock;
class CTableBox;
class QPainter;

// The letter board: one pool of loose tiles and one row of slots, both
// drawn into the exercise bitmap; the patient drags tiles between them, and
// tiles fly by themselves into slots (hints) and back home (wrong ones).
class CKompTable : public CKompPaintBox
{
public:
    static constexpr int AutoSteps = 10;
    static constexpr int AutoStepMs = 30;

    CKompTable(QWidget* owner, QImage* background, QImage* target);
    ~CKompTable() override;

    std::unique_ptr<QImage> Buffer; // the board without the tile on the move
    CTable* Table = nullptr;        // not owned
    CTableBox* Box = nullptr;       // not owned
    uint32_t BackColor = 0xffffff;
    bool FillBack = true;
    uint32_t FrameColours[3] = {0, 0, 0}; // empty, expected, other
    int GrabX = 0;
    int GrabY = 0;
    CTableBlock* Dragged = nullptr;
    std::function<void(CTableBox* box, bool correct)> OnDrop;
    std::function<void(CTable* pool)> OnReturn;
    QCursor DragCursor;

    void Place(CDynamicPlace& placement, int offsetX, int offsetY);
    void LoadColours(CDynamicPlace& placement);
    void SetTable(CTable* pool);
    void SetBox(CTableBox* box);
    void DrawTo(QPainter& canvas, int x, int y, bool fill) const;
    void Draw();
    void Repaint();
    void AnimateTo(CTableBlock& tile, int x, int y);
    void AutoPlace(int count, bool random, bool notify);
    void ReturnWrong(bool notify);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Fly(CTableBlock& tile, int x, int y, int steps, int stepMs);
    void FillBuffer();
    void EmptyBuffer();
    void ShowTile(const CTableBlock& tile, const QRegion& alsoChanged = QRegion());
    QRegion RestoreRingFromBuffer(const CTableBlock& tile);
    void MoveTileOnScreen(CTableBlock& tile, int x, int y);

    bool m_fromBox = false;
};
