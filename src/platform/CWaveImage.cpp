#include "platform/CWaveImage.h"

#include <QtEndian>
#include <cstring>

namespace {

uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t U16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

bool Is(const uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

constexpr int MaxRate = 384000;

} // namespace

void CWaveImage::Clear()
{
    *this = CWaveImage();
}

bool CWaveImage::Parse(const void* data, qsizetype size)
{
    Clear();
    const auto* image = static_cast<const uint8_t*>(data);
    if (!image || size < 12 || !Is(image, "RIFF") || !Is(image + 8, "WAVE"))
        return false;

    // Every offset is 64-bit, so that a chunk size near 4 GiB cannot wrap.
    const uint64_t end = uint64_t(size);
    uint64_t pos = 12;
    bool haveFormat = false;
    int channels = 0, rate = 0, bits = 0;
    while (pos + 8 <= end) {
        const uint8_t* chunk = image + pos;
        const uint64_t length = U32(chunk + 4);
        const uint64_t body = pos + 8;
        if (body + length > end)
            return false; // a size that points past the end: damaged
        if (Is(chunk, "fmt ")) {
            if (length < 16)
                return false;
            const uint8_t* f = image + body;
            if (U16(f) != 1) // PCM only
                return false;
            channels = U16(f + 2);
            rate = int(U32(f + 4) > uint32_t(MaxRate) ? 0 : U32(f + 4));
            bits = U16(f + 14);
            if (channels < 1 || channels > 2 || rate < 1 || (bits != 8 && bits != 16))
                return false;
            haveFormat = true;
        } else if (Is(chunk, "data")) {
            if (!haveFormat)
                return false;
            m_channels = channels;
            m_rate = rate;
            m_bits = bits;
            const qsizetype frameBytes = FrameBytes();
            m_sampleBytes = qsizetype(length) / frameBytes * frameBytes;
            m_dataOffset = qsizetype(body);
            m_samples = image + body;
            return true;
        }
        pos = body + length + (length & 1); // chunks are padded to even sizes
    }
    return false;
}

QByteArray CWaveImage::Header(int channels, int rate, int bits, qsizetype dataBytes)
{
    const int frameBytes = channels * bits / 8;
    const qsizetype pad = dataBytes & 1;
    QByteArray h(44, '\0');
    auto u32 = [&](int at, uint32_t v) { qToLittleEndian<uint32_t>(v, h.data() + at); };
    auto u16 = [&](int at, uint16_t v) { qToLittleEndian<uint16_t>(v, h.data() + at); };
    h.replace(0, 4, "RIFF");
    u32(4, uint32_t(36 + dataBytes + pad));
    h.replace(8, 8, "WAVEfmt ");
    u32(16, 16);
    u16(20, 1);
    u16(22, uint16_t(channels));
    u32(24, uint32_t(rate));
    u32(28, uint32_t(rate * frameBytes));
    u16(32, uint16_t(frameBytes));
    u16(34, uint16_t(bits));
    h.replace(36, 4, "data");
    u32(40, uint32_t(dataBytes));
    return h;
}
