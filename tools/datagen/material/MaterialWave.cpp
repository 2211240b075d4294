#include "MaterialWave.h"

#include <QtEndian>
#include <cmath>

namespace {

uint32_t U32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<uint32_t>(b.constData() + at);
}

uint16_t U16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<uint16_t>(b.constData() + at);
}

void Put32(QByteArray& b, uint32_t v)
{
    char x[4];
    qToLittleEndian(v, x);
    b.append(x, 4);
}

void Put16(QByteArray& b, uint16_t v)
{
    char x[2];
    qToLittleEndian(v, x);
    b.append(x, 2);
}

} // namespace

double WaveDuration(const QByteArray& wave)
{
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return -1;
    uint32_t byteRate = 0;
    qsizetype at = 12;
    while (at + 8 <= wave.size()) {
        const QByteArray id = wave.mid(at, 4);
        const qsizetype size = U32(wave, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && body + 16 <= wave.size()) {
            if (U16(wave, body) != 1) // PCM only
                return -1;
            byteRate = U32(wave, body + 8);
        } else if (id == "data") {
            if (byteRate == 0)
                return -1;
            const qsizetype available = qMin<qsizetype>(size, wave.size() - body);
            return double(available) / byteRate;
        }
        at = body + size + (size & 1);
    }
    return -1;
}

QByteArray MakeToneWave(const QList<int>& frequencies)
{
    const int rate = 22050;
    const int toneSamples = rate * 22 / 100; // 0.22 s each
    QByteArray samples;
    for (int f : frequencies) {
        for (int i = 0; i < toneSamples; ++i) {
            const double t = double(i) / rate;
            const double edge = double(rate) * 0.03;
            const double envelope =
                std::min({1.0, i / edge, (toneSamples - i) / edge}) * std::exp(-2.5 * t);
            // A little of the octave makes it a soft bell rather than a beep.
            const double v = std::sin(2 * M_PI * f * t) + 0.25 * std::sin(4 * M_PI * f * t);
            Put16(samples, uint16_t(int16_t(std::lround(v * envelope * 0.25 * 32767 / 1.25))));
        }
    }
    QByteArray wave("RIFF");
    Put32(wave, uint32_t(36 + samples.size()));
    wave.append("WAVEfmt ");
    Put32(wave, 16);
    Put16(wave, 1);
    Put16(wave, 1);
    Put32(wave, rate);
    Put32(wave, rate * 2);
    Put16(wave, 2);
    Put16(wave, 16);
    wave.append("data");
    Put32(wave, uint32_t(samples.size()));
    return wave + samples;
}
