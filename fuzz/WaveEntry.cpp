#include "FuzzEntries.h"

#include "content/ContentScramble.h"
#include "platform/CSoundPlayer.h"
#include "platform/CWaveImage.h"

#include <QByteArray>
#include <cstdlib>
#include <vector>

QString FuzzWave(QByteArrayView input)
{
    // As the sound player reads a ".wv" file: whole, its head unscrambled in
    // place.
    QByteArray buffer(input.data(), input.size());
    if (buffer.size() < WvScrambledBytes)
        return QStringLiteral("shorter than the scrambled head");
    XorWvHeader(buffer.data(), buffer.size());

    CWaveImage wave;
    if (!wave.Parse(buffer.constData(), buffer.size()))
        return QStringLiteral("not a playable WAVE");
    // Every sample byte the parser vouched for lies in the buffer.
    const auto* begin = reinterpret_cast<const uint8_t*>(buffer.constData());
    if (wave.Samples() < begin || wave.SampleBytes() < 0 ||
        wave.Samples() + wave.SampleBytes() > begin + buffer.size())
        std::abort();
    // Reading them all lets the address sanitizer check that, too.
    unsigned sum = 0;
    for (qsizetype i = 0; i < wave.SampleBytes(); ++i)
        sum += wave.Samples()[i];
    (void)sum;

    // The conversion for a typical device, on short sounds (long ones only
    // cost time here).
    if (wave.DurationMs() > 2000)
        return {};
    SDL_AudioSpec spec{};
    spec.freq = 44100;
    spec.channels = 2;
    std::vector<int16_t> out;
    if (!CSoundPlayer::ConvertSamples(wave, spec, out))
        return QStringLiteral("not converted");
    if (out.size() % 2 != 0)
        std::abort(); // whole frames only
    return {};
}
