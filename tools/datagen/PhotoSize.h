#pragma once
#include <QSize>

// The photo area of the exercises in the two photo archives: zdjar3.bb serves
// the 1024x768 layout, zdjar5.bb the 1280x960 one (and 800x600, scaled down).
// The skins draw the photo mask at these sizes, the material renders its
// pictures at them.
inline constexpr QSize PhotoSize1024{400, 300};
inline constexpr QSize PhotoSize1280{480, 360};
