#include "graphics/BitmapTools.h"
#include "graphics/BlendKernels.h"
#include "graphics/CTransBitmap.h"
#include "graphics/StretchBitmap.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <vector>

namespace {

QImage RandomImage(int w, int h, QImage::Format format, quint32 seed)
{
    QImage img(w, h, format);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y) {
        uchar* row = img.scanLine(y);
        for (qsizetype i = 0; i < img.bytesPerLine(); ++i)
            row[i] = static_cast<uchar>(rng.bounded(256));
    }
    return img;
}

// Masks with plenty of the two extremes, as real skins have.
QImage RandomMask(int w, int h, quint32 seed)
{
    QImage m = RandomImage(w, h, QImage::Format_Grayscale8, seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uchar& v = m.scanLine(y)[x];
            v = v < 60 ? 0 : v > 200 ? 255 : v;
        }
    return m;
}

QImage Solid(int w, int h, int b, int g, int r)
{
    QImage img(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uchar* p = img.scanLine(y) + 3 * x;
            p[0] = static_cast<uchar>(b);
            p[1] = static_cast<uchar>(g);
            p[2] = static_cast<uchar>(r);
        }
    return img;
}

QImage SolidMask(int w, int h, int v)
{
    QImage m(w, h, QImage::Format_Grayscale8);
    m.fill(static_cast<uint>(v));
    return m;
}

int Byte(const QImage& img, int x, int y, int c)
{
    return img.constScanLine(y)[x * (img.depth() / 8) + c];
}

void ExpectSame(const QImage& a, const QImage& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(Byte(a, x, y, c), Byte(b, x, y, c))
                    << "at " << x << "," << y << " ch " << c;
}

// The blend rule, written out plainly.
int RefBlend(int b, int i, int v, int alpha)
{
    alpha = std::clamp(alpha, 0, 255);
    if (alpha == 0)
        return b;
    const int w = ((alpha + 1) * v) / 256 + 1;
    if (b < i)
        return b + ((i - b) * w) / 256;
    return b - (w * (b - i)) / 256;
}

TEST(Blend, NumbersOfTheRule)
{
    EXPECT_EQ(BlendChannel(0, 200, MaskWeight(128, 255)), 100);
    EXPECT_EQ(BlendChannel(200, 0, MaskWeight(128, 255)), 100);
    EXPECT_EQ(BlendChannel(77, 200, MaskWeight(0, 255)), 77);
    EXPECT_EQ(BlendChannel(77, 200, MaskWeight(255, 255)), 200);
    EXPECT_EQ(BlendChannel(200, 77, MaskWeight(255, 255)), 77);
    EXPECT_EQ(MaskWeight(255, 0), 1);
    EXPECT_EQ(MaskWeight(255, 120), 121 * 255 / 256 + 1);
}

TEST(Blend, ComposeMatchesReferenceOverEveryFormatAndOpacity)
{
    const int sizes[][2] = {{1, 1}, {7, 3}, {50, 33}, {64, 1}};
    for (auto [w, h] : sizes)
        for (int alpha : {0, 1, 120, 254, 255, 300, -4})
            for (QImage::Format bgFormat : {QImage::Format_BGR888, QImage::Format_RGB32}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " alpha " << alpha);
                const QImage image = RandomImage(w, h, QImage::Format_BGR888, 10 + w);
                const QImage mask = RandomMask(w, h, 20 + h);
                const QImage bg = RandomImage(w + 9, h + 5, bgFormat, 30);
                CTransBitmap tb;
                tb.Compose(&image, &mask, alpha, &bg, 4, 2);
                const QImage& comp = *tb.Composite();
                ASSERT_EQ(comp.format(), QImage::Format_BGR888);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        for (int c = 0; c < 3; ++c)
                            ASSERT_EQ(Byte(comp, x, y, c),
                                      RefBlend(Byte(bg, x + 4, y + 2, c), Byte(image, x, y, c),
                                               mask.constScanLine(y)[x], alpha));
            }
}

TEST(Blend, ComposeClipsAtTheBackgroundEdges)
{
    const QImage image = Solid(50, 10, 9, 9, 9);
    const QImage mask = SolidMask(50, 10, 255);
    const QImage bg = Solid(100, 100, 1, 2, 3);
    CTransBitmap tb;
    tb.EnsureComposite(50, 10)->fill(Qt::white);
    tb.Compose(&image, &mask, 255, &bg, -10, 0);
    const QImage& comp = *tb.Composite();
    EXPECT_EQ(Byte(comp, 9, 0, 0), 255); // skipped columns keep what they had
    EXPECT_EQ(Byte(comp, 10, 0, 0), 9);
    EXPECT_EQ(Byte(comp, 49, 9, 0), 9);
    // Cut at the right edge: only 5 columns are covered.
    tb.EnsureComposite(50, 10)->fill(Qt::white);
    tb.Compose(&image, &mask, 0, &bg, 95, -3);
    EXPECT_EQ(Byte(comp, 4, 3, 2), 3); // alpha 0 copies the background
    EXPECT_EQ(Byte(comp, 5, 3, 2), 255);
    EXPECT_EQ(Byte(comp, 4, 2, 2), 255);
    // Missing parts: nothing happens.
    CTransBitmap none;
    none.Compose(&image, nullptr, 255, &bg, 0, 0);
    EXPECT_EQ(none.Composite(), nullptr);
}

TEST(Blend, ComposeOnColorAndBlendOnColor)
{
    const QImage image = RandomImage(9, 5, QImage::Format_BGR888, 5);
    const QImage mask = RandomMask(9, 5, 6);
    const uint32_t colour = 0x00112233; // R 0x33, G 0x22, B 0x11
    CTransBitmap tb;
    tb.SetImage(std::make_unique<QImage>(image));
    tb.SetMask(std::make_unique<QImage>(mask));
    for (int alpha : {0, 120, 255}) {
        tb.ComposeOnColor(colour, alpha);
        const QImage& comp = *tb.Composite();
        const int bytes[3] = {0x11, 0x22, 0x33};
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(Byte(comp, x, y, c), RefBlend(bytes[c], Byte(image, x, y, c),
                                                            mask.constScanLine(y)[x], alpha));
    }
    // Into a larger 32-bit dest at a negative position: only the part inside.
    QImage dest(6, 6, QImage::Format_RGB32);
    dest.fill(Qt::white);
    BlendOnColor(dest, -3, 4, 255, colour, mask, image);
    EXPECT_EQ(Byte(dest, 0, 3, 0), 255);
    EXPECT_EQ(Byte(dest, 0, 4, 0),
              RefBlend(0x11, Byte(image, 3, 0, 0), mask.constScanLine(0)[3], 255));
    EXPECT_EQ(Byte(dest, 5, 5, 2),
              RefBlend(0x33, Byte(image, 8, 1, 2), mask.constScanLine(1)[8], 255));
    // Image and mask of different sizes: nothing is drawn.
    QImage untouched = dest.copy();
    BlendOnColor(dest, 0, 0, 255, colour, SolidMask(3, 3, 255), image);
    EXPECT_EQ(dest, untouched);
}

TEST(Blend, BlendClippedHonoursEveryCut)
{
    const QImage image = RandomImage(20, 12, QImage::Format_BGR888, 7);
    const QImage mask = RandomMask(20, 12, 8);
    const QImage bg = RandomImage(30, 30, QImage::Format_BGR888, 9);
    struct Case
    {
        int destX, destY, bgX, bgY;
        QRect clip;
    };
    const Case cases[] = {
        {0, 0, 0, 0, QRect(0, 0, 20, 12)},   {5, 3, 2, 1, QRect(0, 0, 20, 12)},
        {-4, 2, 3, -2, QRect(0, 0, 20, 12)}, {2, 2, 25, 20, QRect(0, 0, 20, 12)},
        {1, 1, 1, 1, QRect(3, 2, 10, 5)},    {10, 10, 0, 0, QRect(0, 0, 20, 12)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message()
                     << k.destX << "," << k.destY << " " << k.bgX << "," << k.bgY);
        QImage dest = RandomImage(16, 16, QImage::Format_BGR888, 11);
        const QImage before = dest.copy();
        BlendClipped(dest, k.destX, k.destY, 255, bg, k.bgX, k.bgY, k.clip, mask, image);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int ix = x - k.destX, iy = y - k.destY;
                const int bx = k.bgX + ix, by = k.bgY + iy;
                const bool drawn = ix >= 0 && iy >= 0 && ix < 20 && iy < 12 && bx >= 0 && by >= 0 &&
                                   bx < 30 && by < 30 && k.clip.contains(ix, iy);
                for (int c = 0; c < 3; ++c) {
                    const int expected = drawn
                                             ? RefBlend(Byte(bg, bx, by, c), Byte(image, ix, iy, c),
                                                        mask.constScanLine(iy)[ix], 255)
                                             : Byte(before, x, y, c);
                    ASSERT_EQ(Byte(dest, x, y, c), expected) << x << "," << y;
                }
            }
    }
}

TEST(Pixels, GreyBrightenAndMakers)
{
    QImage img = Solid(3, 1, 0, 0, 255);
    img.scanLine(0)[3] = 255; // pixel 1: pure blue
    img.scanLine(0)[4] = img.scanLine(0)[5] = 0;
    img.scanLine(0)[6] = img.scanLine(0)[7] = img.scanLine(0)[8] = 255; // white
    QImage grey = img.copy();
    ToGrey8(grey, false);
    ASSERT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(grey.constScanLine(0)[0], 77);
    EXPECT_EQ(grey.constScanLine(0)[1], 28);
    EXPECT_EQ(grey.constScanLine(0)[2], 255);
    QImage first = img.copy();
    ToGrey8(first, true);
    EXPECT_EQ(first.constScanLine(0)[0], 0);
    EXPECT_EQ(first.constScanLine(0)[1], 255);
    QImage g24 = img.copy();
    ToGrey24(g24);
    EXPECT_EQ(Byte(g24, 0, 0, 0), 77);
    EXPECT_EQ(Byte(g24, 0, 0, 2), 77);
    QImage bright = Solid(2, 1, 230, 10, 0);
    Brighten(bright, 40);
    EXPECT_EQ(Byte(bright, 0, 0, 0), 255);
    EXPECT_EQ(Byte(bright, 0, 0, 1), 50);
    EXPECT_EQ(Byte(bright, 0, 0, 2), 40);
    QImage m = SolidMask(2, 2, 10);
    Brighten(m, 40); // only 24-bit bitmaps
    EXPECT_EQ(m.constScanLine(0)[0], 10);
    const QImage filled = NewBitmap24Filled(2, 2, 0x00A1B2C3);
    EXPECT_EQ(Byte(filled, 1, 1, 0), 0xA1);
    EXPECT_EQ(Byte(filled, 1, 1, 2), 0xC3);
    QImage r = filled;
    Resize24(r, 3, 1);
    EXPECT_EQ(r.size(), QSize(3, 1));
    EXPECT_EQ(r.format(), QImage::Format_BGR888);
}

// The direct fill gives what Qt's own fill gives, on every row and at widths
// whose rows are padded; other formats still fill.
TEST(Pixels, Fill24MatchesQtFill)
{
    for (int width : {1, 2, 5, 37})
        for (uint32_t colour : {0x000000u, 0x7F7F7Fu, 0x00A1B2C3u, 0x00FF0001u}) {
            SCOPED_TRACE(testing::Message() << width << " " << colour);
            const QColor qt(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff);
            QImage expected(width, 3, QImage::Format_BGR888);
            expected.fill(qt);
            QImage img(width, 3, QImage::Format_BGR888);
            Fill24(img, colour);
            for (int y = 0; y < 3; ++y)
                EXPECT_EQ(memcmp(img.constScanLine(y), expected.constScanLine(y),
                                 static_cast<size_t>(width) * 3),
                          0);
            QImage argb(width, 2, QImage::Format_RGB32);
            Fill24(argb, colour);
            EXPECT_EQ(argb.pixelColor(width - 1, 1), qt);
        }
}

TEST(TransBitmap, MaskFollowsTheImageSize)
{
    CTransBitmap tb;
    tb.SetMask(std::make_unique<QImage>(SolidMask(4, 4, 200)));
    tb.SetImage(std::make_unique<QImage>(Solid(6, 3, 1, 2, 3)));
    ASSERT_EQ(tb.Mask()->size(), QSize(6, 3));
    EXPECT_EQ(tb.Mask()->constScanLine(0)[3], 200);
    EXPECT_EQ(tb.Mask()->constScanLine(0)[4], 0); // new area transparent
    tb.SetMask(std::make_unique<QImage>(Solid(6, 3, 0, 0, 255)));
    EXPECT_EQ(tb.Mask()->format(), QImage::Format_Grayscale8);
    EXPECT_EQ(tb.Mask()->constScanLine(0)[0], 77);
    CTransBitmap copy;
    copy.Assign(tb);
    EXPECT_EQ(*copy.Image(), *tb.Image());
    CTransBitmap moved;
    moved.MoveFrom(copy);
    EXPECT_EQ(copy.Image(), nullptr);
    EXPECT_NE(moved.Mask(), nullptr);
    auto taken = moved.TakeComposite();
    EXPECT_TRUE(taken->isNull());
    QImage canvas = Solid(10, 10, 50, 50, 50);
    tb.SetMask(std::make_unique<QImage>(SolidMask(6, 3, 255)));
    tb.Draw(canvas, 2, 2, 255, true);
    EXPECT_EQ(Byte(canvas, 2, 2, 2), 3);
    EXPECT_EQ(Byte(canvas, 1, 2, 2), 50);
    EXPECT_EQ(tb.Composite(), nullptr);
}

// --- resampling, written straight from the rules --------------------------

struct RefTap
{
    int a, b, wa, wb, total;
};

std::vector<RefTap> RefLinear(int src, int dst)
{
    std::vector<RefTap> t;
    for (int i = 0; i < dst; ++i) {
        const long long c = static_cast<long long>(src) * (2 * i + 1);
        const long long d = (c + dst) / (2LL * dst);
        const long long e = d - 1;
        if (e < 0)
            t.push_back({0, 0, 1, 0, 1});
        else if (d == src)
            t.push_back({src - 2, src - 1, 0, 1, 1});
        else {
            const int total = 2 * dst;
            const int right = static_cast<int>(c - (2 * e + 1) * dst);
            t.push_back(
                {static_cast<int>(e), static_cast<int>(e + 1), total - right, right, total});
        }
    }
    return t;
}

// Works on bottom-first row numbers, as the rule counts them.
QImage RefBilinear(const QImage& src, int W2, int H2)
{
    const int H = src.height();
    QImage out(W2, H2, QImage::Format_BGR888);
    const auto cols = RefLinear(src.width(), W2);
    const auto rows = RefLinear(H, H2);
    for (int j = 0; j < H2; ++j) {
        const RefTap& r = rows[static_cast<size_t>(j)];
        for (int i = 0; i < W2; ++i) {
            const RefTap& c = cols[static_cast<size_t>(i)];
            for (int ch = 0; ch < 3; ++ch) {
                const long long s = 1LL * Byte(src, c.a, H - 1 - r.a, ch) * c.wa * r.wa +
                                    1LL * Byte(src, c.b, H - 1 - r.a, ch) * c.wb * r.wa +
                                    1LL * Byte(src, c.a, H - 1 - r.b, ch) * c.wa * r.wb +
                                    1LL * Byte(src, c.b, H - 1 - r.b, ch) * c.wb * r.wb;
                out.scanLine(H2 - 1 - j)[3 * i + ch] = static_cast<uchar>(s / (c.total * r.total));
            }
        }
    }
    return out;
}

long long BoxWeight(int i, int k, int S, int D)
{
    const long long f = 1LL * i * S / D;
    const long long l = (1LL * (i + 1) * S - 1) / D;
    if (k < f || k > l)
        return 0;
    if (k == f)
        return (f + 1) * D - 1LL * i * S;
    if (k == l)
        return 1LL * (i + 1) * S - l * D;
    return D;
}

QImage RefBox(const QImage& src, int W2, int H2)
{
    const int W = src.width(), H = src.height();
    QImage out(W2, H2, QImage::Format_BGR888);
    for (int y = 0; y < H2; ++y)
        for (int x = 0; x < W2; ++x)
            for (int ch = 0; ch < 3; ++ch) {
                long long s = 0;
                for (int sy = 0; sy < H; ++sy) {
                    const long long wy = BoxWeight(y, sy, H, H2);
                    if (!wy)
                        continue;
                    for (int sx = 0; sx < W; ++sx)
                        s += Byte(src, sx, sy, ch) * BoxWeight(x, sx, W, W2) * wy;
                }
                out.scanLine(y)[3 * x + ch] = static_cast<uchar>(s / (1LL * W * H));
            }
    return out;
}

TEST(Stretch, BilinearMatchesTheRuleAtManySizes)
{
    const int cases[][4] = {{2, 2, 3, 5},     {5, 3, 3, 2},    {37, 23, 60, 41}, {37, 23, 19, 12},
                            {16, 16, 31, 9},  {9, 31, 17, 30}, {64, 48, 51, 38}, {3, 2, 1000, 2},
                            {40, 30, 32, 24}, {7, 7, 4, 4}};
    for (auto [w, h, w2, h2] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " -> " << w2 << "x" << h2);
        const QImage src =
            RandomImage(w, h, QImage::Format_BGR888, static_cast<quint32>(w * 7 + h));
        QImage dest = NewBitmap24(w2, h2);
        Stretch(dest, src);
        ExpectSame(dest, RefBilinear(src, w2, h2));
    }
}

TEST(Stretch, BoxFilterMatchesTheRule)
{
    const int cases[][4] = {
        {37, 23, 10, 7}, {40, 30, 19, 14}, {9, 9, 1, 1}, {64, 48, 5, 31}, {33, 17, 32, 8}};
    for (auto [w, h, w2, h2] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " -> " << w2 << "x" << h2);
        const QImage src = RandomImage(w, h, QImage::Format_BGR888, static_cast<quint32>(w + h));
        QImage dest = NewBitmap24(w2, h2);
        Stretch(dest, src);
        ExpectSame(dest, RefBox(src, w2, h2));
    }
}

TEST(Stretch, DegenerateSizesUseNearestNeighbour)
{
    // 1 pixel high source to a taller target; 1-pixel targets; one-sided shrink.
    const int cases[][4] = {
        {5, 1, 9, 4}, {1, 1, 3, 3}, {1, 6, 1, 2}, {8, 8, 1, 9}, {40, 10, 10, 10}};
    for (auto [w, h, w2, h2] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " -> " << w2 << "x" << h2);
        const QImage src = RandomImage(w, h, QImage::Format_BGR888, 3);
        QImage dest = NewBitmap24(w2, h2);
        Stretch(dest, src);
        ASSERT_EQ(dest.size(), QSize(w2, h2));
        for (int y = 0; y < h2; ++y)
            for (int x = 0; x < w2; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(Byte(dest, x, y, c), Byte(src, x * w / w2, y * h / h2, c));
    }
}

TEST(Stretch, SameSizeCopiesAndMissingDoesNothing)
{
    const QImage src = RandomImage(5, 4, QImage::Format_RGB32, 4);
    QImage dest = NewBitmap24(5, 4);
    Stretch(dest, src);
    EXPECT_EQ(dest.format(), QImage::Format_BGR888);
    EXPECT_EQ(dest, src.convertToFormat(QImage::Format_BGR888));
    QImage empty;
    Stretch(empty, src);
    EXPECT_TRUE(empty.isNull());
    QImage target = NewBitmap24(2, 2);
    Stretch(target, QImage());
    EXPECT_EQ(target, NewBitmap24(2, 2));
}

TEST(Stretch, LargeTargetUsesWideSums)
{
    // Past 4 210 751 target pixels the sums need 64 bits; white stays white.
    QImage src = Solid(1100, 1000, 255, 255, 255);
    QImage dest = NewBitmap24(2100, 2010);
    Stretch(dest, src);
    EXPECT_EQ(Byte(dest, 1000, 1000, 0), 255);
    EXPECT_EQ(Byte(dest, 2099, 2009, 2), 255);
}

} // namespace
