// Costs of the media work done on the GUI thread: preparing a content sound
// for playing (read, unscramble, parse, convert to the device format) and
// decoding one film frame.
#include "content/ContentScramble.h"
#include "platform/CFilmDecoder.h"
#include "platform/CSoundPlayer.h"
#include "platform/CWaveImage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

QByteArray Wave(int rate, int frames)
{
    QByteArray w(44, '\0');
    const uint32_t data = uint32_t(frames * 2);
    w.replace(0, 4, "RIFF");
    qToLittleEndian<uint32_t>(36 + data, w.data() + 4);
    w.replace(8, 8, "WAVEfmt ");
    qToLittleEndian<uint32_t>(16, w.data() + 16);
    qToLittleEndian<uint16_t>(1, w.data() + 20);
    qToLittleEndian<uint16_t>(1, w.data() + 22);
    qToLittleEndian<uint32_t>(uint32_t(rate), w.data() + 24);
    qToLittleEndian<uint32_t>(uint32_t(rate * 2), w.data() + 28);
    qToLittleEndian<uint16_t>(2, w.data() + 32);
    qToLittleEndian<uint16_t>(16, w.data() + 34);
    w.replace(36, 4, "data");
    qToLittleEndian<uint32_t>(data, w.data() + 40);
    QByteArray samples(qsizetype(data), '\0');
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = char(i * 31);
    return w + samples;
}

// A 1.5 s word sound as the data build makes them (22050 Hz, 16-bit, mono).
void BM_PrepareWordSound(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("KOT.wv");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(ScrambleWv(Wave(22050, 22050 * 3 / 2)));
    out.close();
    SDL_AudioSpec spec{};
    spec.freq = 44100;
    spec.channels = 2;
    std::vector<int16_t> samples;
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QByteArray buffer = file.readAll();
        XorWvHeader(buffer.data(), buffer.size());
        CWaveImage wave;
        wave.Parse(buffer.constData(), buffer.size());
        CSoundPlayer::ConvertSamples(wave, spec, samples);
        benchmark::DoNotOptimize(samples.data());
    }
}
BENCHMARK(BM_PrepareWordSound)->Unit(benchmark::kMillisecond);

// One frame of a film the size of the video panel at 1280x960.
void BM_DecodeFilmFrame(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString film = dir.filePath("1.mpg");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=576x480:rate=25",
                  "-t", "4", "-c:v", "mpeg1video", "-b:v", "1500k", film});
    if (!ffmpeg.waitForFinished(120000) || !QFile::exists(film)) {
        state.SkipWithError("ffmpeg could not make the film");
        return;
    }
    CFilmDecoder decoder;
    decoder.Open(film);
    for (auto _ : state) {
        QImage frame = decoder.NextFrame();
        if (frame.isNull()) {
            state.PauseTiming();
            decoder.Rewind();
            state.ResumeTiming();
            frame = decoder.NextFrame();
        }
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_DecodeFilmFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
