// Result records, totals, stored therapies and the recording files of the
// statistics store, on a real patient database in a temporary folder.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "patients/CPatient.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "statistics/CClinicRecordings.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatistics.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(StatEx, ScoreTextIsNeverNegative)
{
    struct Case
    {
        int cw, lz, rozw, blad;
        const char* text;
    };
    const Case cases[] = {
        {0, 10, 8, 3, "50"}, {6, 3, 2, 0, "66"}, {1, 10, 2, 3, "0"},  {2, 0, 0, 0, "0"},
        {7, 10, 0, 0, "x"},  {10, 5, 5, 0, "x"}, {3, 4, 4, 0, "100"},
    };
    for (const Case& c : cases) {
        CStatEx record;
        record.Cw = c.cw;
        record.LZ = c.lz;
        record.Rozw = c.rozw;
        record.Blad = c.blad;
        EXPECT_EQ(record.ScoreText(), c.text) << c.cw << " " << c.lz << " " << c.rozw;
    }
}

TEST(StatEx, TimingAddsOnlyWhileRunning)
{
    CStatEx record;
    EXPECT_EQ(record.StopTiming(), 0);
    record.StartTiming();
    ASSERT_TRUE(record.Running);
    record.Start -= std::chrono::milliseconds(1290);
    const auto started = record.Start;
    record.StartTiming(); // running: the start stays
    EXPECT_EQ(record.Start, started);
    EXPECT_EQ(record.StopTiming(), 12); // whole tenths, truncated
    EXPECT_EQ(record.StopTiming(), 0);  // stopped twice: added once
    EXPECT_EQ(record.Czas, 12);
    EXPECT_FALSE(record.Running);
}

TEST(StatEx, HintPercentages)
{
    CStatEx record;
    EXPECT_EQ(record.PomocPercent(), 0); // limit 999, nothing used
    record.PomocMax = 6;
    record.Pomoc = 3;
    EXPECT_EQ(record.PomocPercent(), 50);
    record.PomocMax = 0; // never from an exercise; must not divide by zero
    EXPECT_EQ(record.PomocPercent(), 0);
    for (const auto& [in, out] : {std::pair{-4, 0}, std::pair{50, 50}, std::pair{180, 100}}) {
        record.SetPomocPercent(in);
        EXPECT_EQ(record.PomocMax, 100);
        EXPECT_EQ(record.Pomoc, out);
    }
}

TEST(Statistics, ResetRecordsAndTheIndexRange)
{
    CTherapySettings settings;
    settings.SetSelected(0, true);
    settings.SetSelected(7, true);
    settings.Get_ExeSet(0).LZ = 14;
    CStatistics statistics;
    EXPECT_EQ(statistics.IdStat(), -1);
    EXPECT_EQ(statistics.Current(), -1);
    statistics.Get_P_StatEx(0)->Rozw = 5;
    statistics.Reset(&settings);
    EXPECT_EQ(statistics.ChosenMask(), (1 << 0) | (1 << 7));
    EXPECT_EQ(statistics.StatEx(0).LZ, 14);
    EXPECT_EQ(statistics.StatEx(7).LZ, 29);
    EXPECT_EQ(statistics.StatEx(0).Rozw, 0);
    EXPECT_EQ(statistics.StatEx(0).PomocMax, 999);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(statistics.StatEx(i).Cw, i);
    statistics.Reset();
    EXPECT_EQ(statistics.ChosenMask(), 0);
    EXPECT_EQ(statistics.StatEx(0).LZ, 1);

    for (int bad : {11, -1}) {
        try {
            statistics.Get_P_StatEx(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const CError& error) {
            EXPECT_EQ(error.Message(), "CStatistics::Get_P_StatEx - Przekroczony zakres indeksu");
        }
    }
}

TEST(Statistics, PauseAllAndResumeTheRunningExercise)
{
    CStatistics statistics;
    statistics.PauseAll();
    EXPECT_EQ(statistics.Current(), -1);
    statistics.ResumeCurrent(); // nothing to resume
    CStatEx* dc = statistics.Get_P_StatEx(6);
    dc->StartTiming();
    dc->Start -= std::chrono::milliseconds(500);
    statistics.PauseAll();
    EXPECT_EQ(statistics.Current(), 6);
    EXPECT_FALSE(dc->Running);
    EXPECT_EQ(dc->Czas, 5);
    statistics.ResumeCurrent();
    EXPECT_TRUE(dc->Running);
    EXPECT_FALSE(statistics.StatEx(5).Running);
}

TEST(Statistics, TotalsOverTheChosenExercises)
{
    CTherapySettings settings;
    for (int i : {0, 1, 7, 8})
        settings.SetSelected(i, true);
    CStatistics statistics;
    statistics.Reset(&settings);
    auto set = [&](int i, int lz, int rozw, int blad, int pomoc, int pomocMax, int czas) {
        CStatEx* r = statistics.Get_P_StatEx(i);
        r->LZ = lz;
        r->Rozw = rozw;
        r->Blad = blad;
        r->Pomoc = pomoc;
        r->PomocMax = pomocMax;
        r->Czas = czas;
    };
    set(0, 10, 9, 2, 3, 6, 19);    // correctness 70, hints 50
    set(1, 10, 10, 0, 0, 999, 19); // correctness 100, hints 0
    set(2, 50, 1, 0, 9, 10, 600);  // not chosen: counts nowhere
    set(7, 29, 0, 0, 0, 999, 25);  // repetition: only its time counts
    EXPECT_EQ(statistics.TotalLZ(), 20);
    EXPECT_EQ(statistics.TotalRozw(), 19);
    EXPECT_EQ(statistics.TotalBlad(), 2);
    EXPECT_EQ(statistics.TotalUnsolved(), 1);
    EXPECT_EQ(statistics.TotalFaultless(), 17);
    EXPECT_EQ(statistics.AverageCorrectness(), 85);
    EXPECT_EQ(statistics.AveragePomoc(), 25);
    EXPECT_EQ(statistics.TotalSeconds(), 1 + 1 + 2); // each truncated before summing

    // R 3 and B 5: no flawless tasks, never a negative figure.
    set(0, 10, 3, 5, 0, 999, 0);
    EXPECT_EQ(statistics.TotalFaultless(), 10);
    EXPECT_EQ(statistics.AverageCorrectness(), 50);

    CTherapySettings onlyWyl;
    onlyWyl.SetSelected(7, true);
    statistics.Reset(&onlyWyl);
    statistics.Get_P_StatEx(7)->Czas = 3725;
    EXPECT_EQ(statistics.TotalLZ(), 0);
    EXPECT_EQ(statistics.AverageCorrectness(), 0);
    EXPECT_EQ(statistics.AveragePomoc(), 0);
    EXPECT_EQ(statistics.TotalSeconds(), 372);
}

TEST(Statistics, RecordingFileNames)
{
    CStatistics statistics;
    EXPECT_EQ(statistics.RecordingFileName(255, 4096, 'W'), "Nagrane/AAAAAAPP_AAAABAAA_W.WAV");
    EXPECT_EQ(statistics.RecordingFileName(1, 26, 'K'), "Nagrane/AAAAAAAB_AAAAAABK_K.WAV");
    EXPECT_EQ(statistics.RecordingFileName(-1, 0, 'W'), "Nagrane/PPPPPPPP_AAAAAAAA_W.WAV");
    // Without a patient store there is no file to name.
    EXPECT_EQ(statistics.UtteranceFileName(), "");
    EXPECT_EQ(statistics.CommentFileName(), "");
    EXPECT_FALSE(statistics.HasUtteranceFile());
}

namespace {

// A patient store on a fresh database with one active patient, the
// statistics store bound to it and a recordings folder beside it.
class StatisticsStore : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        ASSERT_TRUE(patient.Open(path));
        patient.Add();
        ASSERT_TRUE(QDir(dir.path()).mkdir("Nagrane"));
        statistics.SetRecordingFolder(dir.file("Nagrane"));
        list.setColumnCount(14);
    }

    // Stores a therapy of WY (10 tasks, 8 solved, 3 with errors, hints 3 of
    // 6) and PP for the active patient.
    int StoreTherapy()
    {
        CTherapySettings settings;
        settings.SetSelected(0, true);
        settings.SetSelected(8, true);
        statistics.Reset(&settings);
        CStatEx* wy = statistics.Get_P_StatEx(0);
        wy->Rozw = 8;
        wy->Blad = 3;
        wy->Pomoc = 3;
        wy->PomocMax = 6;
        wy->Czas = 6595;
        statistics.Get_P_StatEx(8)->Czas = 40;
        statistics.SaveTherapy(patient.ActiveId(), &list);
        return statistics.IdStat();
    }

    void Touch(const QString& name)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
    }

    // A recording of the current therapy as the recorder leaves it: its
    // file written, then stored.
    void Record(QChar kind)
    {
        Touch(kind == 'W' ? statistics.UtteranceFileName() : statistics.CommentFileName());
        ASSERT_TRUE(statistics.KeepRecording(kind));
    }

    // Anything left of a recording: stored, or a file of it.
    bool Kept(int patientId, int idStat, QChar kind)
    {
        return statistics.HasRecording(patientId, idStat, kind) ||
               QFile::exists(statistics.RecordingFileName(patientId, idStat, kind));
    }

    QVariant Flag(const char* column, int idStat)
    {
        return Scalar(patient.Connection(),
                      QString("SELECT %1 FROM Statystyki WHERE idStat=?").arg(column), {idStat});
    }

    CPatient patient;
    CStatistics statistics{&patient};
    QTreeWidget list;
};

INSTANTIATE_ON_BOTH_STORES(StatisticsStore);

QStringList Row(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int c = 0; c < 14; ++c)
        texts << item->text(c);
    return texts;
}

} // namespace

TEST_P(StatisticsStore, SavedTherapyIsListedWithScoresAndMarks)
{
    const int idStat = StoreTherapy();
    ASSERT_GT(idStat, 0);
    ASSERT_EQ(list.topLevelItemCount(), 1);
    const QString today = QDate::currentDate().toString("dd.MM.yyyy");
    const QStringList expected = {today, "50", "", "", "", "", "", "", "", "x", "", "", "", ""};
    EXPECT_EQ(Row(list.topLevelItem(0)), expected);
    EXPECT_EQ(list.topLevelItem(0)->data(0, Qt::UserRole).toInt(), idStat);
    const int idCwWy = list.topLevelItem(0)->data(1, Qt::UserRole).toInt();
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT Pomoc FROM Cwiczenia WHERE idCw=?", {idCwWy}),
              50);
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT Pomoc FROM Cwiczenia WHERE idStat=? AND Cw=8",
                     {idStat}),
              0); // limit 999, nothing used

    // A second therapy, and one of another patient that must not show.
    const int first = patient.ActiveId();
    StoreTherapy();
    patient.Add();
    StoreTherapy();
    patient.Select(first);

    // Recording marks come from the stored flags.
    patient.Connection()->Execute("UPDATE Statystyki SET Komentarz=1 WHERE idStat=?", {idStat});
    statistics.ListTherapies(first, &list);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    QStringList listed = expected;
    listed[13] = "@";
    EXPECT_EQ(Row(list.topLevelItem(0)), listed);
    EXPECT_EQ(list.topLevelItem(0)->data(0, Qt::UserRole).toInt(), idStat);
    EXPECT_EQ(list.topLevelItem(0)->data(1, Qt::UserRole).toInt(), idCwWy);
    EXPECT_EQ(Row(list.topLevelItem(1)), expected);

    statistics.ListTherapies(-1, &list);
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

TEST_P(StatisticsStore, LoadTherapyGivesBackTheFigures)
{
    const int idStat = StoreTherapy();
    const QDateTime saved = statistics.Date();
    statistics.Reset();
    statistics.LoadTherapy(patient.ActiveId(), idStat);
    EXPECT_EQ(statistics.IdStat(), idStat);
    EXPECT_EQ(statistics.ChosenMask(), (1 << 0) | (1 << 8));
    EXPECT_EQ(statistics.Date(), saved);
    const CStatEx& wy = statistics.StatEx(0);
    EXPECT_EQ(wy.LZ, 10);
    EXPECT_EQ(wy.Rozw, 8);
    EXPECT_EQ(wy.Blad, 3);
    EXPECT_EQ(wy.Pomoc, 50); // 50 hint steps out of 100
    EXPECT_EQ(wy.PomocMax, 100);
    EXPECT_EQ(wy.Czas, 6595);
    EXPECT_EQ(statistics.StatEx(8).Czas, 40);
    EXPECT_EQ(statistics.StatEx(3).LZ, 1); // not in the therapy: reset values
    EXPECT_EQ(statistics.TotalSeconds(), 659 + 4);

    // Another patient's therapy, or none: nothing is loaded.
    statistics.LoadTherapy(patient.ActiveId() + 1, idStat);
    EXPECT_EQ(statistics.IdStat(), -1);
    EXPECT_EQ(statistics.ChosenMask(), 0);
    statistics.LoadTherapy(patient.ActiveId(), -1);
    EXPECT_EQ(statistics.IdStat(), -1);
}

TEST_P(StatisticsStore, NothingIsStoredWithoutAPatientOrADataSet)
{
    statistics.SaveTherapy(-1, &list);
    CStatistics unbound;
    unbound.SaveTherapy(patient.ActiveId(), &list);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT count(*) FROM Statystyki").toInt(), 0);
    EXPECT_FALSE(unbound.SelectRow(1));
    EXPECT_FALSE(unbound.HasRecordings());
}

TEST_P(StatisticsStore, RecordingMarksFollowTheFiles)
{
    const int idStat = StoreTherapy();
    list.setCurrentItem(list.topLevelItem(0));
    EXPECT_EQ(statistics.CommentFileName(),
              statistics.RecordingFileName(patient.ActiveId(), idStat, 'K'));
    EXPECT_FALSE(statistics.RefreshRecordingMarks(&list, 12)); // nothing recorded yet

    Record('K');
    EXPECT_TRUE(statistics.HasCommentFile());
    EXPECT_TRUE(statistics.RefreshRecordingMarks(&list, 12));
    EXPECT_EQ(list.topLevelItem(0)->text(12), "");
    EXPECT_EQ(list.topLevelItem(0)->text(13), "@");
    EXPECT_EQ(statistics.Komentarz(), 1);
    EXPECT_EQ(Flag("Komentarz", idStat), 1);
    EXPECT_FALSE(statistics.RefreshRecordingMarks(&list, 12)); // at once again: no change

    Record('W');
    EXPECT_TRUE(statistics.RefreshRecordingMarks(&list, 12));
    EXPECT_EQ(list.topLevelItem(0)->text(12), "@");
    EXPECT_EQ(Flag("Wypowiedz", idStat), 1);
    EXPECT_TRUE(statistics.HasRecordings());

    // Deleting one recording removes its file and stores its flag.
    statistics.DeleteComment();
    EXPECT_FALSE(Kept(patient.ActiveId(), idStat, 'K'));
    EXPECT_EQ(Flag("Komentarz", idStat), 0);
    EXPECT_EQ(Flag("Wypowiedz", idStat), 1);
    statistics.DeleteComment(); // the file is gone already: no error
    EXPECT_FALSE(statistics.RefreshRecordingMarks(&list, 12));
    EXPECT_EQ(list.topLevelItem(0)->text(13), "");
}

TEST_P(StatisticsStore, DeletingTherapiesAndAllRecordingsOfAPatient)
{
    const int first = StoreTherapy();
    Record('W');
    Record('K');
    statistics.RefreshRecordingMarks(&list, 12);
    const int second = StoreTherapy();
    Record('K');
    statistics.RefreshRecordingMarks(&list, 12);
    const int third = StoreTherapy(); // no recordings

    // Another patient's recording stays whatever happens to this one's.
    const int owner = patient.ActiveId();
    patient.Add();
    const int other = patient.ActiveId();
    const int foreign = StoreTherapy();
    Record('W');
    statistics.RefreshRecordingMarks(&list, 12);
    patient.Select(owner);

    EXPECT_TRUE(statistics.HasRecordings());
    statistics.DeleteAllRecordings();
    EXPECT_FALSE(Kept(owner, first, 'W'));
    EXPECT_FALSE(Kept(owner, first, 'K'));
    EXPECT_FALSE(Kept(owner, second, 'K'));
    EXPECT_TRUE(statistics.HasRecording(other, foreign, 'W'));
    EXPECT_EQ(Flag("Komentarz", second), 1); // flags are left for the patient's deletion

    // Deleting a therapy: its recordings, then its row; the listing forgets it.
    statistics.LoadTherapy(owner, second);
    Record('K');
    ASSERT_TRUE(statistics.SelectRow(second));
    statistics.DeleteTherapy();
    EXPECT_FALSE(Kept(owner, second, 'K'));
    EXPECT_FALSE(statistics.SelectRow(second));
    // Its exercise rows went with it; the other therapies keep theirs.
    EXPECT_EQ(
        Scalar(patient.Connection(), "SELECT count(*) FROM Cwiczenia WHERE idStat=?", {second})
            .toInt(),
        0);
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT count(*) FROM Cwiczenia WHERE idStat=?", {first})
                  .toInt(),
              2);
    statistics.ListTherapies(owner, &list);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(0)->data(0, Qt::UserRole).toInt(), first);
    EXPECT_EQ(list.topLevelItem(1)->data(0, Qt::UserRole).toInt(), third);
}

TEST_P(StatisticsStore, ADeletedPatientsRecordingsAllGoAndNoOtherOne)
{
    const int owner = patient.ActiveId();
    const int first = StoreTherapy();
    Record('W');
    statistics.RefreshRecordingMarks(&list, 12);
    // A comment whose flag never reached the database (the program ended
    // between the recording and the flag).
    const int second = StoreTherapy();
    Record('K');
    patient.Add();
    const int other = patient.ActiveId();
    const int foreign = StoreTherapy();
    Record('W');
    const QString unrelated = dir.file("Nagrane/notatka.txt");
    Touch(unrelated);

    // As the patients page does it: the patient, then its recording files.
    patient.Select(owner);
    patient.Delete();
    statistics.DeleteRecordingFiles(owner);
    EXPECT_FALSE(Kept(owner, first, 'W'));
    EXPECT_FALSE(Kept(owner, second, 'K'));
    EXPECT_TRUE(statistics.HasRecording(other, foreign, 'W'));
    EXPECT_TRUE(QFile::exists(unrelated));
    statistics.DeleteRecordingFiles(-1); // no patient: nothing
    EXPECT_TRUE(statistics.HasRecording(other, foreign, 'W'));
    if (IsClinic()) {
        EXPECT_EQ(Scalar(patient.Connection(), "SELECT count(*) FROM Nagrania").toInt(), 1);
    }
}

namespace {

// A recording's bytes with everything a text transfer would spoil: NUL
// bytes, backslashes, quotes and bytes above 127.
QByteArray WaveBytes(int samples)
{
    QByteArray bytes = CNagrywanie::EmptyWave();
    for (int i = 0; i < samples; ++i)
        bytes.append(char(i * 37 % 256));
    bytes.append("\\x00'\"\\\\", 7);
    return bytes;
}

QByteArray Contents(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_P(StatisticsStore, AKeptRecordingPlaysBackByteForByte)
{
    const int owner = patient.ActiveId();
    const int idStat = StoreTherapy();
    EXPECT_FALSE(statistics.FetchRecording('W')); // nothing recorded yet
    const QByteArray recorded = WaveBytes(70000);
    ASSERT_TRUE(CNagrywanie::WriteWholeFile(statistics.UtteranceFileName(), recorded));
    ASSERT_TRUE(statistics.KeepRecording('W'));

    // A later recording replaces the first one whole.
    const QByteArray again = WaveBytes(300);
    ASSERT_TRUE(CNagrywanie::WriteWholeFile(statistics.UtteranceFileName(), again));
    ASSERT_TRUE(statistics.KeepRecording('W'));
    if (IsClinic()) { // the working copy is not what is played back
        ASSERT_TRUE(QFile::remove(statistics.UtteranceFileName()));
    }
    ASSERT_TRUE(statistics.FetchRecording('W'));
    EXPECT_EQ(Contents(statistics.RecordingFileName(owner, idStat, 'W')), again);
    EXPECT_FALSE(statistics.FetchRecording('K'));
    EXPECT_FALSE(statistics.HasRecording(owner, idStat, 'K'));
}

namespace {

// A second workstation on the same clinic database.
class ClinicRecordings : public StatisticsStore
{
};

INSTANTIATE_ON_CLINIC_STORE(ClinicRecordings);

} // namespace

TEST_P(ClinicRecordings, ARecordingMadeOnOneWorkstationPlaysOnAnother)
{
    const int owner = patient.ActiveId();
    const int idStat = StoreTherapy();
    list.setCurrentItem(list.topLevelItem(0));
    const QByteArray recorded = WaveBytes(22050);
    ASSERT_TRUE(CNagrywanie::WriteWholeFile(statistics.CommentFileName(), recorded));
    ASSERT_TRUE(statistics.KeepRecording('K'));
    statistics.RefreshRecordingMarks(&list, 12);

    CDbConnection room3;
    room3.SetWorkstation("sala3");
    room3.Connect(path);
    CStatistics elsewhere;
    elsewhere.Bind(&room3);
    QTreeWidget listed;
    elsewhere.ListTherapies(owner, &listed);
    ASSERT_EQ(listed.topLevelItemCount(), 1);
    EXPECT_EQ(listed.topLevelItem(0)->text(13), "@");
    EXPECT_TRUE(elsewhere.HasRecording(owner, idStat, 'K'));

    // Each workstation plays from a folder of its own.
    CClinicRecordings store(room3);
    EXPECT_NE(store.Folder(), statistics.RecordingFileName(owner, idStat, 'K').section('/', 0, -2));
    ASSERT_TRUE(store.Fetch(owner, idStat, 'K'));
    EXPECT_EQ(Contents(store.Path(owner, idStat, 'K')), recorded);
    EXPECT_FALSE(QFile::permissions(store.Path(owner, idStat, 'K')) &
                 (QFileDevice::ReadGroup | QFileDevice::ReadOther));

    // Deleted on the first workstation, it is gone for the second.
    statistics.DeleteComment();
    EXPECT_FALSE(elsewhere.HasRecording(owner, idStat, 'K'));
    EXPECT_FALSE(store.Fetch(owner, idStat, 'K'));
}

// The workstations' role of the clinic's set-up: rights on the rows only.
// Everything a workstation does with therapies and recordings works with it.
TEST_P(ClinicRecordings, AWorkstationRoleWithRowRightsOnlyIsEnough)
{
    PgTestServer& server = PgTestServer::Instance();
    const QString database = path.mid(path.indexOf("dbname=") + 7);
    const QString group = QString("stanowiska_%1").arg(qint64(::getpid()));
    server.Admin("DROP ROLE IF EXISTS " + group);
    for (const QString& sql :
         {QString("CREATE ROLE ") + group + " NOLOGIN", "GRANT " + group + " TO terapeuta",
          "GRANT CONNECT ON DATABASE " + database + " TO " + group})
        ASSERT_EQ(server.Admin(sql), "") << sql.toStdString();
    for (const QString& sql :
         {QString("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
          "GRANT SELECT, INSERT, UPDATE, DELETE ON Pacjenci, Ust, Stanowiska, Statystyki, "
          "Cwiczenia, Nagrania TO " +
              group,
          "GRANT SELECT ON loquena_schemat TO " + group})
        ASSERT_EQ(server.Admin(sql, database), "") << sql.toStdString();
    QFile passwords(dir.file("pgpass"));
    ASSERT_TRUE(passwords.open(QIODevice::WriteOnly));
    passwords.write("*:*:*:terapeuta:haslo-terapeuty\n");
    passwords.close();
    passwords.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("PGPASSFILE", QFile::encodeName(passwords.fileName()));

    {
        CPatient room;
        room.SetWorkstation("sala2");
        ASSERT_TRUE(room.Open(QString("host=127.0.0.1 port=%1 user=terapeuta dbname=%2")
                                  .arg(server.Port())
                                  .arg(database)));
        room.Add();
        CStatistics stats(&room);
        QTreeWidget rows;
        rows.setColumnCount(14);
        stats.Reset();
        stats.SaveTherapy(room.ActiveId(), &rows);
        ASSERT_GT(stats.IdStat(), 0);
        ASSERT_TRUE(CNagrywanie::WriteWholeFile(stats.UtteranceFileName(), WaveBytes(100)));
        EXPECT_TRUE(stats.KeepRecording('W'));
        EXPECT_TRUE(stats.FetchRecording('W'));
        stats.DeleteUtterance();
        EXPECT_FALSE(stats.HasUtteranceFile());
        room.Delete();
    }
    qunsetenv("PGPASSFILE");
    server.Admin("REVOKE " + group + " FROM terapeuta");
    server.Admin("DROP OWNED BY " + group, database);
    server.Admin("REVOKE ALL ON DATABASE " + database + " FROM " + group);
    server.Admin("DROP ROLE " + group);
}
