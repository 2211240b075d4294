// The CSV export read back with a real CSV parser (Python's csv module).
#include "common/PatientDbFixture.h"
#include "common/ProgressFixture.h"
#include "reports/CProgressCsv.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class ProgressCsvTest : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        db.Connect(path);
        FillProgressFixture(db);
    }

    // The file parsed by Python's csv module (dialect: ";"), one line per
    // row with the fields joined by "|".
    static QStringList Parse(const QString& file)
    {
        QProcess python;
        python.start(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv,sys\n"
                            "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                            "    for row in csv.reader(f, delimiter=';'):\n"
                            "        sys.stdout.write('|'.join(row) + '\\n')\n"),
             file});
        python.waitForFinished(30000);
        return QString::fromUtf8(python.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    CDbConnection db;
};

} // namespace

TEST_P(ProgressCsvTest, ReadsBackToTheFixture)
{
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        GTEST_SKIP() << "python3 is missing";
    CTherapyHistory history;
    history.Load(&db, 1);
    CProgressCsv csv;
    // A name with the separator and a quote must stay one field.
    csv.AddPatient(QString::fromUtf8("Zażółć \"Gęślą\"; Jaźń"), history);
    const QString file = dir.file("postepy.csv");
    QString error;
    ASSERT_TRUE(csv.Save(file, &error)) << error.toStdString();
    EXPECT_TRUE(csv.Text().startsWith("\xEF\xBB\xBF"));
    const QStringList rows = Parse(file);
    const QString name = QString::fromUtf8("Zażółć \"Gęślą\"; Jaźń");
    const QStringList expected = {
        QString::fromUtf8("Pacjent|Data|Godzina|Kod|Ćwiczenie|Liczba zadań|Rozwiązane|Z "
                          "błędami|Pomoc (%)|Czas (s)|Poprawność"),
        name + QString::fromUtf8("|05.01.2026|10:00:00|WY|Wybieranie nazwy|10|8|3|20|120,0|50"),
        name + QString::fromUtf8("|05.01.2026|10:00:00|PP|Powtarzanie przysłów|5|0|0|0|60,0|x"),
        name + QString::fromUtf8("|10.02.2026|11:30:00|WY|Wybieranie nazwy|10|10|0|0|90,0|100"),
        name + QString::fromUtf8("|10.02.2026|11:30:00|UK|Układanie nazwy|8|6|2|50|96,0|50"),
        name + QString::fromUtf8("|15.03.2026|09:15:00|WY|Wybieranie nazwy|0|0|0|0|0,0|0"),
        name + QString::fromUtf8("|15.03.2026|09:15:00|UK|Układanie nazwy|5|9|1|10|10,0|–"),
    };
    EXPECT_EQ(rows, expected);
}

TEST_P(ProgressCsvTest, AllPatientsOneAfterAnother)
{
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        GTEST_SKIP() << "python3 is missing";
    CProgressCsv csv;
    csv.AddAllPatients(&db);
    EXPECT_EQ(csv.Rows(), 7);
    const QString file = dir.file("wszyscy.csv");
    ASSERT_TRUE(csv.Save(file, nullptr));
    const QStringList rows = Parse(file);
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[1],
              QString::fromUtf8(
                  "Anna Nowak|20.01.2026|08:00:00|DC|Dopasowanie czynności|4|4|1|0|40,0|75"));
}

// The exact bytes a spreadsheet is given: byte-order mark, ";" between the
// fields, CRLF line ends, a quoted name with its quotes doubled, decimal
// commas and the dash of a figure that cannot be computed; the same in the
// written file as in the text.
TEST_P(ProgressCsvTest, ExactBytes)
{
    const QByteArray header =
        "\xEF\xBB\xBFPacjent;Data;Godzina;Kod;\xC4\x86wiczenie;Liczba zada\xC5\x84;"
        "Rozwi\xC4\x85zane;Z b\xC5\x82\xC4\x99"
        "dami;Pomoc (%);Czas (s);"
        "Poprawno\xC5\x9B\xC4\x87\r\n";
    const QByteArray patient1 =
        QByteArray("05.01.2026;10:00:00;WY;Wybieranie nazwy;10;8;3;20;120,0;50\r\n"
                   "@05.01.2026;10:00:00;PP;Powtarzanie przys\xC5\x82\xC3\xB3w;5;0;0;0;60,0;x\r\n"
                   "@10.02.2026;11:30:00;WY;Wybieranie nazwy;10;10;0;0;90,0;100\r\n"
                   "@10.02.2026;11:30:00;UK;Uk\xC5\x82"
                   "adanie nazwy;8;6;2;50;96,0;50\r\n"
                   "@15.03.2026;09:15:00;WY;Wybieranie nazwy;0;0;0;0;0,0;0\r\n"
                   "@15.03.2026;09:15:00;UK;Uk\xC5\x82"
                   "adanie nazwy;5;9;1;10;10,0;\xE2\x80\x93\r\n");
    const QByteArray quoted = "\"Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 "
                              "\"\"G\xC4\x99\xC5\x9Bl\xC4\x85\"\"; Ja\xC5\xBA\xC5\x84\";";
    const QByteArray kowalska = "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 "
                                "G\xC4\x99\xC5\x9Bl\xC4\x85-Ja\xC5\xBA\xC5\x84 Kowalska;";
    const QByteArray nowak = "Anna Nowak;20.01.2026;08:00:00;DC;Dopasowanie czynno\xC5\x9B"
                             "ci;4;4;1;0;40,0;75\r\n";
    struct SCase
    {
        const char* name;
        bool all;
        QByteArray bytes;
    };
    const SCase cases[] = {
        {"one patient, quoted name", false,
         header + quoted + QByteArray(patient1).replace("@", quoted)},
        {"all patients", true,
         header + nowak + kowalska + QByteArray(patient1).replace("@", kowalska)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CProgressCsv csv;
        if (c.all) {
            csv.AddAllPatients(&db);
        } else {
            CTherapyHistory history;
            history.Load(&db, 1);
            csv.AddPatient(QString::fromUtf8("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 "
                                             "\"G\xC4\x99\xC5\x9Bl\xC4\x85\"; Ja\xC5\xBA\xC5\x84"),
                           history);
        }
        EXPECT_EQ(csv.Text(), c.bytes);
        const QString file = dir.file("dokladnie.csv");
        ASSERT_TRUE(csv.Save(file, nullptr));
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), c.bytes);
    }
}

// A disk that fills up while a large file is written (files limited to
// 64 KiB stand in for it): the therapist's message, and neither the file nor
// a part of it left.
TEST_P(ProgressCsvTest, FullDiskMidwayLeavesNothing)
{
    CTherapyHistory history;
    history.Load(&db, 1);
    CProgressCsv csv;
    for (int i = 0; i < 400; ++i)
        csv.AddPatient(QStringLiteral("Pacjent %1").arg(i), history);
    ASSERT_GT(csv.Text().size(), 128 * 1024);
    const QString file = dir.file("pelny.csv");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = csv.Save(file, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.startsWith(QString::fromUtf8("Nie można zapisać pliku")))
        << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("pelny")),
              QStringList());
}

// A target that cannot be written gives a message and leaves no file, and
// no temporary file beside it.
TEST_P(ProgressCsvTest, UnwritableTargetsLeaveNothing)
{
    CProgressCsv csv;
    const QString readOnly = dir.file("tylko-odczyt");
    ASSERT_TRUE(QDir().mkdir(readOnly));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    // A folder in the target's place; a folder without write permission
    // (which the superuser may write all the same).
    QStringList targets = {dir.file("usuniety/postepy.csv"), readOnly};
    if (geteuid() != 0)
        targets << readOnly + "/postepy.csv";
    for (const QString& target : targets) {
        QString error;
        EXPECT_FALSE(csv.Save(target, &error)) << target.toStdString();
        EXPECT_TRUE(error.startsWith(QString::fromUtf8("Nie można zapisać pliku")))
            << target.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(targets[0]));
    EXPECT_TRUE(QDir(readOnly).isEmpty());
    QFile::setPermissions(readOnly,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

INSTANTIATE_ON_BOTH_STORES(ProgressCsvTest);
