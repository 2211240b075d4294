#pragma once
#include "platform/CWaveImage.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdint>

// A canonical 44-byte-header PCM WAVE image with a simple sample pattern.
inline QByteArray MakeWave(int rate, int channels, int bits, int frames, int seed = 0)
{
    const uint32_t dataBytes = uint32_t(frames * channels * bits / 8);
    const QByteArray w = CWaveImage::Header(channels, rate, bits, qsizetype(dataBytes));
    QByteArray samples(qsizetype(dataBytes), '\0');
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = char((i * 37 + seed) & 0xFF);
    return w + samples;
}
