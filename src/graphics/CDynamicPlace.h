#pragma once
#include "graphics/MyArray.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <memory>

class CBitmapsContainer;
class CTransBitmap;
class QWidget;

enum : int
{
    PF_FIXEDSIZE = 0x4000,
    PF_CENTERED = 0x8000,
    PT_POINT = 0x10000,
    PT_RECT = 0x20000,
    PT_PLACE = 0x40000,
    PT_BITMAP = 0x80000,
    PT_TRANSBITMAP = 0x100000,
    PT_COLOR = 0x200000,
    PT_MASK = 0xff0000, // bits of the place type
};

// One placement entry: the modes written, the type, a free parameter and one
// slot of five values per display mode (800, 1024, 1280).
struct SDynaPlace
{
    int32_t Flags = 0;
    int32_t iParam = 0;
    int32_t Slots[3][5] = {};
};

using TDynaValues = std::array<int, 5>;

// The layout table of a skinned window or control: values per display mode,
// derived by fixed factors for modes that were not written, read in order
// with a cursor.
class CDynamicPlace
{
public:
    CDynamicPlace();
    virtual ~CDynamicPlace();
    CDynamicPlace(const CDynamicPlace&) = delete;
    CDynamicPlace& operator=(const CDynamicPlace&) = delete;

    CBitmapsContainer* Container = nullptr;

    void Add(int type, int iParam);
    void SetPoint(int mode, int x, int y, int size);
    void SetRect(int mode, int left, int top, int right, int bottom, int size);
    void SetPlace(int mode, int left, int top, int width, int height, int size);
    void SetBitmap(int mode, int colourIndex, int monoIndex, int maskIndex);
    void SetColor(int mode, int colour, int monoColour);
    void Set_iCurrent(int position);
    int Get_iCurrent() const { return m_iCurrent + 1; }
    void Next();
    void Prev();
    void Set_CurrentDP(const SDynaPlace& entry);
    const SDynaPlace& CurrentDP() const;
    int Count() const { return m_entries.Count(); }

    int Get_CLeft() const;
    int Get_CTop() const;
    int Get_CBottom() const;
    int Get_CX() const;
    int Get_CY() const;
    int Get_CWidth() const;
    int Get_CHeight() const;
    int Get_CSize() const;
    QPoint Get_CPotint() const;
    QRect Get_CRect() const; // left, top, right, bottom (as QRect's coordinates x1,y1,x2+1,y2+1)
    uint32_t Get_CColor() const;
    int Get_CParam() const;

    TDynaValues GetSuitableDynaType(const SDynaPlace& entry) const;
    void PlaceComponent(QWidget* control) const;
    // Loads the entry's image (or mask) for the current modes; `slotOut`, when
    // given, receives the values of the slot used.
    std::unique_ptr<QImage> SuitableBitmap(const SDynaPlace& entry, bool mask, int width,
                                           int height, TDynaValues* slotOut = nullptr) const;
    std::unique_ptr<QImage> GetBackground() const;
    void GetTransBitmap(CTransBitmap& tb) const;

protected:
    struct SSlotChoice
    {
        int slot;      // 0 = 800, 1 = 1024, 2 = 1280
        int numerator; // 0 when the current mode is written
        int denominator;
    };
    // The slot for the current mode: its own, or the first written of 1280,
    // 1024, 800 with the factor to apply; slot -1 when nothing is written.
    static SSlotChoice ChooseSlot(int flags);
    const SDynaPlace& Current() const;
    SDynaPlace& CurrentEntry();
    int ColourImageIndex(const TDynaValues& v, bool* makeGrey) const;

private:
    MyArray<SDynaPlace> m_entries;
    int m_iCurrent = -1;
};

// A value laid out for the modes in fromModes, scaled to the current mode.
int ScaleValue(int value, int fromModes);
// The grey of a colour: R = G = B = (3R+3)/10 + (59G+59)/100 + (11B+11)/100.
uint32_t GreyColor(uint32_t colour);
// In the monochrome colour mode, the colour becomes its grey.
void MonoColor(uint32_t& colour);
// In the monochrome colour mode, a 24-bit bitmap becomes grey.
void MonoBitmap(QImage* bitmap);
