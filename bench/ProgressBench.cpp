// The progress view, the PDF report and the CSV export of large histories:
// a patient with 1,000 therapies of all eleven exercises, and 100 such
// patients for the CSV of all patients.
#include "app/DisplayMode.h"
#include "mainwindow/TFormProgress.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"
#include "reports/CProgressCsv.h"
#include "reports/CProgressReport.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kTherapies = 1000;

// A patient database with `patients` patients of 1,000 therapies each.
QString MakeHistory(const QTemporaryDir& dir, int patients)
{
    const QString path = dir.filePath(QString("pacmem-%1.qp").arg(patients));
    if (!CreatePatientDatabase(path))
        return path;
    CDbConnection db;
    db.Connect(path);
    db.BeginTransaction();
    int idStat = 0;
    for (int p = 1; p <= patients; ++p) {
        db.Execute("INSERT INTO Pacjenci (idPac, NazwiskoImie, Opis) VALUES (?, ?, ?)",
                   {p, QString("Pacjent %1 Zażółć").arg(p), QString("Opis pacjenta %1").arg(p)});
        QDateTime date(QDate(2020, 1, 1), QTime(9, 0));
        for (int t = 0; t < kTherapies; ++t) {
            ++idStat;
            db.Execute("INSERT INTO Statystyki (idStat, idPac, Data, CwWybrane, Wypowiedz, "
                       "Komentarz) VALUES (?, ?, ?, 2047, ?, 0)",
                       {idStat, p, date.toString("yyyy-MM-dd HH:mm:ss.zzz"), t % 7 == 0});
            for (int e = 0; e < 11; ++e)
                db.Execute("INSERT INTO Cwiczenia (idStat, Cw, LZ, Rozw, Blad, Pomoc, Czas) "
                           "VALUES (?, ?, 10, ?, ?, ?, ?)",
                           {idStat, e, e < 7 ? 5 + (t + e) % 6 : 0, e < 7 ? (t * e) % 4 : 0,
                            (t + e) % 40, 600 + (t * 7 + e) % 900});
            date = date.addSecs(86400 + 60 * (t % 5));
        }
    }
    db.Commit();
    return path;
}

const QString& History(int patients)
{
    static QTemporaryDir dir;
    static std::map<int, QString> paths;
    if (!paths.count(patients))
        paths[patients] = MakeHistory(dir, patients);
    return paths[patients];
}

// Reading the history and showing the window with its charts.
void BM_ProgressView(benchmark::State& state)
{
    CDbConnection db;
    db.Connect(History(1));
    for (auto _ : state) {
        CTherapyHistory history;
        history.Load(&db, 1);
        TFormProgress form({1, "Pacjent 1", ""}, std::move(history), &db, nullptr);
        form.show();
        form.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ProgressView)->Unit(benchmark::kMillisecond);

void BM_ReportPdf(benchmark::State& state)
{
    CDbConnection db;
    db.Connect(History(1));
    QTemporaryDir out;
    for (auto _ : state) {
        CTherapyHistory history;
        history.Load(&db, 1);
        const CProgressReport report({1, "Pacjent 1", "Opis"}, history);
        if (!report.SavePdf(out.filePath("raport.pdf"), nullptr))
            state.SkipWithError("PDF not written");
    }
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

// The reading alone of the CSV of all patients.
void BM_ReadAllHistories(benchmark::State& state)
{
    CDbConnection db;
    db.Connect(History(100));
    for (auto _ : state)
        benchmark::DoNotOptimize(CTherapyHistory::LoadAll(&db));
}
BENCHMARK(BM_ReadAllHistories)->Unit(benchmark::kMillisecond);

void BM_CsvAllPatients(benchmark::State& state)
{
    CDbConnection db;
    db.Connect(History(100));
    QTemporaryDir out;
    for (auto _ : state) {
        CProgressCsv csv;
        csv.AddAllPatients(&db);
        if (!csv.Save(out.filePath("wszyscy.csv"), nullptr))
            state.SkipWithError("CSV not written");
    }
    state.counters["MB"] = QFileInfo(out.filePath("wszyscy.csv")).size() / 1e6;
}
BENCHMARK(BM_CsvAllPatients)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetDisplayModeFor(1024, 768);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
