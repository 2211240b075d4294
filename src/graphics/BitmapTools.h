#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>

// Pixel helpers shared by the skins. 24-bit bitmaps are Format_BGR888 (blue
// byte first), masks Format_Grayscale8; 32-bit bitmaps are Format_RGB32/ARGB32
// (blue, green, red, unused). Colours are 0x00BBGGRR values.

// Bytes per pixel of a bitmap the kernels accept as 24- or 32-bit; 0 otherwise.
int PixelBytes(const QImage& bitmap);
// Same for masks: 8-bit (grey or palette), 24- or 32-bit; 0 otherwise.
int MaskBytes(const QImage& mask);

// Adds delta to every byte of a 24-bit bitmap's rows (padding included), clamped.
void Brighten(QImage& bitmap, int delta);
// Gives an 8-bit bitmap the palette (i, i, i).
void GreyPalette(QImage& bitmap);
// Replaces the bitmap by an 8-bit grey bitmap: blue byte or luminance.
void ToGrey8(QImage& bitmap, bool fromFirstChannel);
// Every pixel's three bytes become its luminance.
void ToGrey24(QImage& bitmap);
void Make24(QImage& bitmap);
// Every pixel becomes the colour (0x00BBGGRR); fast for 24-bit bitmaps.
void Fill24(QImage& bitmap, uint32_t colour);
QImage NewBitmap24(int width, int height);
QImage NewBitmap24Filled(int width, int height, uint32_t colour);
void Resize24(QImage& bitmap, int width, int height);

// (11 B + 59 G + 30 R + 50) / 100.
inline int Luminance(int b, int g, int r)
{
    return (11 * b + 59 * g + 30 * r + 50) / 100;
}
