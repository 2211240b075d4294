#include "graphics/BlendKernels.h"

#include "graphics/BitmapTools.h"

#include <algorithm>
#include <vector>

namespace {

SPlane PlaneAt(const QImage& img, int x, int y, int bpp)
{
    // The kernels write only through dest; the other planes are read.
    auto* bits = const_cast<uchar*>(img.constScanLine(y)) + static_cast<qsizetype>(x) * bpp;
    return SPlane{bits, img.bytesPerLine(), bpp};
}

SPlane WritablePlaneAt(QImage& img, int x, int y, int bpp)
{
    return SPlane{img.scanLine(y) + static_cast<qsizetype>(x) * bpp, img.bytesPerLine(), bpp};
}

// The common case (24-bit everything, 8-bit mask): weights are spread over the
// three bytes of a pixel so that the byte loop has no per-pixel structure and
// vectorises; everything fits 16-bit lanes ((255 * 256) < 2^16).
__attribute__((target_clones("avx2", "default"))) void
BlendRow24(uchar* d, const uchar* b, const uchar* __restrict i, const uchar* __restrict m,
           int width, int alpha, uint16_t* __restrict wb)
{
    const uint16_t a1 = static_cast<uint16_t>(alpha + 1);
    for (int x = 0; x < width; ++x) {
        const uint16_t w = static_cast<uint16_t>(((a1 * m[x]) >> 8) + 1);
        wb[3 * x] = wb[3 * x + 1] = wb[3 * x + 2] = w;
    }
    const int n = width * 3;
    for (int k = 0; k < n; ++k) {
        const uint16_t bb = b[k];
        const uint16_t ii = i[k];
        const bool up = bb < ii;
        const uint16_t diff = static_cast<uint16_t>(up ? ii - bb : bb - ii);
        const uint16_t t = static_cast<uint16_t>(static_cast<uint16_t>(diff * wb[k]) >> 8);
        d[k] = static_cast<uchar>(up ? bb + t : bb - t);
    }
}

template <int DB, int BB, int IB, int MB>
void BlendRowGeneric(uchar* d, const uchar* b, const uchar* i, const uchar* m, int width, int alpha)
{
    for (int x = 0; x < width; ++x, d += DB, b += BB, i += IB, m += MB) {
        const int w = MaskWeight(m[0], alpha);
        for (int c = 0; c < 3; ++c)
            d[c] = static_cast<uchar>(BlendChannel(b[c], i[c], w));
        if constexpr (DB == 4)
            d[3] = 0xff;
    }
}

using RowFn = void (*)(uchar*, const uchar*, const uchar*, const uchar*, int, int);

template <int DB, int BB, int IB> RowFn PickMask(int mb)
{
    switch (mb) {
    case 1:
        return &BlendRowGeneric<DB, BB, IB, 1>;
    case 3:
        return &BlendRowGeneric<DB, BB, IB, 3>;
    default:
        return &BlendRowGeneric<DB, BB, IB, 4>;
    }
}

template <int DB, int BB> RowFn PickImage(int ib, int mb)
{
    return ib == 3 ? PickMask<DB, BB, 3>(mb) : PickMask<DB, BB, 4>(mb);
}

template <int DB> RowFn PickBackground(int bb, int ib, int mb)
{
    return bb == 3 ? PickImage<DB, 3>(ib, mb) : PickImage<DB, 4>(ib, mb);
}

RowFn PickRow(int db, int bb, int ib, int mb)
{
    return db == 3 ? PickBackground<3>(bb, ib, mb) : PickBackground<4>(bb, ib, mb);
}

} // namespace

void BlendArea(SPlane dest, SPlane background, SPlane image, SPlane mask, int width, int height,
               int alpha)
{
    if (width <= 0 || height <= 0)
        return;
    alpha = std::clamp(alpha, 0, 255);
    const bool fast = dest.bpp == 3 && background.bpp == 3 && image.bpp == 3 && mask.bpp == 1;
    std::vector<uint16_t> weights(fast ? static_cast<size_t>(width) * 3 : 0);
    const RowFn generic = fast ? nullptr : PickRow(dest.bpp, background.bpp, image.bpp, mask.bpp);
    for (int y = 0; y < height; ++y) {
        uchar* d = dest.bits + y * dest.stride;
        const uchar* b = background.bits + y * background.stride;
        const uchar* i = image.bits + y * image.stride;
        const uchar* m = mask.bits + y * mask.stride;
        if (fast)
            BlendRow24(d, b, i, m, width, alpha, weights.data());
        else
            generic(d, b, i, m, width, alpha);
    }
}

void BlendClipped(QImage& dest, int destX, int destY, int alpha, const QImage& background, int bgX,
                  int bgY, const QRect& clip, const QImage& mask, const QImage& image)
{
    const int db = PixelBytes(dest);
    const int bb = PixelBytes(background);
    const int ib = PixelBytes(image);
    const int mb = MaskBytes(mask);
    if (!db || !bb || !ib || !mb || image.size() != mask.size())
        return;
    const int c0 = std::max({0, -bgX, -destX, clip.x()});
    const int c1 = std::min(
        {image.width(), background.width() - bgX, dest.width() - destX, clip.x() + clip.width()});
    const int r0 = std::max({0, -bgY, -destY, clip.y()});
    const int r1 = std::min({image.height(), background.height() - bgY, dest.height() - destY,
                             clip.y() + clip.height()});
    if (c1 <= c0 || r1 <= r0)
        return;
    BlendArea(WritablePlaneAt(dest, destX + c0, destY + r0, db),
              PlaneAt(background, bgX + c0, bgY + r0, bb), PlaneAt(image, c0, r0, ib),
              PlaneAt(mask, c0, r0, mb), c1 - c0, r1 - r0, alpha);
}

void BlendOnColor(QImage& dest, int x, int y, int alpha, uint32_t colour, const QImage& mask,
                  const QImage& image)
{
    const int db = PixelBytes(dest);
    const int ib = PixelBytes(image);
    const int mb = MaskBytes(mask);
    if (!db || !ib || !mb || image.size() != mask.size())
        return;
    const int c0 = std::max(0, -x);
    const int c1 = std::min(image.width(), dest.width() - x);
    const int r0 = std::max(0, -y);
    const int r1 = std::min(image.height(), dest.height() - y);
    if (c1 <= c0 || r1 <= r0)
        return;
    // One row of the colour, read again for every row (stride 0).
    std::vector<uchar> row(static_cast<size_t>(c1 - c0) * 3);
    for (size_t k = 0; k < row.size(); k += 3) {
        row[k] = static_cast<uchar>(colour >> 16);
        row[k + 1] = static_cast<uchar>(colour >> 8);
        row[k + 2] = static_cast<uchar>(colour);
    }
    BlendArea(WritablePlaneAt(dest, x + c0, y + r0, db), SPlane{row.data(), 0, 3},
              PlaneAt(image, c0, r0, ib), PlaneAt(mask, c0, r0, mb), c1 - c0, r1 - r0, alpha);
}
