#pragma once
#include <QCursor>

// The program's own mouse cursors, drawn into the program. Slot 1 is "LARROW"
// (the arrow of the therapy window), slot 2 "HAND1" (the pointing hand of
// clickable elements).
class Cursors
{
public:
    enum Slot
    {
        crLArrow = 1,
        crHand1 = 2,
    };

    // Builds both cursors; start-up calls it once, before any window exists.
    static void Load();
    // The same, grown by a factor (screen pixels per design pixel).
    static void LoadScaled(double scale);
    // Frees them; start-up calls it on the way out, while the GUI still runs.
    static void Release();
    // The cursor of a slot; the system arrow for a slot not loaded.
    static QCursor Get(int slot);
};
