#pragma once
#include "controls/CTable.h"

#include <cstdint>
#include <functional>
#include <memory>

// The row of slots of the letter table, one per letter of the word, each
// expecting one letter, plus the tiles lying in them (in Blocks, as a pool
// keeps its tiles).
class CTableBox : public CTable
{
public:
    static constexpr int FrameWidth = 4; // the frame around a slot's tile
    static constexpr int DropSteps = 5;
    static constexpr int DropStepMs = 40;

    struct SSlot
    {
        uint8_t State = 0;                     // 0 empty, 1 the expected letter, 2 another letter
        std::unique_ptr<CTableBlock> Expected; // its position and size are the slot's
        CTableBlock* Placed = nullptr;         // also in Blocks
    };
    struct SPlaceResult
    {
        bool Placed = false;
        uint8_t State = 0;
    };
    // Moves a tile on the screen to (x, y) (the flight into a slot).
    using TFlight = std::function<void(CTableBlock& tile, int x, int y)>;

    CTableBox();
    ~CTableBox() override;

    MyList<SSlot> Slots;
    const uint32_t* Colours = nullptr; // three frame colours, not owned
    bool LockCorrect = false;

    void DrawAt(QPainter& canvas, int x, int y) const override;
    CTableBlock* TakeAt(int x, int y) override;
    CTableBlock* TakeEqual(const CTableBlock& tile) override;
    CTableBlock* Take(const CTableBlock* tile) override;

    void AddSlot(std::unique_ptr<CTableBlock> expected);
    SPlaceResult PlaceAt(CTableBlock* tile);
    SPlaceResult DropAt(CTableBlock* tile, const TFlight& fly);
    bool AllFilled() const;
    bool AllCorrect() const;
    int CountEmpty() const;
    SSlot* FirstEmpty();
    SSlot* RandomEmpty();
    CTableBlock* TakeFirstWrong();
    void AutoFill(CTable& pool, int count, bool random);
    void LayOutSlots(int left, int right, bool saveHome, int gap, int y);

    // The slot's frame (and, when empty, its white ground) at offset (x, y).
    void DrawSlotFrame(QPainter& canvas, const SSlot& slot, int x, int y) const;
    // The slot a tile would land in: the one whose rectangle holds its centre.
    SSlot* SlotUnder(const CTableBlock& tile);

private:
    void Vacate(const CTableBlock* tile);
};
