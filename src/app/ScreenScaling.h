#pragma once
#include <QRect>
#include <QSize>

// The design (one of the three layouts) shown larger on a screen that is
// larger than it: one factor for the whole design, the largest area of the
// design's shape that fits the screen, centred. The windows keep working in
// design pixels; the factor maps them to screen pixels.

// The layout a screen of this size gets: 1280 x 960, 1024 x 768 or 800 x 600.
QSize DesignSizeFor(QSize screen);

struct SScreenScale
{
    double Factor = 1.0; // screen pixels per design pixel, never below 1
    QRect Area;          // where the design lies, in screen pixels
};

// The largest area of the design's shape (whole multiples of its smallest
// shape, so that the sides keep the design's ratio exactly) within the
// screen, centred. A screen smaller than the design keeps the design's own
// size, centred as it always was (negative offsets included).
SScreenScale ScaleForScreen(QSize screen, QSize design);

// Screen and design pixels along one axis, both counted from the same origin.
// A screen pixel belongs to the design pixel under its centre, so that every
// screen pixel drawn as part of an element (a button's edge included) hits
// that element.
int ScreenToDesign(int screenPixel, double factor);
// The first screen pixel that belongs to the design pixel.
int DesignToScreen(int designPixel, double factor);
