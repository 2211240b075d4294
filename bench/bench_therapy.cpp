// The therapy window at 1280x960 with the real material: Start of a therapy
// (prepare, activate, the modal window shown and closed again) with WY alone
// and with all eleven exercises, and one task switch in each exercise
// (SelectTask with the exercise drawn into the exercise bitmap; "OnScreen"
// also lets the window paint it). The task switch's argument is the
// exercise's index (0 WY ... 10 PNC).
//   LOQUENA_PROGRAM_DIR=<folder made by loquena-data> build-release/bench/bench_therapy
#include "TherapyBenchSetup.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

// The patient store's folder, made before the patient (a base comes first).
struct STemporaryStore
{
    QTemporaryDir store;
};

struct SSetup : STemporaryStore, STherapyBench
{
    SSetup() : STherapyBench(store.filePath("pacmem.qp"))
    {
        ExeSet& wy = patient->Settings().Get_ExeSet(CTherapySettings::WY);
        wy.LZ = 10;
        wy.Flags = 0x1FF;
        CTherapySettings::SetChoices(wy, 4);
    }
};

SSetup* g_setup = nullptr;

void BM_Start(benchmark::State& state)
{
    g_setup->Choose({CTherapySettings::WY});
    for (auto _ : state)
        g_setup->Run(nullptr);
}
BENCHMARK(BM_Start)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_StartAll(benchmark::State& state)
{
    g_setup->Choose({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (auto _ : state)
        g_setup->Run(nullptr);
}
BENCHMARK(BM_StartAll)->Unit(benchmark::kMillisecond)->Iterations(20);

void TaskSwitch(benchmark::State& state, bool onScreen)
{
    g_setup->Choose({static_cast<int>(state.range(0))});
    g_setup->Run([&state, onScreen] {
        CExercise* exercise = g_setup->therapy->CurrentExercise();
        int next = 1 % exercise->TaskCount;
        for (auto _ : state) {
            exercise->SelectTask(next);
            if (onScreen)
                QCoreApplication::processEvents();
            next = (next + 1) % exercise->TaskCount;
        }
    });
}
void BM_TaskSwitch(benchmark::State& state)
{
    TaskSwitch(state, false);
}
void BM_TaskSwitchOnScreen(benchmark::State& state)
{
    TaskSwitch(state, true);
}
BENCHMARK(BM_TaskSwitch)
    ->ArgName("exercise")
    ->DenseRange(0, CTherapySettings::ExerciseCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(BM_TaskSwitchOnScreen)
    ->ArgName("exercise")
    ->DenseRange(0, CTherapySettings::ExerciseCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    BenchEnvironment();
    QApplication app(argc, argv);
    const QString folder = qEnvironmentVariable("LOQUENA_PROGRAM_DIR");
    if (folder.isEmpty() || !QDir::setCurrent(folder)) {
        fprintf(stderr, "Set LOQUENA_PROGRAM_DIR to a program folder made by loquena-data.\n");
        return 2;
    }
    BenchDisplay();
    SSetup setup;
    g_setup = &setup;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_setup = nullptr;
    return 0;
}
