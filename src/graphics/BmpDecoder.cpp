#include "graphics/BmpDecoder.h"

#include <cstring>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;

uint32_t U32(const uchar* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t I32(const uchar* p)
{
    return static_cast<int32_t>(U32(p));
}

uint16_t U16(const uchar* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

int BmpDecoder::BitCount(const QByteArray& data)
{
    constexpr int CoreHeaderSize = 12; // OS/2: 16-bit width and height
    if (data.size() < FileHeaderSize + CoreHeaderSize)
        return 0;
    const auto* info = reinterpret_cast<const uchar*>(data.constData()) + FileHeaderSize;
    const int offset = U32(info) == CoreHeaderSize ? 10 : 14;
    if (data.size() < FileHeaderSize + offset + 2)
        return 0;
    return U16(info + offset);
}

bool BmpDecoder::DecodeSimple(const QByteArray& data, QImage* out)
{
    if (!out || data.size() < FileHeaderSize + InfoHeaderSize)
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qint64 size = data.size();
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const uchar* info = bytes + FileHeaderSize;
    const uint32_t dataOffset = U32(bytes + 10);
    const int32_t width = I32(info + 4);
    const int32_t rawHeight = I32(info + 8);
    const int bits = U16(info + 14);
    if (U32(info) != InfoHeaderSize || U16(info + 12) != 1 || U32(info + 16) != 0)
        return false;
    if (bits != 24 && bits != 8)
        return false;
    if (width <= 0 || width > MaxSide || rawHeight == 0 || rawHeight < -MaxSide ||
        rawHeight > MaxSide)
        return false;
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const uint32_t colours = U32(info + 32);

    // 8-bit: only the grey ramp (entry i is grey i), so that an index is its
    // grey value; Qt keeps any other palette, and so does the program.
    if (bits == 8) {
        if (colours != 0 && colours != 256)
            return false;
        const qint64 paletteEnd = FileHeaderSize + InfoHeaderSize + 256 * 4;
        if (paletteEnd > size || dataOffset < paletteEnd)
            return false;
        const uchar* palette = info + InfoHeaderSize;
        for (int i = 0; i < 256; ++i) {
            const uchar* entry = palette + i * 4;
            if (entry[0] != i || entry[1] != i || entry[2] != i)
                return false;
        }
    } else if (dataOffset < FileHeaderSize + InfoHeaderSize) {
        return false;
    }

    const qint64 rowBytes = qint64(width) * (bits / 8);
    const qint64 stride = (rowBytes + 3) & ~qint64(3);
    if (qint64(dataOffset) + stride * height > size)
        return false;

    QImage image(width, height, bits == 8 ? QImage::Format_Grayscale8 : QImage::Format_BGR888);
    if (image.isNull())
        return false;
    for (int y = 0; y < height; ++y) {
        const uchar* src = bytes + dataOffset + stride * (bottomUp ? height - 1 - y : y);
        std::memcpy(image.scanLine(y), src, static_cast<size_t>(rowBytes));
    }
    *out = std::move(image);
    return true;
}
