#pragma once
#include <QByteArray>
#include <QtEndian>
#include <cstdint>

// A canonical 44-byte-header PCM WAVE image with a simple sample pattern.
inline QByteArray MakeWave(int rate, int channels, int bits, int frames, int seed = 0)
{
    const int frameBytes = channels * bits / 8;
    const uint32_t dataBytes = uint32_t(frames * frameBytes);
    QByteArray w(44, '\0');
    auto u32 = [&](int at, uint32_t v) { qToLittleEndian<uint32_t>(v, w.data() + at); };
    auto u16 = [&](int at, uint16_t v) { qToLittleEndian<uint16_t>(v, w.data() + at); };
    w.replace(0, 4, "RIFF");
    u32(4, 36 + dataBytes);
    w.replace(8, 8, "WAVEfmt ");
    u32(16, 16);
    u16(20, 1);
    u16(22, uint16_t(channels));
    u32(24, uint32_t(rate));
    u32(28, uint32_t(rate * frameBytes));
    u16(32, uint16_t(frameBytes));
    u16(34, uint16_t(bits));
    w.replace(36, 4, "data");
    u32(40, dataBytes);
    QByteArray samples(qsizetype(dataBytes), '\0');
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = char((i * 37 + seed) & 0xFF);
    return w + samples;
}
