#pragma once
#include <QString>

// Process-wide display state, fixed once at start-up (only ColorMode changes
// later, when the therapist switches between colour and grey).
enum : int
{
    DM_800 = 2,
    DM_1024 = 4,
    DM_1280 = 16,
};
enum : int
{
    CM_COLOR = 0x100,
    CM_MONO = 0x200,
};

extern QString AppExeName;
extern QString AppDir;
extern int ScreenWidth;
extern int ScreenHeight;
extern int DisplayMode;
extern int DesignWidth;
extern int DesignHeight;
extern int OffsetX;
extern int OffsetY;
extern int ColorMode;
extern bool DisplayModePending;

// Sets every display global from the screen size and returns whether start-up
// may go on (false when the user refused a low resolution).
bool DetermineDisplayMode();

// Sets the globals for a screen of the given size without asking anything;
// used where the mode must be fixed directly (tests, tools).
void SetDisplayModeFor(int screenWidth, int screenHeight);
