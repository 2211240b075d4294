#include "graphics/StretchBitmap.h"

#include "graphics/BitmapTools.h"

#include <cstdint>
#include <vector>

namespace {

// Truncating division by a divisor fixed for a whole call, as one 32 x 32 bit
// multiply and a shift per byte (which vectorises). Exact for numerators up to
// 255 * divisor when 255 * divisor^2 < 2^shift and the multiplier fits 32 bits;
// otherwise plain division.
class CDivider
{
public:
    explicit CDivider(uint64_t divisor) : m_divisor(divisor)
    {
        const unsigned __int128 bound = static_cast<unsigned __int128>(divisor) * divisor * 255;
        while (m_shift < 64 && (static_cast<unsigned __int128>(1) << m_shift) <= bound)
            ++m_shift;
        if (m_shift < 64) {
            const unsigned __int128 m =
                ((static_cast<unsigned __int128>(1) << m_shift) + divisor - 1) / divisor;
            m_fast = m <= 0xffffffffu && divisor * 255 <= 0xffffffffu;
            m_multiplier = m_fast ? static_cast<uint32_t>(m) : 0;
        }
    }
    bool Fast() const { return m_fast; }
    uint32_t Multiplier() const { return m_multiplier; }
    int Shift() const { return m_shift; }
    uint64_t Divisor() const { return m_divisor; }

private:
    uint64_t m_divisor;
    uint32_t m_multiplier = 0;
    int m_shift = 0;
    bool m_fast = false;
};

#define LOQUENA_KERNEL __attribute__((target_clones("avx2", "default")))

// out[k] = (a[k] * w1 + b[k] * w2) / divisor, the sums within 32 bits.
LOQUENA_KERNEL void CombineFast(const uint32_t* a, const uint32_t* b, uint32_t w1, uint32_t w2,
                                int n, uint32_t m, int shift, uchar* out)
{
    for (int k = 0; k < n; ++k) {
        const uint32_t s = a[k] * w1 + b[k] * w2;
        out[k] = static_cast<uchar>((static_cast<uint64_t>(s) * m) >> shift);
    }
}

LOQUENA_KERNEL void DivideFast(const uint32_t* acc, size_t n, uint32_t m, int shift, uchar* out)
{
    for (size_t k = 0; k < n; ++k)
        out[k] = static_cast<uchar>((static_cast<uint64_t>(acc[k]) * m) >> shift);
}

LOQUENA_KERNEL void Accumulate(uint32_t* acc, const uint32_t* h, uint32_t w, size_t n)
{
    for (size_t k = 0; k < n; ++k)
        acc[k] += h[k] * w;
}

QImage As24(const QImage& source)
{
    return source.format() == QImage::Format_BGR888 ? source
                                                    : source.convertToFormat(QImage::Format_BGR888);
}

// One source pair per target position, both weights over the common total
// 2 * target (the edge entries with total 1 are scaled up: the quotient is
// unchanged).
struct SLinear
{
    int first;
    int second;
    uint32_t w1;
    uint32_t w2;
};

std::vector<SLinear> LinearTable(int src, int dst)
{
    std::vector<SLinear> table(static_cast<size_t>(dst));
    const int64_t total = 2 * static_cast<int64_t>(dst);
    for (int i = 0; i < dst; ++i) {
        const int64_t c = static_cast<int64_t>(src) * (2 * i + 1);
        const int64_t d = (c + dst) / total;
        const int64_t e = d - 1;
        SLinear& t = table[static_cast<size_t>(i)];
        if (e < 0) {
            t = {0, 0, static_cast<uint32_t>(total), 0};
        } else if (d == src) {
            t = {src - 2, src - 1, 0, static_cast<uint32_t>(total)};
        } else {
            const auto right = static_cast<uint32_t>(c - (2 * e + 1) * dst);
            t = {static_cast<int>(e), static_cast<int>(e + 1), static_cast<uint32_t>(total) - right,
                 right};
        }
    }
    return table;
}

// Horizontal pass of the bilinear filter for one source row.
void LinearRow(const uchar* src, const std::vector<SLinear>& cols, uint32_t* out)
{
    const size_t n = cols.size();
    for (size_t x = 0; x < n; ++x) {
        const SLinear& t = cols[x];
        const uchar* a = src + 3 * t.first;
        const uchar* b = src + 3 * t.second;
        out[3 * x] = a[0] * t.w1 + b[0] * t.w2;
        out[3 * x + 1] = a[1] * t.w1 + b[1] * t.w2;
        out[3 * x + 2] = a[2] * t.w1 + b[2] * t.w2;
    }
}

void LinearCombine(const uint32_t* top, const uint32_t* bottom, uint32_t w1, uint32_t w2, int n,
                   const CDivider& div, bool wide, uchar* out)
{
    if (!wide && div.Fast()) {
        CombineFast(top, bottom, w1, w2, n, div.Multiplier(), div.Shift(), out);
        return;
    }
    const uint64_t d = div.Divisor();
    for (int k = 0; k < n; ++k) {
        const uint64_t s =
            static_cast<uint64_t>(top[k]) * w1 + static_cast<uint64_t>(bottom[k]) * w2;
        out[k] = static_cast<uchar>(s / d);
    }
}

// A cache of horizontally filtered source rows, so that each is computed once.
class CRowCache
{
public:
    CRowCache(const QImage& src, size_t width)
        : m_src(src), m_rows{std::vector<uint32_t>(width), std::vector<uint32_t>(width)}
    {
    }
    template <typename Fill> const uint32_t* Get(int y, Fill fill)
    {
        for (int k = 0; k < 2; ++k)
            if (m_index[k] == y)
                return m_rows[k].data();
        const int slot = m_next;
        m_next ^= 1;
        m_index[slot] = y;
        fill(m_src.constScanLine(y), m_rows[slot].data());
        return m_rows[slot].data();
    }

private:
    const QImage& m_src;
    std::vector<uint32_t> m_rows[2];
    int m_index[2] = {-1, -1};
    int m_next = 0;
};

// A box filter table: for each target position the run of source positions
// with their weights (first and last partial, the rest the target size).
struct SBox
{
    std::vector<int> start; // index into pos/weight, size dst + 1
    std::vector<int> pos;
    std::vector<uint32_t> weight;
};

SBox BoxTable(int src, int dst)
{
    SBox t;
    t.start.reserve(static_cast<size_t>(dst) + 1);
    for (int i = 0; i < dst; ++i) {
        t.start.push_back(static_cast<int>(t.pos.size()));
        const int64_t f = static_cast<int64_t>(i) * src / dst;
        const int64_t l = (static_cast<int64_t>(i + 1) * src - 1) / dst;
        for (int64_t k = f; k <= l; ++k) {
            int64_t w = dst;
            if (k == f)
                w = (f + 1) * dst - static_cast<int64_t>(i) * src;
            else if (k == l)
                w = static_cast<int64_t>(i + 1) * src - l * dst;
            t.pos.push_back(static_cast<int>(k));
            t.weight.push_back(static_cast<uint32_t>(w));
        }
    }
    t.start.push_back(static_cast<int>(t.pos.size()));
    return t;
}

void BoxRow(const uchar* src, const SBox& cols, uint32_t* out)
{
    const size_t n = cols.start.size() - 1;
    for (size_t x = 0; x < n; ++x) {
        uint32_t s0 = 0, s1 = 0, s2 = 0;
        for (int k = cols.start[x]; k < cols.start[x + 1]; ++k) {
            const uchar* p = src + 3 * cols.pos[static_cast<size_t>(k)];
            const uint32_t w = cols.weight[static_cast<size_t>(k)];
            s0 += p[0] * w;
            s1 += p[1] * w;
            s2 += p[2] * w;
        }
        out[3 * x] = s0;
        out[3 * x + 1] = s1;
        out[3 * x + 2] = s2;
    }
}

} // namespace

void StretchBilinear(QImage& dest, const QImage& source)
{
    const QImage src = As24(source);
    const int W = src.width(), H = src.height();
    const int DW = dest.width(), DH = dest.height();
    Make24(dest);
    const std::vector<SLinear> cols = LinearTable(W, DW);
    // Rows are paired counting from the bottom row up.
    const std::vector<SLinear> rows = LinearTable(H, DH);
    const int n = DW * 3;
    const CDivider div(static_cast<uint64_t>(2 * DW) * static_cast<uint64_t>(2 * DH));
    const bool wide = static_cast<int64_t>(DW) * DH > 4210751;
    CRowCache cache(src, static_cast<size_t>(n));
    auto fill = [&cols](const uchar* s, uint32_t* o) { LinearRow(s, cols, o); };
    for (int r = 0; r < DH; ++r) {
        const SLinear& t = rows[static_cast<size_t>(DH - 1 - r)];
        const uint32_t* a = cache.Get(H - 1 - t.first, fill);
        const uint32_t* b = cache.Get(H - 1 - t.second, fill);
        LinearCombine(a, b, t.w1, t.w2, n, div, wide, dest.scanLine(r));
    }
}

void StretchBox(QImage& dest, const QImage& source)
{
    const QImage src = As24(source);
    const int SW = src.width(), SH = src.height();
    const int DW = dest.width(), DH = dest.height();
    Make24(dest);
    const SBox cols = BoxTable(SW, DW);
    const SBox rows = BoxTable(SH, DH);
    const size_t n = static_cast<size_t>(DW) * 3;
    const CDivider div(static_cast<uint64_t>(SW) * static_cast<uint64_t>(SH));
    CRowCache cache(src, n);
    auto fill = [&cols](const uchar* s, uint32_t* o) { BoxRow(s, cols, o); };
    // Sums stay within 32 bits whenever the divisor allows the fast path.
    if (div.Fast()) {
        std::vector<uint32_t> acc(n);
        for (int r = 0; r < DH; ++r) {
            std::fill(acc.begin(), acc.end(), 0u);
            for (int k = rows.start[static_cast<size_t>(r)];
                 k < rows.start[static_cast<size_t>(r) + 1]; ++k)
                Accumulate(acc.data(), cache.Get(rows.pos[static_cast<size_t>(k)], fill),
                           rows.weight[static_cast<size_t>(k)], n);
            DivideFast(acc.data(), n, div.Multiplier(), div.Shift(), dest.scanLine(r));
        }
        return;
    }
    std::vector<uint64_t> acc(n);
    for (int r = 0; r < DH; ++r) {
        std::fill(acc.begin(), acc.end(), 0u);
        for (int k = rows.start[static_cast<size_t>(r)]; k < rows.start[static_cast<size_t>(r) + 1];
             ++k) {
            const uint32_t* h = cache.Get(rows.pos[static_cast<size_t>(k)], fill);
            const uint64_t w = rows.weight[static_cast<size_t>(k)];
            for (size_t x = 0; x < n; ++x)
                acc[x] += h[x] * w;
        }
        uchar* out = dest.scanLine(r);
        for (size_t x = 0; x < n; ++x)
            out[x] = static_cast<uchar>(acc[x] / div.Divisor());
    }
}

void StretchNearest(QImage& dest, const QImage& source)
{
    const QImage src = As24(source);
    Make24(dest);
    const int SW = src.width(), SH = src.height();
    const int DW = dest.width(), DH = dest.height();
    std::vector<int> xs(static_cast<size_t>(DW));
    for (int x = 0; x < DW; ++x)
        xs[static_cast<size_t>(x)] = static_cast<int>(static_cast<int64_t>(x) * SW / DW);
    for (int y = 0; y < DH; ++y) {
        const uchar* s = src.constScanLine(static_cast<int>(static_cast<int64_t>(y) * SH / DH));
        uchar* d = dest.scanLine(y);
        for (int x = 0; x < DW; ++x) {
            const uchar* p = s + 3 * xs[static_cast<size_t>(x)];
            d[3 * x] = p[0];
            d[3 * x + 1] = p[1];
            d[3 * x + 2] = p[2];
        }
    }
}

void Shrink(QImage& dest, const QImage& source)
{
    const int SW = source.width(), SH = source.height();
    const int DW = dest.width(), DH = dest.height();
    if (SW == 1 || SH == 1)
        StretchNearest(dest, source);
    else if (DW < SW && DH < SH)
        StretchBox(dest, source);
    else // smaller in one direction only (nothing else reaches here)
        StretchNearest(dest, source);
}

void Stretch(QImage& dest, const QImage& source)
{
    if (dest.isNull() || source.isNull() || dest.width() <= 0 || dest.height() <= 0)
        return;
    const int SW = source.width(), SH = source.height();
    const int DW = dest.width(), DH = dest.height();
    if (SW == DW && SH == DH) {
        dest = As24(source);
        dest.detach();
        return;
    }
    if (DW >= (SW + 1) / 2 && DH >= (SH + 1) / 2) {
        if (SW > 1 && SH > 1 && DW > 1 && DH > 1)
            StretchBilinear(dest, source);
        else if (DW > SW || DH > SH)
            StretchNearest(dest, source);
        else
            Shrink(dest, source);
        return;
    }
    Shrink(dest, source);
}
