// Therapies finished while the clinic's server is away: kept in a file on the
// workstation and stored, each exactly once, when the server is back. On a
// server of the test's own, stopped at once as in a crash and started again.
#include "common/PgOwnServerFixture.h"
#include "common/TempDir.h"
#include "patients/CPatient.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "statistics/CKeptTherapies.h"
#include "statistics/CStatistics.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTreeWidget>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

SKeptTherapy Sample(int patientId, const QString& name)
{
    SKeptTherapy therapy;
    therapy.database = "host=/tmp/x port=5 dbname=klinika";
    therapy.patientId = patientId;
    therapy.patientName = name;
    therapy.date = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53, 589));
    therapy.chosenMask = 0b100000001;
    therapy.exercises = {{0, 10, 8, 3, 50, 6595}, {8, 1, 0, 0, 0, 40}};
    return therapy;
}

} // namespace

TEST(KeptTherapies, KeptWholeForTheUserOnlyAndADamagedFileIsNeverWrittenOver)
{
    TempDir dir;
    CKeptTherapies kept(dir.file("dane/terapie.json"));
    EXPECT_TRUE(kept.Read().empty());
    ASSERT_TRUE(kept.Add(Sample(3, "Żółć Łucja")));
    ASSERT_TRUE(kept.Add(Sample(4, "Nowak Jan")));
    const std::vector<SKeptTherapy> back = kept.Read();
    ASSERT_EQ(back.size(), 2u);
    const SKeptTherapy& first = back.front();
    EXPECT_EQ(first.database, Sample(3, "").database);
    EXPECT_EQ(first.patientId, 3);
    EXPECT_EQ(first.patientName, "Żółć Łucja");
    EXPECT_EQ(first.date, Sample(3, "").date); // to the millisecond: it tells the therapy apart
    EXPECT_EQ(first.chosenMask, 0b100000001);
    ASSERT_EQ(first.exercises.size(), 2u);
    EXPECT_EQ(first.exercises[0].rozw, 8);
    EXPECT_EQ(first.exercises[0].pomoc, 50);
    EXPECT_EQ(first.exercises[1].czas, 40);
    struct stat status
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(kept.Path()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(dir.file("dane")).entryList(QDir::Files), QStringList{"terapie.json"});

    QFile file(kept.Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[{\"idPac\": 3, \"da");
    file.close();
    bool readable = true;
    EXPECT_TRUE(kept.Read(&readable).empty());
    EXPECT_FALSE(readable);
    EXPECT_FALSE(kept.Add(Sample(5, "")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[{\"idPac\": 3, \"da");

    EXPECT_TRUE(kept.Write({}));
    EXPECT_FALSE(QFile::exists(kept.Path()));
}

namespace {

class KeptOnClinic : public PgOwnServerFixture
{
protected:
    void SetUp() override
    {
        PgOwnServerFixture::SetUp();
        if (HasFatalFailure())
            return;
        patient.SetWorkstation("Sala 2");
        ASSERT_TRUE(patient.Open(conninfo)) << patient.LastError().toStdString();
        patient.Add();
        patient.SetName("Źdźbło Ścibor");
        patient.Save();
        statistics.SetKeptFile(dir.file("terapie.json"));
        list.setColumnCount(14);
    }

    // Finishes a therapy of WY and PP for the active patient.
    CStatistics::ESaved Finish(int solved = 8)
    {
        CTherapySettings settings;
        settings.SetSelected(0, true);
        settings.SetSelected(8, true);
        statistics.Reset(&settings);
        statistics.Get_P_StatEx(0)->Rozw = solved;
        statistics.Get_P_StatEx(8)->Czas = 40;
        return statistics.SaveTherapy(patient.ActiveId(), &list);
    }

    void Reconnect()
    {
        for (int i = 0; i < 500 && !patient.Reconnect(); ++i)
            QThread::msleep(20);
        ASSERT_TRUE(patient.StoreReachable());
    }

    qint64 Count(const QString& sql)
    {
        CDbQuery query(patient.Connection());
        query.SetSQL(sql);
        query.Open();
        return query.Fields(0).AsInteger();
    }

    // Every stored therapy has both its exercise rows, none is half there.
    void ExpectWhole(qint64 therapies)
    {
        EXPECT_EQ(Count("SELECT count(*) FROM Statystyki"), therapies);
        EXPECT_EQ(Count("SELECT count(*) FROM Cwiczenia"), 2 * therapies);
        EXPECT_EQ(Count("SELECT count(*) FROM Statystyki s WHERE (SELECT count(*) FROM "
                        "Cwiczenia c WHERE c.idStat = s.idStat) <> 2"),
                  0);
    }

    TempDir dir;
    CPatient patient;
    CStatistics statistics{&patient};
    QTreeWidget list;
};

} // namespace

TEST_F(KeptOnClinic, ATherapyFinishedWhileTheServerIsAwayIsStoredOnceWhenItComesBack)
{
    ASSERT_EQ(Finish(), CStatistics::ESaved::Stored);
    ASSERT_TRUE(server->Halt());
    EXPECT_EQ(Finish(7), CStatistics::ESaved::Kept);
    EXPECT_EQ(list.topLevelItemCount(), 1) << "a therapy not stored is listed";
    EXPECT_EQ(CKeptTherapies(dir.file("terapie.json")).Read().size(), 1u);
    // Nothing can be stored while the server is away; the therapy waits.
    EXPECT_EQ(statistics.StoreKept().stored, 0);

    ASSERT_TRUE(server->Resume());
    Reconnect();
    EXPECT_EQ(patient.TakeLostPatient(), QString());
    const CStatistics::SKeptOutcome outcome = statistics.StoreKept();
    EXPECT_EQ(outcome.stored, 1);
    EXPECT_EQ(outcome.waiting, 0);
    EXPECT_TRUE(outcome.lost.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("terapie.json")));
    ExpectWhole(2);
    EXPECT_EQ(Count("SELECT count(*) FROM Cwiczenia WHERE Cw = 0 AND Rozw = 7"), 1);
    EXPECT_EQ(statistics.StoreKept().stored, 0);
    ExpectWhole(2);
}

TEST_F(KeptOnClinic, OneThatReachedTheDatabaseBeforeIsNotStoredAgainAndOneOfAGonePatientIsTold)
{
    ASSERT_EQ(Finish(), CStatistics::ESaved::Stored);
    CDbQuery stored(patient.Connection());
    stored.SetSQL("SELECT Data FROM Statystyki");
    stored.Open();
    // As if the server had stored it and the answer was lost with the line.
    SKeptTherapy twice = Sample(patient.ActiveId(), "Źdźbło Ścibor");
    twice.database = conninfo;
    twice.date = stored.Fields(0).AsDateTime();
    SKeptTherapy orphan = Sample(patient.ActiveId() + 100, "Żak Łukasz");
    orphan.database = conninfo;
    SKeptTherapy elsewhere = Sample(patient.ActiveId(), "Źdźbło Ścibor");
    CKeptTherapies kept(dir.file("terapie.json"));
    ASSERT_TRUE(kept.Write({twice, orphan, elsewhere}));

    const CStatistics::SKeptOutcome outcome = statistics.StoreKept();
    EXPECT_EQ(outcome.stored, 1);
    EXPECT_EQ(outcome.waiting, 0);
    EXPECT_EQ(outcome.lost, QStringList{"Żak Łukasz, 14.03.2026 09:26"});
    ExpectWhole(1);
    // Given up, but its results are not thrown away.
    const std::vector<SKeptTherapy> rejected = CKeptTherapies(outcome.rejectedFile).Read();
    ASSERT_EQ(rejected.size(), 1u);
    EXPECT_EQ(rejected.front().patientName, "Żak Łukasz");
    // Another clinic database's therapy waits for it.
    const std::vector<SKeptTherapy> left = kept.Read();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.front().database, elsewhere.database);
}

TEST_F(KeptOnClinic, AServerStoppedDuringSavesLeavesEveryTherapyWholeOnceOrKept)
{
    std::atomic<bool> halted{false};
    std::thread stopper([&] {
        QThread::msleep(300);
        halted = server->Halt();
    });
    int stored = 0;
    int keptCount = 0;
    for (int i = 0; i < 2000 && (!halted || keptCount < 2); ++i) {
        const CStatistics::ESaved saved = Finish(i % 10);
        stored += saved == CStatistics::ESaved::Stored;
        keptCount += saved == CStatistics::ESaved::Kept;
        ASSERT_NE(saved, CStatistics::ESaved::NotStored);
    }
    stopper.join();
    ASSERT_TRUE(halted);
    EXPECT_EQ(list.topLevelItemCount(), stored);
    ASSERT_TRUE(server->Resume());
    Reconnect();
    const CStatistics::SKeptOutcome outcome = statistics.StoreKept();
    EXPECT_EQ(outcome.stored, keptCount);
    // A therapy whose answer was lost may be found stored already: once.
    ExpectWhole(stored + keptCount);
}
