#pragma once
#include <QSize>
#include <QString>
#include <functional>

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
// may go on (false below 800 x 600, or when the user refused a resolution
// below 1024 x 768 that was not accepted before). Asks through ShowAppMessage.
bool DetermineDisplayMode();

// Where DetermineDisplayMode reads the screen size (empty: the primary screen).
// Returns the previous source.
using ScreenSizeSource = std::function<QSize()>;
ScreenSizeSource SetScreenSizeSource(ScreenSizeSource source);

// Sets the globals for a screen of the given size without asking anything;
// used where the mode must be fixed directly (tests, tools).
void SetDisplayModeFor(int screenWidth, int screenHeight);
