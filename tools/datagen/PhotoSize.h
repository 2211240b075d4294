#pragma once
#include <QSize>

// The photographs' size, fixed by the photo mask of each layout: the photo
// control cuts every picture to its mask and stretches a picture of another
// size to it. zdjar5.bb serves 1280x960 (and 800x600, scaled down from it),
// zdjar3.bb serves 1024x768.
inline constexpr QSize PhotoSize1280(616, 462); // zdjar5.bb, photo mask cextb 203
inline constexpr QSize PhotoSize1024(490, 368); // zdjar3.bb, photo mask cextb 200
