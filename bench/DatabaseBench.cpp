// Loading the content database, drawing from it, and posting one row of the
// patient database (one committed transaction each).
#include "content/CWords.h"
#include "platform/CDbConnection.h"
#include "platform/CDbTable.h"
#include "platform/DatabaseSchema.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A content database with `words` words and 300 proverbs and activities.
QString MakeContent(const QTemporaryDir& dir, int words)
{
    const QString path = dir.filePath(QString("sdrow-%1.qp").arg(words));
    if (!CreateContentDatabase(path))
        return path;
    CDbConnection db;
    db.Connect(path);
    db.BeginTransaction();
    for (int i = 0; i < words; ++i)
        db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                   "VALUES (?, ?, ?, ?, ?, 1)",
                   {QString("SLOWO%1").arg(i), QString("słowo %1").arg(i), i,
                    QString("DZWTOJGBI").mid(i % 9, 2), i % 3 ? QString("opis") : QString()});
    for (int i = 0; i < 300; ++i) {
        db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?, ?, ?, ?, 1)",
                   {i + 1, QString(" początek %1 ").arg(i), QString(" koniec %1").arg(i),
                    QString("ZLBT").mid(i % 4, 1)});
        db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) "
                   "VALUES (?, ?, ?, ?, ?, 1)",
                   {i + 1, QString("czynność %1").arg(i), QString("mężczyzna %1").arg(i),
                    QString("myje zęby %1").arg(i), QString("HOGSPRBUI").mid(i % 9, 1)});
    }
    db.Commit();
    return path;
}

void BM_ContentOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = MakeContent(dir, int(state.range(0)));
    for (auto _ : state) {
        CWords words;
        if (!words.Open(path))
            state.SkipWithError("Open failed");
        benchmark::DoNotOptimize(words.Words().Count());
    }
}
BENCHMARK(BM_ContentOpen)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_DrawTenWords(benchmark::State& state)
{
    QTemporaryDir dir;
    CWords words;
    if (!words.Open(MakeContent(dir, 3000))) {
        state.SkipWithError("Open failed");
        return;
    }
    WordPool pool;
    words.SelectWords(0x1FF, pool);
    WordPool out;
    for (auto _ : state)
        benchmark::DoNotOptimize(words.DrawWords(out, 10, 1, 1, pool));
}
BENCHMARK(BM_DrawTenWords);

void BM_PatientEditPost(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pacmem.qp");
    CreatePatientDatabase(path);
    CDbConnection db;
    db.Connect(path);
    CDbTable table(&db);
    table.SetTableName("Pacjenci");
    table.Open();
    table.Append();
    table.Post();
    int n = 0;
    for (auto _ : state) {
        table.Edit();
        table.FieldByName("Opis").SetString(QString::number(++n));
        table.Post();
    }
}
BENCHMARK(BM_PatientEditPost)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
