#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>

// The blend of one channel with weight w (1..256): leans toward the background
// b, never passes the image byte i.
inline int BlendChannel(int b, int i, int w)
{
    return b < i ? b + ((i - b) * w) / 256 : b - (w * (b - i)) / 256;
}

// Weight of a mask value v at opacity alpha (alpha clamped to 0..255).
inline int MaskWeight(int v, int alpha)
{
    return ((alpha + 1) * v) / 256 + 1;
}

// A rectangle of bytes: top-left pixel, row stride and bytes per pixel.
struct SPlane
{
    uchar* bits = nullptr;
    qsizetype stride = 0;
    int bpp = 0;
};

// Blends width x height pixels: dest = blend(background, image, mask weight).
// Every plane points at its first pixel. Shared by every compose path.
void BlendArea(SPlane dest, SPlane background, SPlane image, SPlane mask, int width, int height,
               int alpha);

// Image (left/top/right/bottom of `clip` in image coordinates; right and
// bottom exclusive, i.e. clip.x() + clip.width()) blended with the mask over
// background at (bgX, bgY), written into dest at (destX, destY).
void BlendClipped(QImage& dest, int destX, int destY, int alpha, const QImage& background, int bgX,
                  int bgY, const QRect& clip, const QImage& mask, const QImage& image);
// Image blended with the mask over a solid colour, written into dest at (x, y).
void BlendOnColor(QImage& dest, int x, int y, int alpha, uint32_t colour, const QImage& mask,
                  const QImage& image);
