#pragma once
#include <QImage>
#include <QRegion>
#include <QSize>

class CBitmapsContainer;

// The skinned frame of the program's windows over the main window (messages,
// the progress window): the windows skin's frame picture tiled to any size
// (corners, edges in 60-pixel pieces, the middle band repeated downwards)
// and the rounded outline that cuts its corners.
namespace DialogFrame {

// The skin's frame picture for the display and colour mode, 24-bit; a null
// image without a skin.
QImage Source(CBitmapsContainer* windows);
// The frame of a window of width x height tiled from `source`.
QImage Build(const QImage& source, int width, int height);
// The window's shape: a rectangle with rounded corners.
QRegion Outline(const QSize& size);

} // namespace DialogFrame
