#include "graphics/CDynamicPlace.h"

#include "app/CError.h"
#include "app/DisplayMode.h"
#include "graphics/BitmapTools.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CTransBitmap.h"
#include "graphics/StretchBitmap.h"

#include <QPainter>
#include <QWidget>

namespace {

[[noreturn]] void Fail(const char* operation, const char* text)
{
    throw CError(QStringLiteral("CDynamicPlace::%1 - %2")
                     .arg(QLatin1String(operation), QString::fromUtf8(text)));
}

const char* const WrongSetType = "Próba ustawienia innego PlaceType!";
const char* const WrongGetType = "Próba pobrania wartości z innego DynaType!";
const char* const WrongDataType = "Niezgodność typu pobieranych danych!";
const char* const NoResolution = "Brak zdefiniowanej jednej rozdzielczości!";

int SlotOfMode(int mode)
{
    switch (mode) {
    case DM_800:
        return 0;
    case DM_1024:
        return 1;
    default:
        return 2;
    }
}

constexpr int ModeOfSlot[3] = {DM_800, DM_1024, DM_1280};

// Factor [from slot][to slot] as numerator, denominator.
constexpr int Factors[3][3][2] = {
    {{1, 1}, {32, 25}, {8, 5}},
    {{25, 32}, {1, 1}, {10, 8}},
    {{5, 8}, {8, 10}, {1, 1}},
};

int PlaceType(int flags)
{
    return flags & PT_MASK;
}

bool IsBitmap(int flags)
{
    return (flags & PT_BITMAP) != 0;
}

int Scaled(int value, int numerator, int denominator)
{
    return value * numerator / denominator; // 32-bit, truncated toward zero
}

} // namespace

CDynamicPlace::CDynamicPlace()
{
    if (DisplayModePending)
        DetermineDisplayMode();
}

CDynamicPlace::~CDynamicPlace() = default;

CDynamicPlace::SSlotChoice CDynamicPlace::ChooseSlot(int flags)
{
    if (flags & DisplayMode)
        return {SlotOfMode(DisplayMode), 0, 0};
    const int target = SlotOfMode(DisplayMode);
    for (int slot = 2; slot >= 0; --slot) {
        if (flags & ModeOfSlot[slot])
            return {slot, Factors[slot][target][0], Factors[slot][target][1]};
    }
    return {-1, 0, 0};
}

// Every operation that needs a current entry fails alike without one.
const SDynaPlace& CDynamicPlace::Current() const
{
    if (m_iCurrent < 0 || m_iCurrent >= m_entries.Count())
        Fail("PlaceComponent", "Nie ustawiona proporcja Current!");
    return m_entries[m_iCurrent];
}

SDynaPlace& CDynamicPlace::CurrentEntry()
{
    Current();
    return m_entries[m_iCurrent];
}

const SDynaPlace& CDynamicPlace::CurrentDP() const
{
    return Current();
}

void CDynamicPlace::Add(int type, int iParam)
{
    if (PlaceType(type) == 0)
        Fail("Add", "Należy określić typ miejsca (PlaceType)!");
    SDynaPlace entry;
    entry.Flags = type;
    entry.iParam = iParam;
    m_entries.Add(entry);
    m_iCurrent = m_entries.Count() - 1;
}

namespace {
void WriteSlot(SDynaPlace& e, int mode, std::initializer_list<int> values)
{
    int* slot = e.Slots[SlotOfMode(mode)];
    int k = 0;
    for (int v : values)
        slot[k++] = v;
    e.Flags |= mode & 0xff;
}
} // namespace

void CDynamicPlace::SetPoint(int mode, int x, int y, int size)
{
    SDynaPlace& e = CurrentEntry();
    if (PlaceType(e.Flags) != PT_POINT)
        Fail("SetPoint", WrongSetType);
    WriteSlot(e, mode, {x, y, size, 0, 0});
}

void CDynamicPlace::SetRect(int mode, int left, int top, int right, int bottom, int size)
{
    SDynaPlace& e = CurrentEntry();
    if (PlaceType(e.Flags) != PT_RECT)
        Fail("SetRect", WrongSetType);
    WriteSlot(e, mode, {left, top, right, bottom, size});
}

void CDynamicPlace::SetPlace(int mode, int left, int top, int width, int height, int size)
{
    SDynaPlace& e = CurrentEntry();
    if (PlaceType(e.Flags) != PT_PLACE)
        Fail("SetPlace", WrongSetType);
    WriteSlot(e, mode, {left, top, width, height, size});
}

void CDynamicPlace::SetBitmap(int mode, int colourIndex, int monoIndex, int maskIndex)
{
    SDynaPlace& e = CurrentEntry();
    if (!IsBitmap(e.Flags))
        Fail("SetBitmap", WrongSetType);
    WriteSlot(e, mode, {colourIndex, monoIndex, maskIndex, 0, 0});
}

void CDynamicPlace::SetColor(int mode, int colour, int monoColour)
{
    SDynaPlace& e = CurrentEntry();
    if (PlaceType(e.Flags) != PT_COLOR)
        Fail("SetColor", WrongSetType);
    const int mono =
        monoColour == -1 ? static_cast<int>(GreyColor(static_cast<uint32_t>(colour))) : monoColour;
    WriteSlot(e, mode, {colour, mono, 0, 0, 0});
}

void CDynamicPlace::Set_iCurrent(int position)
{
    if (position < 1 || position > m_entries.Count())
        Fail("Set_iCurrent", "Próba ustawiania kursora poza wielkością tablicy!");
    m_iCurrent = position - 1;
}

void CDynamicPlace::Next()
{
    if (m_iCurrent < 0)
        Fail("Next", "Przekroszenie zakresu tablicy!");
    ++m_iCurrent;
    if (m_iCurrent >= m_entries.Count())
        m_iCurrent = -1;
}

void CDynamicPlace::Prev()
{
    if (m_iCurrent <= 0)
        Fail("Prev", "Początek tablicy osiągnięty!");
    --m_iCurrent;
}

void CDynamicPlace::Set_CurrentDP(const SDynaPlace& entry)
{
    SDynaPlace& e = CurrentEntry();
    if (PlaceType(e.Flags) != PlaceType(entry.Flags))
        Fail("Set_CurrentDP", "Niezgodność typów!");
    e = entry;
}

TDynaValues CDynamicPlace::GetSuitableDynaType(const SDynaPlace& entry) const
{
    if (IsBitmap(entry.Flags))
        Fail("GetSuitableDynaType", WrongDataType);
    const SSlotChoice c = ChooseSlot(entry.Flags);
    if (c.slot < 0)
        Fail("GetSuitableDynaType", NoResolution);
    TDynaValues v;
    std::copy(entry.Slots[c.slot], entry.Slots[c.slot] + 5, v.begin());
    if (c.numerator == 0)
        return v;
    // x, y (and the size of a point) or the four positions; the size last.
    const bool point = PlaceType(entry.Flags) == PT_POINT;
    const int sizeIndex = point ? 2 : 4;
    for (int k = 0; k < sizeIndex; ++k)
        v[k] = Scaled(v[k], c.numerator, c.denominator);
    if (!(entry.Flags & PF_FIXEDSIZE))
        v[sizeIndex] = Scaled(v[sizeIndex], c.numerator, c.denominator);
    return v;
}

namespace {
int OffX(const SDynaPlace& e)
{
    return (e.Flags & PF_CENTERED) ? OffsetX : 0;
}
int OffY(const SDynaPlace& e)
{
    return (e.Flags & PF_CENTERED) ? OffsetY : 0;
}
bool RectOrPlace(const SDynaPlace& e)
{
    return PlaceType(e.Flags) == PT_RECT || PlaceType(e.Flags) == PT_PLACE;
}
} // namespace

int CDynamicPlace::Get_CLeft() const
{
    const SDynaPlace& e = Current();
    if (!RectOrPlace(e))
        Fail("Get_CLeft", WrongGetType);
    return GetSuitableDynaType(e)[0] + OffX(e);
}

int CDynamicPlace::Get_CTop() const
{
    const SDynaPlace& e = Current();
    if (!RectOrPlace(e))
        Fail("Get_CTop", WrongGetType);
    return GetSuitableDynaType(e)[1] + OffY(e);
}

int CDynamicPlace::Get_CBottom() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_RECT)
        Fail("Get_CBottom", WrongGetType);
    return GetSuitableDynaType(e)[3] + OffY(e);
}

int CDynamicPlace::Get_CX() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_POINT)
        Fail("Get_CX", WrongGetType);
    return GetSuitableDynaType(e)[0] + OffX(e);
}

int CDynamicPlace::Get_CY() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_POINT)
        Fail("Get_CY", WrongGetType);
    return GetSuitableDynaType(e)[1] + OffY(e);
}

int CDynamicPlace::Get_CWidth() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_PLACE)
        Fail("Get_CWidth", WrongGetType);
    return GetSuitableDynaType(e)[2];
}

int CDynamicPlace::Get_CHeight() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_PLACE)
        Fail("Get_CHeight", WrongGetType);
    return GetSuitableDynaType(e)[3];
}

int CDynamicPlace::Get_CSize() const
{
    const SDynaPlace& e = Current();
    const int type = PlaceType(e.Flags);
    if (type == PT_POINT)
        return GetSuitableDynaType(e)[2];
    if (!RectOrPlace(e))
        Fail("Get_CSize", WrongGetType);
    return GetSuitableDynaType(e)[4];
}

QPoint CDynamicPlace::Get_CPotint() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_POINT && !RectOrPlace(e))
        Fail("Get_CPotint", WrongGetType);
    const TDynaValues v = GetSuitableDynaType(e);
    return QPoint(v[0] + OffX(e), v[1] + OffY(e));
}

QRect CDynamicPlace::Get_CRect() const
{
    const SDynaPlace& e = Current();
    const TDynaValues v = RectOrPlace(e) ? GetSuitableDynaType(e) : TDynaValues{};
    const int left = v[0] + OffX(e);
    const int top = v[1] + OffY(e);
    if (PlaceType(e.Flags) == PT_RECT)
        return QRect(QPoint(left, top), QPoint(v[2] + OffX(e) - 1, v[3] + OffY(e) - 1));
    if (PlaceType(e.Flags) == PT_PLACE)
        return QRect(left, top, v[2], v[3]);
    Fail("Get_CRect", WrongGetType);
}

uint32_t CDynamicPlace::Get_CColor() const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_COLOR)
        Fail("Get_CColor", WrongGetType);
    const SSlotChoice c = ChooseSlot(e.Flags);
    if (c.slot < 0)
        Fail("SuitableBitmap", NoResolution);
    return static_cast<uint32_t>(e.Slots[c.slot][ColorMode == CM_COLOR ? 0 : 1]);
}

int CDynamicPlace::Get_CParam() const
{
    return Current().iParam;
}

void CDynamicPlace::PlaceComponent(QWidget* control) const
{
    const SDynaPlace& e = Current();
    if (PlaceType(e.Flags) != PT_PLACE)
        Fail("PlaceComponent", WrongDataType);
    const TDynaValues v = GetSuitableDynaType(e);
    if (control)
        control->setGeometry(v[0] + OffX(e), v[1] + OffY(e), v[2], v[3]);
}

int CDynamicPlace::ColourImageIndex(const TDynaValues& v, bool* makeGrey) const
{
    *makeGrey = false;
    if (ColorMode == CM_COLOR)
        return v[0] >= 0 ? v[0] : v[1];
    if (v[1] >= 0)
        return v[1];
    *makeGrey = true;
    return v[0];
}

namespace {
// 8-bit images become 8-bit grey by the luminance of their palette colours.
void NormaliseEightBit(QImage& img)
{
    if (img.depth() == 8 && img.format() != QImage::Format_Grayscale8)
        ToGrey8(img, false);
}

void MakeGrey(QImage& img)
{
    if (img.format() != QImage::Format_Grayscale8)
        ToGrey24(img);
}
} // namespace

std::unique_ptr<QImage> CDynamicPlace::SuitableBitmap(const SDynaPlace& entry, bool mask, int width,
                                                      int height, TDynaValues* slotOut) const
{
    if (!IsBitmap(entry.Flags))
        Fail("SuitableBitmap", WrongDataType);
    if (!Container)
        Fail("SuitableBitmap", "Kontener bitmap nie ustawiony (właściwość Container)!");
    const SSlotChoice c = ChooseSlot(entry.Flags);
    if (c.slot < 0)
        Fail("SuitableBitmap", NoResolution);
    TDynaValues v;
    std::copy(entry.Slots[c.slot], entry.Slots[c.slot] + 5, v.begin());
    if (slotOut)
        *slotOut = v;
    bool makeGrey = false;
    const int index = mask ? v[2] : ColourImageIndex(v, &makeGrey);
    if (index < 0)
        Fail("SuitableBitmap", "Próba pobrania z źle ustawionego PT_BITMAP!");
    auto img = std::make_unique<QImage>();
    Container->LoadTo(img.get(), index); // a failed load leaves an empty image
    NormaliseEightBit(*img);
    if (makeGrey)
        MakeGrey(*img);
    if (c.numerator != 0) {
        if (img->isNull())
            return img;
        const bool eightBit = img->depth() == 8;
        const int tw =
            height > 0 ? width : std::max(1, Scaled(img->width(), c.numerator, c.denominator));
        const int th =
            height > 0 ? height : std::max(1, Scaled(img->height(), c.numerator, c.denominator));
        Make24(*img);
        auto result = std::make_unique<QImage>(NewBitmap24(std::max(1, tw), th));
        Stretch(*result, *img);
        if (eightBit)
            ToGrey8(*result, true);
        return result;
    }
    if (height <= 0 || (img->width() == width && img->height() == height))
        return img;
    img.reset();
    Fail("SuitableBitmap", "Różne rozmiary bitmap (kontener vs. wpisane)!");
}

std::unique_ptr<QImage> CDynamicPlace::GetBackground() const
{
    const SDynaPlace& e = Current();
    if (!IsBitmap(e.Flags))
        Fail("GetBackground", WrongDataType);
    if (!Container)
        Fail("GetBackground", "Kontener bitmap nie ustawiony (proporcja Container)!");
    const SSlotChoice c = ChooseSlot(e.Flags);
    if (c.slot < 0)
        Fail("SuitableBitmap", NoResolution);
    TDynaValues v;
    std::copy(e.Slots[c.slot], e.Slots[c.slot] + 5, v.begin());
    bool makeGrey = false;
    const int index = ColourImageIndex(v, &makeGrey);
    if (index < 0)
        Fail("GetBackground", "Nie zdefiniowano zadnej bitmapy!");
    auto img = std::make_unique<QImage>();
    Container->LoadTo(img.get(), index);
    NormaliseEightBit(*img);
    if (makeGrey)
        MakeGrey(*img);
    if (c.numerator == 0 && ScreenWidth == DesignWidth && ScreenHeight == DesignHeight)
        return img;
    auto screen = std::make_unique<QImage>(NewBitmap24(ScreenWidth, ScreenHeight));
    if (img->isNull())
        return screen;
    QImage design;
    if (img->width() == DesignWidth && img->height() == DesignHeight) {
        design = std::move(*img);
    } else {
        design = NewBitmap24(DesignWidth, DesignHeight);
        Stretch(design, *img);
    }
    Make24(design);
    QPainter p(screen.get());
    p.drawImage(OffsetX, OffsetY, design);
    return screen;
}

void CDynamicPlace::GetTransBitmap(CTransBitmap& tb) const
{
    const SDynaPlace& e = Current();
    if (!IsBitmap(e.Flags))
        Fail("GetTransBitmap", WrongDataType);
    tb.SetMask(nullptr);
    TDynaValues slot{};
    tb.SetImage(SuitableBitmap(e, false, 0, 0, &slot));
    if (slot[2] == -1)
        return;
    const QImage* image = tb.Image();
    tb.SetMask(SuitableBitmap(e, true, image->width(), image->height()));
}

int ScaleValue(int value, int fromModes)
{
    if (fromModes & DisplayMode)
        return value;
    const int target = SlotOfMode(DisplayMode);
    for (int slot = 2; slot >= 0; --slot) {
        if (fromModes & ModeOfSlot[slot])
            return Scaled(value, Factors[slot][target][0], Factors[slot][target][1]);
    }
    return value;
}

uint32_t GreyColor(uint32_t colour)
{
    const int r = colour & 0xff;
    const int g = (colour >> 8) & 0xff;
    const int b = (colour >> 16) & 0xff;
    const uint32_t grey =
        static_cast<uint32_t>((3 * r + 3) / 10 + (59 * g + 59) / 100 + (11 * b + 11) / 100);
    return grey | (grey << 8) | (grey << 16);
}

void MonoColor(uint32_t& colour)
{
    if (ColorMode != CM_COLOR)
        colour = GreyColor(colour);
}

void MonoBitmap(QImage* bitmap)
{
    if (ColorMode != CM_COLOR && bitmap && bitmap->format() == QImage::Format_BGR888)
        ToGrey24(*bitmap);
}
