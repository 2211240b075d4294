#include "therapy/CTherapyPlaces.h"

#include "app/DisplayMode.h"
#include "graphics/CDynamicPlace.h"

namespace {
constexpr int Trans = PT_BITMAP | PT_TRANSBITMAP;

// A transparent bitmap (image, no grey image, mask) for the two written modes.
void TransPair(CDynamicPlace& t, int image1280, int mask1280, int image1024, int mask1024)
{
    t.Add(Trans, 0);
    t.SetBitmap(DM_1280, image1280, -1, mask1280);
    t.SetBitmap(DM_1024, image1024, -1, mask1024);
}
} // namespace

void CTherapyPlaces::FillMain(CDynamicPlace& t)
{
    t.Add(PT_PLACE | PF_CENTERED, 0);
    t.SetPlace(DM_1024, 34, 26, 270, 21, -1);
    t.Add(PT_PLACE | PF_CENTERED, 0);
    t.SetPlace(DM_1280, 0, 0, 1280, 89, 0);
    t.SetPlace(DM_1024, 0, 0, 1024, 71, 0);
    t.Add(PT_BITMAP, 0);
    t.SetBitmap(DM_1280, 93, -1, -1);
    t.SetBitmap(DM_1024, 92, -1, -1);
    static const int colours[][3] = {{161, 212, 149}, {208, 144, 144}, {207, 212, 145},
                                     {156, 204, 208}, {160, 178, 212}, {139, 118, 154},
                                     {209, 175, 131}, {119, 129, 179}, {212, 147, 131},
                                     {129, 172, 114}, {192, 144, 192}};
    for (const auto& c : colours) {
        t.Add(PT_COLOR, 0);
        t.SetColor(DM_800, c[0] | (c[1] << 8) | (c[2] << 16), 0x303030);
    }
    TransPair(t, 218, 219, 218, 219);
    t.Add(PT_PLACE, 0);
    t.SetPlace(DM_1280, 345, 5, 589, 482, -1);
    t.Set_iCurrent(1);
}

void CTherapyPlaces::FillGraphicsMenu(CDynamicPlace& t)
{
    t.Add(PT_PLACE | PF_CENTERED, 11);
    t.SetPlace(DM_1024, 370, 15, 0, 0, -1);
    // box normal, hot, pressed; menu header; menu footer
    TransPair(t, 46, 47, 34, 35);
    TransPair(t, 44, 45, 32, 33);
    TransPair(t, 42, 43, 30, 31);
    TransPair(t, 38, 39, 26, 27);
    TransPair(t, 36, 37, 24, 25);
    t.Add(PT_BITMAP, 0);
    t.SetBitmap(DM_1024, 28, -1, -1);
    t.SetBitmap(DM_1280, 40, -1, -1);
    t.Add(PT_BITMAP, 0);
    t.SetBitmap(DM_1024, 29, -1, -1);
    t.SetBitmap(DM_1280, 41, -1, -1);
    t.Add(PT_POINT, 0);
    t.SetPoint(DM_1024, 25, 30, -1);
    t.Add(PT_POINT, 0);
    t.SetPoint(DM_1024, 13, 9, -1);
    t.Add(PT_POINT, 0);
    t.SetPoint(DM_1024, 1, 1, -1);
    t.SetPoint(DM_1280, 2, 2, -1);
    // exercise titles in index order (1024 image, 1280 image)
    static const int titles[][2] = {{64, 86}, {60, 82}, {62, 84}, {68, 90}, {56, 78}, {58, 80},
                                    {48, 70}, {66, 88}, {54, 76}, {52, 74}, {50, 72}};
    for (const auto& title : titles)
        TransPair(t, title[1], title[1] + 1, title[0], title[0] + 1);
    t.Set_iCurrent(1);
}

void CTherapyPlaces::FillButtons(CDynamicPlace& t)
{
    auto states = [&t](int first1280, int first1024) {
        for (int k = 0; k < 3; ++k)
            TransPair(t, first1280 + 2 * k, first1280 + 2 * k + 1, first1024 + 2 * k,
                      first1024 + 2 * k + 1);
    };
    t.Add(PT_POINT | PF_CENTERED, 0);
    t.SetPoint(DM_1280, 1199, 13, -1);
    t.SetPoint(DM_1024, 950, 4, -1);
    states(0, 0);
    t.Add(PT_POINT | PF_CENTERED, 0);
    t.SetPoint(DM_1024, 870, 3, -1);
    states(336, 6);
    t.Add(PT_POINT | PF_CENTERED, 0);
    t.SetPoint(DM_1024, 750, 3, -1);
    states(316, 12);
    t.Add(PT_POINT | PF_CENTERED, 0);
    t.SetPoint(DM_1024, 680, 3, -1);
    states(322, 18);
    t.Set_iCurrent(1);
}

void CTherapyPlaces::FillPhoto(CDynamicPlace& t)
{
    t.Add(PT_PLACE, 0);
    t.SetPlace(DM_1024, 262, 20, 0, 0, -1);
    t.Add(PT_POINT, 0);
    t.SetPoint(DM_1280, 5, 4, -1);
    t.SetPoint(DM_1024, 5, 4, -1);
    TransPair(t, 201, 202, 198, 199);
    t.Add(PT_BITMAP, 0);
    t.SetBitmap(DM_1280, -1, -1, 203);
    t.SetBitmap(DM_1024, -1, -1, 200);
    t.Set_iCurrent(1);
}

void CTherapyPlaces::FillAlphabet(CDynamicPlace& t)
{
    t.Add(PT_PLACE, 32);
    t.SetPlace(DM_1280, 150, 680, 0, 0, -1);
    t.Add(PT_POINT, 2);
    TransPair(t, 238, 239, 236, 237);
    t.Set_iCurrent(1);
}
