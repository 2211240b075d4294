#include "graphics/BitmapTools.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

int PixelBytes(const QImage& bitmap)
{
    switch (bitmap.format()) {
    case QImage::Format_BGR888:
        return 3;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return 4;
    default:
        return 0;
    }
}

int MaskBytes(const QImage& mask)
{
    if (mask.format() == QImage::Format_Grayscale8 || mask.format() == QImage::Format_Indexed8)
        return 1;
    return PixelBytes(mask);
}

void Brighten(QImage& bitmap, int delta)
{
    if (bitmap.format() != QImage::Format_BGR888)
        return;
    const qsizetype stride = bitmap.bytesPerLine();
    for (int y = 0; y < bitmap.height(); ++y) {
        uchar* row = bitmap.scanLine(y);
        for (qsizetype i = 0; i < stride; ++i)
            row[i] = static_cast<uchar>(std::clamp(row[i] + delta, 0, 255));
    }
}

void GreyPalette(QImage& bitmap)
{
    if (bitmap.format() == QImage::Format_Grayscale8)
        return; // already the grey ramp
    if (bitmap.depth() != 8)
        return;
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(i, i, i);
    bitmap.setColorTable(table);
}

void ToGrey8(QImage& bitmap, bool fromFirstChannel)
{
    if (bitmap.isNull())
        return;
    if (fromFirstChannel && bitmap.depth() == 8) {
        if (bitmap.format() == QImage::Format_Indexed8) // the index is the value
            bitmap.reinterpretAsFormat(QImage::Format_Grayscale8);
        return;
    }
    if (PixelBytes(bitmap) == 0)
        Make24(bitmap);
    const int bpp = PixelBytes(bitmap);
    QImage grey(bitmap.width(), bitmap.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < bitmap.height(); ++y) {
        const uchar* src = bitmap.constScanLine(y);
        uchar* dst = grey.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x, src += bpp)
            dst[x] =
                fromFirstChannel ? src[0] : static_cast<uchar>(Luminance(src[0], src[1], src[2]));
    }
    bitmap = std::move(grey);
}

void ToGrey24(QImage& bitmap)
{
    if (bitmap.isNull())
        return;
    Make24(bitmap);
    for (int y = 0; y < bitmap.height(); ++y) {
        uchar* p = bitmap.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x, p += 3)
            p[0] = p[1] = p[2] = static_cast<uchar>(Luminance(p[0], p[1], p[2]));
    }
}

void Make24(QImage& bitmap)
{
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_BGR888)
        bitmap.convertTo(QImage::Format_BGR888);
}

void Fill24(QImage& bitmap, uint32_t colour)
{
    if (bitmap.isNull())
        return;
    const auto r = static_cast<uchar>(colour & 0xff);
    const auto g = static_cast<uchar>((colour >> 8) & 0xff);
    const auto b = static_cast<uchar>((colour >> 16) & 0xff);
    // Qt fills a 24-bit image through a painter, pixel by pixel.
    if (bitmap.format() != QImage::Format_BGR888) {
        bitmap.fill(QColor(r, g, b));
        return;
    }
    const size_t rowBytes = static_cast<size_t>(bitmap.width()) * 3;
    uchar* first = bitmap.scanLine(0);
    if (r == g && g == b) {
        for (int y = 0; y < bitmap.height(); ++y)
            std::memset(bitmap.scanLine(y), r, rowBytes);
        return;
    }
    for (size_t x = 0; x < rowBytes; x += 3) {
        first[x] = b;
        first[x + 1] = g;
        first[x + 2] = r;
    }
    for (int y = 1; y < bitmap.height(); ++y)
        std::memcpy(bitmap.scanLine(y), first, rowBytes);
}

QImage NewBitmap24(int width, int height)
{
    return NewBitmap24Filled(width, height, 0);
}

QImage NewBitmap24Filled(int width, int height, uint32_t colour)
{
    QImage img(width, height, QImage::Format_BGR888);
    Fill24(img, colour);
    return img;
}

void Resize24(QImage& bitmap, int width, int height)
{
    Make24(bitmap);
    if (!bitmap.isNull() && bitmap.width() == width && bitmap.height() == height)
        return;
    QImage resized = NewBitmap24(width, height);
    if (!bitmap.isNull()) {
        QPainter p(&resized);
        p.drawImage(0, 0, bitmap);
    }
    bitmap = std::move(resized);
}
