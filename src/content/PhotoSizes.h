#pragma once
#include <QSize>

// The photographs' size, fixed by the photo mask of each layout: the photo
// control cuts every picture to its mask and stretches a picture of another
// size to it. The large size serves 1280x960 (and 800x600, scaled down from
// it), the small one 1024x768; the shipped archives zdjar5.bb and zdjar3.bb
// and the own pictures are made at these sizes.
inline constexpr QSize PhotoSize1280(616, 462); // photo mask cextb 203
inline constexpr QSize PhotoSize1024(490, 368); // photo mask cextb 200
