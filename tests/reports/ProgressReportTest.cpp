// The PDF report of the fixture history, read back with pdftotext and turned
// into a picture with pdftoppm (poppler-utils).
#include "common/PatientDbFixture.h"
#include "common/ProgressFixture.h"
#include "reports/CProgressReport.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class ProgressReportTest : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "poppler-utils are missing";
        db.Connect(path);
        FillProgressFixture(db);
        patient = CTherapyHistory::Patients(&db)[2];
        history.Load(&db, patient.Id);
    }

    static QString Run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The report's text, white space made single.
    QString Text(const QString& file) const
    {
        return Run(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), file, QStringLiteral("-")})
            .simplified();
    }

    CDbConnection db;
    CTherapyHistory::SPatient patient;
    CTherapyHistory history;
};

} // namespace

TEST_P(ProgressReportTest, NamesTheExercisesAndTheirFigures)
{
    const CProgressReport report(patient, history);
    const QString file = dir.file("raport.pdf");
    QString error;
    ASSERT_TRUE(report.SavePdf(file, &error)) << error.toStdString();
    const QString text = Text(file);
    for (const char* expected :
         {"Zażółć Gęślą-Jaźń Kowalska", "Afazja ruchowa po udarze; ćwiczy nazywanie.",
          "05.01.2026 – 15.03.2026", "Wybieranie nazwy", "Układanie nazwy", "Powtarzanie przysłów",
          // The summary rows: therapies, tasks, solved, without errors, help,
          // time per task.
          "Wybieranie nazwy 3 20 90,0 % 75,0 % 10,0 % 10,5 s",
          "Układanie nazwy 2 8 75,0 % 50,0 % 50,0 % 12,0 s",
          "Powtarzanie przysłów 1 5 – – – 12,0 s",
          // A therapy's rows and its recording.
          "05.01.2026 10:00 WY 10 8 3 20 % 120,0 s 50 wypowiedź", "UK 5 9 1 10 % 10,0 s –",
          "komentarz", "Zadania bez błędu (%)", "Czas na rozwiązane zadanie (s)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    // With LOQUENA_SCREENSHOTS set, page 1 as a picture goes there to be looked at.
    const QString shots = qEnvironmentVariable("LOQUENA_SCREENSHOTS");
    if (!shots.isEmpty())
        Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                         QStringLiteral("60"), QStringLiteral("-singlefile"), file,
                                         shots + QStringLiteral("/progress-report-page1")});
    // Polish letters come from an embedded font.
    const QString fonts = Run(QStringLiteral("pdffonts"), {file});
    EXPECT_TRUE(fonts.contains(QStringLiteral("LiberationSans"))) << fonts.toStdString();
    // Every font embedded: the column "emb" (fifth from the right) says yes.
    for (const QString& line : fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        ASSERT_GE(columns.size(), 5);
        EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes")) << line.toStdString();
    }
}

TEST_P(ProgressReportTest, PeriodLeavesOtherTherapiesOut)
{
    const CProgressReport report(patient, history, QDate(2026, 2, 1), QDate(2026, 2, 28));
    ASSERT_EQ(report.History().Therapies().size(), 1u);
    const QString file = dir.file("luty.pdf");
    ASSERT_TRUE(report.SavePdf(file, nullptr));
    const QString text = Text(file);
    EXPECT_TRUE(text.contains(QString::fromUtf8("01.02.2026 – 28.02.2026")));
    EXPECT_FALSE(text.contains(QStringLiteral("05.01.2026")));
    EXPECT_FALSE(text.contains(QString::fromUtf8("Powtarzanie przysłów")));
    EXPECT_TRUE(CProgressReport(patient, history, QDate(2027, 1, 1), {}).Empty());
}

// A name and a description far longer than a line wrap onto further lines
// and pages; every word of them is in the report.
TEST_P(ProgressReportTest, LongTextsWrapAndAreNeverCut)
{
    CTherapyHistory::SPatient longOne = patient;
    longOne.Name = QString::fromUtf8("Bardzo-długie-nazwisko-bez-spacji-").repeated(6) +
                   QStringLiteral("KONIEC");
    QStringList words;
    for (int i = 0; i < 1500; ++i)
        words << QStringLiteral("słowo%1").arg(i);
    longOne.Description = words.join(QLatin1Char(' '));
    const CProgressReport report(longOne, history);
    const QString file = dir.file("dlugi.pdf");
    ASSERT_TRUE(report.SavePdf(file, nullptr));
    const QString text = Text(file);
    EXPECT_TRUE(text.contains(QStringLiteral("KONIEC")));
    for (int i : {0, 1, 777, 1499})
        EXPECT_TRUE(text.contains(QStringLiteral("słowo%1").arg(i))) << i;
    // Page 1 as a picture: something is drawn on it.
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-f"),
         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), file, dir.file("strona")});
    const QImage page(dir.file("strona-1.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.height(), page.width()); // A4 upright
}

TEST_P(ProgressReportTest, UnwritableTargetLeavesNoFile)
{
    const CProgressReport report(patient, history);
    const QString target = dir.file("nie-ma/raport.pdf");
    QString error;
    EXPECT_FALSE(report.SavePdf(target, &error));
    EXPECT_TRUE(error.startsWith(QString::fromUtf8("Nie można zapisać pliku")));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(report.SavePdf(dir.path(), &error)); // a folder in the target's place
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

INSTANTIATE_ON_BOTH_STORES(ProgressReportTest);
