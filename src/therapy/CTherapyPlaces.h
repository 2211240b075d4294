#pragma once

class CDynamicPlace;

// The five placement tables of the therapy window, written once; each ends
// with its cursor at position 1.
class CTherapyPlaces
{
public:
    // Saved positions in the main table.
    static constexpr int PosPatient = 1;
    static constexpr int PosMenu = 2;
    static constexpr int PosMenuBitmap = 3;
    static constexpr int PosFirstColour = 4;
    static constexpr int PosTimerPicture = 15;
    static constexpr int PosVideo = 16;

    static void FillMain(CDynamicPlace& table);
    static void FillGraphicsMenu(CDynamicPlace& table);
    static void FillButtons(CDynamicPlace& table);
    static void FillPhoto(CDynamicPlace& table);
    static void FillAlphabet(CDynamicPlace& table);
};
