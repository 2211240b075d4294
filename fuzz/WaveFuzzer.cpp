// libFuzzer target: the path of a ".wv" file's bytes through the sound player,
// up to the samples that would go to the device. Built and run by
// fuzz/run-wave-fuzzer.sh, never by the normal build.
#include "content/ContentScramble.h"
#include "platform/CSoundPlayer.h"
#include "platform/CWaveImage.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // As PlayWv: the file is read whole, its header unscrambled in place.
    QByteArray buffer(reinterpret_cast<const char*>(data), qsizetype(size));
    if (buffer.size() < WvScrambledBytes)
        return 0;
    XorWvHeader(buffer.data(), buffer.size());

    CWaveImage wave;
    if (!wave.Parse(buffer.constData(), buffer.size()))
        return 0;
    // Touch every sample byte the parser vouched for.
    unsigned sum = 0;
    for (qsizetype i = 0; i < wave.SampleBytes(); ++i)
        sum += wave.Samples()[i];
    if (wave.Samples() + wave.SampleBytes() >
        reinterpret_cast<const uint8_t*>(buffer.constData()) + buffer.size())
        __builtin_trap();

    // The conversion for a typical device, on short sounds (long ones only
    // cost time here).
    if (wave.DurationMs() <= 2000) {
        SDL_AudioSpec spec{};
        spec.freq = 44100;
        spec.channels = 2;
        std::vector<int16_t> out;
        CSoundPlayer::ConvertSamples(wave, spec, out);
        if (out.size() % 2 != 0)
            __builtin_trap();
    }
    return int(sum & 0);
}
