// What showing the design larger adds to a paint: the exercise area (1280x871
// design pixels, the whole of it, as after a task switch) and the strip of a
// tile drag step (a tile of 62x74 moved by a few pixels: the uncovered strip
// and the tile, 80x90) painted onto a screen of 2880x2160 (factor 2.25) and
// of 1920x1080 (1.125), against the same at the design size (factor 1).
//   build/bench/bench_scaling
#include "app/ScreenPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

QImage ExerciseBitmap()
{
    QImage image(1280, 871, QImage::Format_BGR888); // as the exercise bitmap
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    return image;
}

// The window's backing store at the screen's resolution.
QImage Screen(double factor)
{
    QImage screen(qRound(1280 * factor), qRound(871 * factor), QImage::Format_RGB32);
    screen.setDevicePixelRatio(factor);
    return screen;
}

void PaintArea(benchmark::State& state, const QRect& area)
{
    const double factor = static_cast<double>(state.range(0)) / 1000;
    const QImage bitmap = ExerciseBitmap();
    QImage screen = Screen(factor);
    for (auto _ : state) {
        ScreenPainter p(&screen);
        p.DrawImagePart(area, bitmap, area);
    }
}

void BM_ExerciseAreaRepaint(benchmark::State& state)
{
    PaintArea(state, QRect(0, 0, 1280, 871));
}
void BM_TileDragStrip(benchmark::State& state)
{
    PaintArea(state, QRect(600, 400, 80, 90));
}
BENCHMARK(BM_ExerciseAreaRepaint)
    ->ArgName("factor_x1000")
    ->Arg(1000)
    ->Arg(1125)
    ->Arg(2250)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileDragStrip)
    ->ArgName("factor_x1000")
    ->Arg(1000)
    ->Arg(1125)
    ->Arg(2250)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
