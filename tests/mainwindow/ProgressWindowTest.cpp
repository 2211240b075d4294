// The progress window opened from the statistics page: its charts and
// comparison on the fixture history, the report and the exports through its
// buttons, and the messages for a patient without therapies and a target
// that cannot be written.
#include "StatisticsPageFixture.h"
#include "app/DisplayMode.h"
#include "common/MessageAnswerer.h"
#include "common/PatientDbFixture.h"
#include "common/ProgressFixture.h"
#include "graphics/DialogFrame.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/TFormProgress.h"
#include "patients/CPatient.h"
#include "reports/CProgressChartView.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatistics.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class ProgressWindowTest : public StatisticsPageFixture
{
protected:
    void FillStore(CDbConnection& db) override { FillProgressFixture(db); }

    // Opens the window for patient `id` with a click on "Postępy".
    TFormProgress* Open(int id)
    {
        patient.Select(id);
        QTest::mouseClick(page->btPostepy, Qt::LeftButton);
        return page->Progress();
    }
};

std::vector<QString> Values(const CProgressChart& chart)
{
    std::vector<QString> texts;
    for (const auto& p : chart.Points())
        texts.push_back(CExerciseFigures::Text(p.Value, 1));
    return texts;
}

// A message's lines as one text.
QString Said(const MessageAnswerer::Shown& shown)
{
    return shown.rows.join(QLatin1Char(' ')).simplified();
}

} // namespace

TEST_P(ProgressWindowTest, ChartsAndComparisonOfTheFixture)
{
    TFormProgress* form = Open(1);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(form->cbCwiczenie->count(), 3); // WY, UK, PP
    EXPECT_EQ(form->cbCwiczenie->currentText(), QStringLiteral("Wybieranie nazwy"));
    using V = std::vector<QString>;
    const auto& charts = form->pbWykres->Charts();
    ASSERT_EQ(charts.size(), 3u);
    EXPECT_EQ(Values(charts[0]), (V{"50,0", "100,0", "–"}));
    EXPECT_EQ(Values(charts[1]), (V{"20,0", "0,0", "–"}));
    EXPECT_EQ(Values(charts[2]), (V{"15,0", "9,0", "–"}));
    // One measure of another exercise, picked as the therapist would.
    form->cbWykres->setCurrentIndex(3);
    emit form->cbWykres->activated(3);
    form->cbCwiczenie->setCurrentIndex(1);
    emit form->cbCwiczenie->activated(1);
    ASSERT_EQ(form->pbWykres->Charts().size(), 1u);
    EXPECT_EQ(Values(form->pbWykres->Charts()[0]), (V{"16,0", "–"}));
    // First five and last five of WY: the same three therapies, the damaged
    // row left out.
    EXPECT_EQ(form->twPorownanie->item(0, 0)->text(), QStringLiteral("Wybieranie nazwy"));
    EXPECT_EQ(form->twPorownanie->item(0, 1)->text(), QString::fromUtf8("75,0 → 75,0 (+0,0)"));
    EXPECT_EQ(form->twPorownanie->item(2, 3)->text(), QString::fromUtf8("12,0 → 12,0 (+0,0)"));
    EXPECT_EQ(form->twPorownanie->item(2, 1)->text(), QString::fromUtf8("– → –"));
}

TEST_P(ProgressWindowTest, ReportAndExportsThroughTheButtons)
{
    MessageAnswerer answerer;
    TFormProgress* form = Open(1);
    ASSERT_NE(form, nullptr);
    QStringList asked;
    QString target;
    form->SetFileQuestion([&](const QString&, const QString& suggested, const QString&) {
        asked << suggested;
        return target;
    });
    target = dir.file("raport.pdf");
    QTest::mouseClick(form->btRaport, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo(target).size() > 1000);
    target = dir.file("pacjent.csv");
    QTest::mouseClick(form->btCsv, Qt::LeftButton);
    QFile csv(target);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 7);
    target = dir.file("wszyscy.csv");
    QTest::mouseClick(form->btCsvWszyscy, Qt::LeftButton);
    QFile all(target);
    ASSERT_TRUE(all.open(QIODevice::ReadOnly));
    EXPECT_EQ(all.readAll().count('\n'), 8);
    EXPECT_TRUE(answerer.shown.isEmpty());
    // Suggested: the documents folder, the name and today, made safe.
    ASSERT_EQ(asked.size(), 3);
    EXPECT_TRUE(QFileInfo(asked[0]).fileName().startsWith(
        QString::fromUtf8("Zażółć Gęślą-Jaźń Kowalska ") +
        QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_TRUE(asked[0].endsWith(QStringLiteral(".pdf")));

    // A folder that is not there: a message, no file.
    target = dir.file("nie-ma/raport.pdf");
    QTest::mouseClick(form->btRaport, Qt::LeftButton);
    target = dir.file("nie-ma/pacjent.csv");
    QTest::mouseClick(form->btCsv, Qt::LeftButton);
    ASSERT_EQ(answerer.shown.size(), 2);
    for (const auto& s : answerer.shown) {
        EXPECT_EQ(s.kind, TFormMessage::KindError);
        EXPECT_TRUE(Said(s).startsWith(QString::fromUtf8("Nie można zapisać pliku")))
            << Said(s).toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("nie-ma")));
}

TEST_P(ProgressWindowTest, NoTherapiesNoWindowAndNoFile)
{
    MessageAnswerer answerer;
    EXPECT_EQ(Open(3), nullptr);
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_TRUE(
        Said(answerer.shown[0])
            .startsWith(QString::fromUtf8("Ten pacjent nie ma jeszcze żadnej zapisanej terapii.")));
    // A period without therapies writes no report.
    TFormProgress* form = Open(1);
    ASSERT_NE(form, nullptr);
    form->deOd->setDate(QDate(2027, 1, 1));
    form->deDo->setDate(QDate(2027, 2, 1));
    bool asked = false;
    form->SetFileQuestion([&](const QString&, const QString&, const QString&) {
        asked = true;
        return dir.file("pusty.pdf");
    });
    EXPECT_FALSE(form->SaveReport());
    EXPECT_FALSE(asked);
    EXPECT_FALSE(QFileInfo::exists(dir.file("pusty.pdf")));
    ASSERT_EQ(answerer.shown.size(), 2);
    EXPECT_TRUE(
        Said(answerer.shown[1])
            .startsWith(QString::fromUtf8("W wybranym okresie pacjent nie ma żadnej terapii.")));
}

// The page's own layout stays: the button sits above the list's right end.
TEST_P(ProgressWindowTest, ButtonLeavesThePageLayout)
{
    EXPECT_EQ(page->lvStatystyka->geometry().top(), 68);
    EXPECT_LE(page->btPostepy->geometry().bottom(), 48);
    EXPECT_EQ(page->btPostepy->geometry().right(), page->lvStatystyka->geometry().right());
    EXPECT_FALSE(page->btPostepy->geometry().intersects(page->Title()->geometry()));
}

// In each design size the window fits the screen, has the skinned frame of
// the program's windows and draws its charts; in grey not one pixel has a
// colour. With LOQUENA_SCREENSHOTS set the window is saved there as
// progress-<width>-<colour|grey>.png.
TEST_P(ProgressWindowTest, EverySizeInColourAndGrey)
{
    const QString shots = qEnvironmentVariable("LOQUENA_SCREENSHOTS");
    CBitmapsContainer* const previousWindows = std::exchange(WindowsContainer, windows.get());
    for (const auto& [w, h] : {std::pair{1280, 960}, std::pair{1024, 768}, std::pair{800, 600}}) {
        for (int mode : {CM_COLOR, CM_MONO}) {
            SetDisplayModeFor(w, h);
            ColorMode = mode;
            SCOPED_TRACE(testing::Message() << w << " " << mode);
            TFormProgress* form = Open(1);
            ASSERT_NE(form, nullptr);
            EXPECT_LE(form->width(), w);
            EXPECT_LE(form->height(), h);
            QApplication::processEvents();
            const QImage image = form->grab().toImage();
            const QImage chart = form->pbWykres->grab().toImage();
            // The frame tiled for the window's size, drawn where no widget
            // covers it, and corners cut round.
            const QImage frame = DialogFrame::Build(DialogFrame::Source(windows.get()),
                                                    form->width(), form->height());
            ASSERT_FALSE(form->Frame().isNull());
            EXPECT_EQ(form->Frame(), frame);
            for (const QPoint& edge : {QPoint(form->width() / 2, 2), QPoint(3, form->height() / 2)})
                EXPECT_EQ(image.pixelColor(edge), frame.pixelColor(edge)) << edge.x() << edge.y();
            EXPECT_FALSE(form->mask().contains(QPoint(0, 0)));
            EXPECT_TRUE(form->mask().contains(QPoint(form->width() / 2, form->height() / 2)));
            int coloured = 0;
            int navy = 0;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2) {
                    const QColor c = image.pixelColor(x, y);
                    coloured += c.hsvSaturation() > 40 ? 1 : 0;
                }
            for (int y = 0; y < chart.height(); ++y)
                for (int x = 0; x < chart.width(); ++x)
                    navy += chart.pixelColor(x, y) == QColor(0, 0, 128) ? 1 : 0;
            if (mode == CM_MONO)
                EXPECT_EQ(coloured, 0);
            else
                EXPECT_GT(navy, 100); // the frames and the lines in the program's navy
            if (!shots.isEmpty())
                image.save(QStringLiteral("%1/progress-%2-%3.png")
                               .arg(shots)
                               .arg(w)
                               .arg(mode == CM_MONO ? "grey" : "colour"));
            form->close();
            QApplication::processEvents();
        }
    }
    ColorMode = CM_COLOR;
    WindowsContainer = previousWindows;
}

INSTANTIATE_ON_BOTH_STORES(ProgressWindowTest);
