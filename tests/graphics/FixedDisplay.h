#pragma once
#include "app/DisplayMode.h"

// Fixes the display mode before any placement table of a fixture is built, so
// that no table asks the screen (and no start-up question appears).
struct SFixedDisplay
{
    SFixedDisplay() { SetDisplayModeFor(1280, 960); }
};
