// Resampling and composition of skins against Qt's own smooth scaling and
// alpha drawing, side by side on the same images.
#include "graphics/CTransBitmap.h"
#include "graphics/StretchBitmap.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

QImage Noise(int w, int h, QImage::Format format)
{
    QImage img(w, h, format);
    QRandomGenerator rng(42);
    for (int y = 0; y < h; ++y) {
        uchar* row = img.scanLine(y);
        for (qsizetype i = 0; i < img.bytesPerLine(); ++i)
            row[i] = static_cast<uchar>(rng.bounded(256));
    }
    return img;
}

const QImage& Source()
{
    static const QImage img = Noise(1280, 960, QImage::Format_BGR888);
    return img;
}

void BM_Stretch(benchmark::State& state)
{
    QImage dest(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                QImage::Format_BGR888);
    for (auto _ : state) {
        Stretch(dest, Source());
        benchmark::DoNotOptimize(dest.constBits());
    }
}
BENCHMARK(BM_Stretch)
    ->Args({1024, 768})
    ->Args({400, 300})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_QtScaledSmooth(benchmark::State& state)
{
    for (auto _ : state) {
        QImage out =
            Source().scaled(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK(BM_QtScaledSmooth)
    ->Args({1024, 768})
    ->Args({400, 300})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

struct SComposeData
{
    QImage image = Noise(600, 400, QImage::Format_BGR888);
    QImage mask = Noise(600, 400, QImage::Format_Grayscale8);
    QImage background = Noise(1280, 960, QImage::Format_BGR888);
    QImage argb; // the same image with the mask as alpha channel
    SComposeData()
    {
        argb = image.convertToFormat(QImage::Format_ARGB32);
        argb.setAlphaChannel(mask);
    }
};

const SComposeData& ComposeData()
{
    static const SComposeData d;
    return d;
}

void BM_Compose(benchmark::State& state)
{
    const SComposeData& d = ComposeData();
    CTransBitmap tb;
    for (auto _ : state) {
        tb.Compose(&d.image, &d.mask, 255, &d.background, 300, 200);
        benchmark::DoNotOptimize(tb.Composite()->constBits());
    }
}
BENCHMARK(BM_Compose)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_QtDrawImageAlpha(benchmark::State& state)
{
    const SComposeData& d = ComposeData();
    QImage target(600, 400, QImage::Format_BGR888);
    for (auto _ : state) {
        // Same work: the background area under the image, then the image over it.
        QPainter p(&target);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), d.background, QRect(300, 200, 600, 400));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(0, 0, d.argb);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_QtDrawImageAlpha)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
