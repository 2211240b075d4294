#pragma once
#include <QImage>

// Resamples source into dest at dest's current size (24-bit result): bilinear
// when the target is at least half the source, a box filter when it is smaller
// in both directions, nearest neighbour for degenerate or one-sided cases.
void Stretch(QImage& dest, const QImage& source);
// Area averaging for targets smaller than the source.
void Shrink(QImage& dest, const QImage& source);

// The individual paths, for tests and benchmarks; sizes are taken from dest.
void StretchBilinear(QImage& dest, const QImage& source);
void StretchBox(QImage& dest, const QImage& source);
void StretchNearest(QImage& dest, const QImage& source);
