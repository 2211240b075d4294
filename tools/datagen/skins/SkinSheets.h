#pragma once
#include "SkinMap.h"

#include <QImage>
#include <map>

// What the painter made for one container: index -> image (or mask).
using SkinImageSet = std::map<int, QImage>;

// Paints every index of the map, per container.
std::map<SkinFile, SkinImageSet> PaintAllSkins();

// A contact sheet of one container for one display mode (true: 1280x960, false:
// 1024x768): each image composed through its mask over a neutral backdrop, in
// colour and in grey side by side, with its index and size.
QImage ContactSheet(SkinFile file, bool big, const SkinImageSet& images);
