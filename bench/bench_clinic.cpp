// The clinic store over a local socket: saving a patient, filling the list of
// 2,000 patients, and the statistics list of a patient with 1,000 therapies.
// Run by bench/clinic.sh, which starts a throw-away server and names its
// empty database in LOQUENA_CLINIC; with a file path there it measures the
// file store the same way.
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "statistics/CStatistics.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString Target()
{
    return qEnvironmentVariable("LOQUENA_CLINIC");
}

// 2,000 patients, the first of them with 1,000 therapies of 11 exercises.
void Fill()
{
    CDbConnection db;
    db.Connect(Target());
    db.BeginTransaction();
    for (int i = 0; i < 2000; ++i)
        db.Execute("INSERT INTO Pacjenci (NazwiskoImie, Poczatek, Ostatnia, Opis) VALUES (?, "
                   "'2024-01-01 00:00:00.000', '2024-02-01 00:00:00.000', ?)",
                   {QString("Pacjent %1 Żółć").arg(i), QString("opis %1").arg(i)});
    for (int t = 0; t < 1000; ++t) {
        db.Execute("INSERT INTO Statystyki (idPac, Data, CwWybrane) VALUES (1, ?, 2047)",
                   {QString("2024-%1-%2 10:00:00.000")
                        .arg(1 + t % 12, 2, 10, QChar('0'))
                        .arg(1 + t % 28, 2, 10, QChar('0'))});
        for (int e = 0; e < 11; ++e)
            db.Execute("INSERT INTO Cwiczenia (idStat, Cw, LZ, Rozw, Blad, Pomoc, Czas) VALUES "
                       "(?, ?, 10, 8, 2, 1, 600)",
                       {t + 1, e});
    }
    db.Commit();
}

void BM_PatientSave(benchmark::State& state)
{
    CPatient patient;
    if (!patient.Open(Target())) {
        state.SkipWithError(patient.LastError().toUtf8().constData());
        return;
    }
    patient.Select(2);
    int i = 0;
    for (auto _ : state) {
        patient.SetDescription(QString("opis po wizycie %1").arg(++i));
        patient.Save();
    }
}
BENCHMARK(BM_PatientSave)->Unit(benchmark::kMillisecond);

void BM_PatientList2000(benchmark::State& state)
{
    CPatient patient;
    if (!patient.Open(Target())) {
        state.SkipWithError(patient.LastError().toUtf8().constData());
        return;
    }
    QTreeWidget list;
    list.setColumnCount(3);
    for (auto _ : state) {
        // As after another workstation's change: read again, then fill.
        patient.FillList(&list);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
    state.counters["patients"] = list.topLevelItemCount();
}
BENCHMARK(BM_PatientList2000)->Unit(benchmark::kMillisecond);

// The list after another workstation's change on a clinic: its notice, the
// patients read again from the server, the list filled.
void BM_PatientListAfterChange2000(benchmark::State& state)
{
    CPatient patient;
    CDbConnection other;
    if (!CDbConnection::IsClinicAddress(Target()) || !patient.Open(Target())) {
        state.SkipWithError("a clinic database is needed");
        return;
    }
    other.Connect(Target());
    QTreeWidget list;
    list.setColumnCount(3);
    for (auto _ : state) {
        other.Notify("loquena_pacjenci", "zmieniony 1");
        while (!patient.TakeListChanges()) {
        }
        patient.FillList(&list);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
    state.counters["patients"] = list.topLevelItemCount();
}
BENCHMARK(BM_PatientListAfterChange2000)->Unit(benchmark::kMillisecond);

void BM_Statistics1000(benchmark::State& state)
{
    CPatient patient;
    if (!patient.Open(Target())) {
        state.SkipWithError(patient.LastError().toUtf8().constData());
        return;
    }
    CStatistics statistics(&patient);
    statistics.Bind(patient.Connection());
    QTreeWidget list;
    list.setColumnCount(14);
    for (auto _ : state) {
        statistics.ListTherapies(1, &list);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
    state.counters["therapies"] = list.topLevelItemCount();
}
BENCHMARK(BM_Statistics1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (Target().isEmpty()) {
        std::fprintf(stderr, "LOQUENA_CLINIC: no store named (run bench/clinic.sh)\n");
        return 1;
    }
    Fill();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
