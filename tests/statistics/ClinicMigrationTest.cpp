// Moving a single computer's patient file with its recordings into a clinic
// database, on a real file and a real PostgreSQL server.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "patients/CPatient.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"
#include "statistics/CClinicMigration.h"
#include "statistics/CClinicRecordings.h"
#include "statistics/CStatistics.h"
#include "statistics/MigrationCommand.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList Rows(const QTreeWidget& list)
{
    QStringList rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        QStringList texts;
        for (int c = 0; c < 14; ++c)
            texts << list.topLevelItem(i)->text(c);
        rows << texts.join('|');
    }
    return rows;
}

// A computer's folder (pacmem.qp and Nagrane/) filled by the program's own
// stores, and the clinic database to move it into.
class ClinicMigration : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkpath("komputer/Nagrane"));
        folder = dir.file("komputer");
        ASSERT_TRUE(CreatePatientDatabase(folder + "/pacmem.qp"));
        clinic.Connect(path);
    }

    struct SFilePatient
    {
        QString name;
        int therapies;
        QString recordings; // kinds recorded for the first therapy
    };

    // The patients with their therapies (WY and PP, figures by their number).
    void Fill(const std::vector<SFilePatient>& patients)
    {
        CPatient patient;
        ASSERT_TRUE(patient.Open(folder + "/pacmem.qp"));
        CStatistics statistics(&patient);
        statistics.SetRecordingFolder(folder + "/Nagrane");
        QTreeWidget list;
        list.setColumnCount(14);
        for (const SFilePatient& p : patients) {
            patient.Add();
            patient.SetName(p.name);
            patient.Save();
            for (int t = 0; t < p.therapies; ++t) {
                CTherapySettings settings;
                settings.SetSelected(0, true);
                settings.SetSelected(8, true);
                statistics.Reset(&settings);
                statistics.Get_P_StatEx(0)->LZ = 10;
                statistics.Get_P_StatEx(0)->Rozw = 3 + t;
                statistics.Get_P_StatEx(0)->Blad = t % 3;
                statistics.Get_P_StatEx(8)->Czas = 100 * t + 7;
                statistics.SaveTherapy(patient.ActiveId(), &list);
                if (t != 0)
                    continue;
                for (QChar kind : p.recordings) {
                    QByteArray bytes(5000 + 100 * t, '\0');
                    for (int i = 0; i < bytes.size(); ++i)
                        bytes[i] = char((i * 131 + kind.unicode()) % 256);
                    QFile file(statistics.RecordingFileName(patient.ActiveId(), statistics.IdStat(),
                                                            kind));
                    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                    file.write(bytes);
                    recorded[p.name + kind] = bytes;
                }
                if (!p.recordings.isEmpty()) {
                    statistics.LoadTherapy(patient.ActiveId(), statistics.IdStat());
                    list.setCurrentItem(list.topLevelItem(list.topLevelItemCount() - 1));
                    statistics.RefreshRecordingMarks(&list, 12);
                }
            }
        }
    }

    // Every patient's name with its statistics list, and the recordings,
    // as the program shows them from the store at `target`.
    std::map<QString, QStringList> Shown(CDbConnection* connection, const QString& target)
    {
        std::map<QString, QStringList> shown;
        CDbConnection own;
        if (!connection) {
            own.Connect(target);
            connection = &own;
        }
        CStatistics statistics;
        statistics.Bind(connection);
        const SDbRows patients = connection->Backend("test").Select(
            "SELECT idPac, NazwiskoImie, Poczatek, Opis, WY_L FROM Pacjenci ORDER BY idPac", {},
            "test");
        for (const QVariantList& row : patients.rows) {
            QTreeWidget list;
            statistics.ListTherapies(row.value(0).toInt(), &list);
            QStringList& texts = shown[row.value(1).toString()];
            texts << row.value(2).toString() + "|" + row.value(3).toString() + "|" +
                         row.value(4).toString();
            texts << Rows(list);
        }
        return shown;
    }

    int Count(const char* table)
    {
        return Scalar(&clinic, QString("SELECT count(*) FROM %1").arg(table)).toInt();
    }

    QString folder;
    CDbConnection clinic;
    std::map<QString, QByteArray> recorded;
};

INSTANTIATE_ON_CLINIC_STORE(ClinicMigration);

} // namespace

TEST_P(ClinicMigration, CopiedWholeCheckedAndNeverTwice)
{
    // Two patients of the same name and first day are two patients.
    Fill({{"Kowalski Jan", 3, "WK"},
          {"Nowak Anna", 1, "K"},
          {"Zieliński Piotr", 2, "W"},
          {"Zieliński Piotr", 1, ""}});
    // A therapy whose patient was deleted long ago stays behind.
    {
        CDbConnection file;
        file.Connect(folder + "/pacmem.qp");
        file.Execute("INSERT INTO Statystyki (idPac, Data) VALUES (999, '2020-01-01')");
    }
    const std::map<QString, QStringList> before = Shown(nullptr, folder + "/pacmem.qp");

    CClinicMigration::SReport report = CClinicMigration(folder, clinic).Run();
    EXPECT_EQ(report.patientsCopied, 4);
    EXPECT_EQ(report.therapiesCopied, 7);
    EXPECT_EQ(report.rowsCopied, 14);
    EXPECT_EQ(report.recordingsCopied, 4);
    EXPECT_EQ(report.therapiesSkipped, 1);
    EXPECT_EQ(report.fileDigest.size(), 64);
    EXPECT_EQ(report.fileDigest, report.clinicDigest);
    EXPECT_EQ(Shown(&clinic, path), before);
    // The recordings play on any workstation as they were recorded.
    CClinicRecordings store(clinic);
    CStatistics statistics;
    statistics.Bind(&clinic);
    for (const auto& [key, bytes] : recorded) {
        const QString name = key.chopped(1);
        const QVariant idStat = Scalar(&clinic,
                                       "SELECT min(s.idStat) FROM Statystyki AS s, Pacjenci AS p "
                                       "WHERE s.idPac = p.idPac AND p.NazwiskoImie = ?",
                                       {name});
        EXPECT_EQ(CClinicRecordings::Get(clinic, idStat.toLongLong(), key.back()), bytes)
            << key.toStdString();
    }

    // Again: nothing new, nothing twice, and the same check.
    report = CClinicMigration(folder, clinic).Run();
    EXPECT_EQ(report.patientsCopied, 0);
    EXPECT_EQ(report.patientsFound, 4);
    EXPECT_EQ(report.therapiesCopied, 0);
    EXPECT_EQ(report.therapiesFound, 7);
    EXPECT_EQ(report.recordingsCopied, 0);
    EXPECT_EQ(report.recordingsFound, 4);
    EXPECT_EQ(report.fileDigest, report.clinicDigest);
    EXPECT_EQ(Count("Pacjenci"), 4);
    EXPECT_EQ(Count("Statystyki"), 7);
    EXPECT_EQ(Count("Cwiczenia"), 14);
    EXPECT_EQ(Count("Nagrania"), 4);

    // A therapy held on the computer since then is all that goes next time.
    Fill({{"Lis Ewa", 1, ""}});
    report = CClinicMigration(folder, clinic).Run();
    EXPECT_EQ(report.patientsCopied, 1);
    EXPECT_EQ(report.patientsFound, 4);
    EXPECT_EQ(report.therapiesCopied, 1);
    EXPECT_EQ(Count("Statystyki"), 8);
    EXPECT_EQ(Shown(&clinic, path), Shown(nullptr, folder + "/pacmem.qp"));
}

TEST_P(ClinicMigration, AFileThatCannotBeCopiedWholeCopiesNothing)
{
    struct Case
    {
        const char* what;
        std::function<void(const QString& file)> spoil;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"cut short",
         [](const QString& name) {
             {
                 CDbConnection file;
                 file.Connect(name);
                 for (int i = 0; i < 200; ++i)
                     file.Execute("INSERT INTO Statystyki (idPac, Data) VALUES (1, ?)",
                                  {QString(200, QChar(u'x'))});
             }
             QFile file(name);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             ASSERT_TRUE(file.resize(file.size() / 2));
         },
         "Nie można odczytać pliku pacjentów"},
        {"missing", [](const QString& name) { ASSERT_TRUE(QFile::remove(name)); },
         "Nie można odczytać pliku pacjentów"},
        // The first patient is copied before the second one's row fails.
        {"a row the clinic refuses",
         [](const QString& name) {
             CDbConnection file;
             file.Connect(name);
             file.Execute("UPDATE Cwiczenia SET LZ = 'dziesięć' WHERE idCw = (SELECT max(idCw) "
                          "FROM Cwiczenia)");
         },
         "Przenoszenie do bazy kliniki nie powiodło się"},
    };
    Fill({{"Kowalski Jan", 2, "W"}, {"Nowak Anna", 1, ""}});
    const QString name = folder + "/pacmem.qp";
    const QString kept = dir.file("pacmem.kopia");
    ASSERT_TRUE(QFile::copy(name, kept));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(name);
        ASSERT_TRUE(QFile::copy(kept, name));
        c.spoil(name);
        try {
            CClinicMigration(folder, clinic).Run();
            ADD_FAILURE() << "copied";
        } catch (const CError& error) {
            EXPECT_TRUE(error.Message().contains(c.message)) << error.Message().toStdString();
            EXPECT_TRUE(error.Message().contains("Nic nie zostało przeniesione."));
        }
        EXPECT_FALSE(clinic.InTransaction());
        for (const char* table : {"Pacjenci", "Statystyki", "Cwiczenia", "Nagrania"})
            EXPECT_EQ(Count(table), 0) << table;
    }
}

TEST(MigrationCommand, AskedForOnlyByItsOptionAndRefusedWithoutAClinic)
{
    EXPECT_TRUE(IsMigrationCommand({"loquena", "--przenies=/tmp/x"}));
    EXPECT_TRUE(IsMigrationCommand({"loquena", "--przenies", "/tmp/x"}));
    EXPECT_FALSE(IsMigrationCommand({"loquena", "--klinika=host=a"}));
    EXPECT_FALSE(IsMigrationCommand({"loquena", "--przeniesiony"}));
    // Only into a clinic database: a file name is wrong use.
    EXPECT_EQ(RunMigrationCommand({"loquena", "--przenies=/tmp/x", "--klinika=pacmem.qp"}), 2);
    EXPECT_EQ(RunMigrationCommand({"loquena", "--klinika=host=/tmp"}), 2);
}
