// The statistics page: marking rows and cells, the details and totals,
// deleting therapies, and the recording buttons over a real recorder (silent
// on the dummy driver; known samples on the disk driver, in a child process).
#include "StatisticsPageFixture.h"
#include "app/DisplayMode.h"
#include "common/ChildProcess.h"
#include "common/MessageAnswerer.h"
#include "common/PatientDbFixture.h"
#include "common/WaveFixture.h"
#include "content/COwnMaterial.h"
#include "graphics/CTransButton.h"
#include "mainwindow/CStatListView.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/TFormMaterial.h"
#include "patients/CPatient.h"
#include "statistics/CClinicRecordings.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatistics.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

namespace {

using TS = CTherapySettings;

constexpr std::uint64_t MiB = 1024 * 1024;

struct SFigures
{
    int exercise;
    int lz, rozw, blad, czas;
};

class StatisticsPageTest : public StatisticsPageFixture
{
protected:
    void PatientOpened() override
    {
        patient.Add();
        ASSERT_TRUE(QDir(dir.path()).mkdir("Nagrane"));
    }
    std::unique_ptr<CNagrywanie> MakeRecorder() override
    {
        statistics->SetRecordingFolder(dir.file("Nagrane"));
        auto recorder = std::make_unique<CNagrywanie>(
            nullptr, [this] { page->SoundEnded(); }, [this] { page->SoundEnded(); });
        recorder->SetSpaceCheck(dir.path(),
                                [this](const QString&, QString* drive, std::uint64_t* free) {
                                    *drive = "/dysk";
                                    *free = freeBytes;
                                    return true;
                                });
        return recorder;
    }

    // Stores a therapy of the active patient with these figures.
    int AddTherapy(std::initializer_list<SFigures> figures)
    {
        TS settings;
        int mask = 0;
        for (const SFigures& f : figures)
            mask |= 1 << f.exercise;
        settings.SetSelectedMask(mask);
        statistics->Reset(&settings);
        for (const SFigures& f : figures) {
            CStatEx* r = statistics->Get_P_StatEx(f.exercise);
            r->LZ = f.lz;
            r->Rozw = f.rozw;
            r->Blad = f.blad;
            r->Czas = f.czas;
        }
        statistics->SaveTherapy(patient.ActiveId(), nullptr);
        return statistics->IdStat();
    }

    CStatListView* List() { return page->lvStatystyka; }
    QString Cell(int row, int column) { return List()->topLevelItem(row)->text(column); }
    void ClickCell(int row, int column)
    {
        int x = 4;
        for (int c = 0; c < column; ++c)
            x += List()->columnWidth(c);
        const int y = List()->visualItemRect(List()->topLevelItem(row)).center().y();
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, QPoint(x, y));
    }
    static void ClickButton(CTransButton* button)
    {
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    QStringList Details()
    {
        QStringList d;
        for (QLabel* l : {page->lbStatNazwaCw, page->lbStatPoprawnosc, page->lbStatLZ,
                          page->lbStatRozw, page->lbStatBezblednie, page->lbStatZBledami,
                          page->lbStatPomoc, page->lbStatNieRozw, page->lbStatCzas})
            d << l->text();
        return d;
    }
    int StoredTherapies()
    {
        return Scalar(patient.Connection(), "SELECT COUNT(*) FROM Statystyki").toInt();
    }
    QString FileOf(int idStat, char kind)
    {
        return statistics->RecordingFileName(patient.ActiveId(), idStat, QLatin1Char(kind));
    }
    static void WriteFile(const QString& name, const QByteArray& data)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    // Clicks `button` once the recordings' folder is gone (taken away with
    // the files in it): one error message with `text`, and no sound runs.
    void ClickWithoutFolder(CTransButton* button, const QString& text)
    {
        ASSERT_TRUE(button->isVisible());
        ASSERT_TRUE(QDir(dir.file("Nagrane")).removeRecursively());
        MessageAnswerer answers;
        ClickButton(button);
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(answers.shown[0].kind, TFormMessage::KindError);
        QStringList rows = answers.shown[0].rows;
        rows.removeAll(QString());
        EXPECT_EQ(rows, QStringList{text});
        EXPECT_FALSE(page->SoundBusy());
        EXPECT_FALSE(nagrywanie->Opened());
    }

    std::uint64_t freeBytes = 1024 * MiB;
};

INSTANTIATE_ON_FILE_STORE(StatisticsPageTest);

TEST_P(StatisticsPageTest, ListColumnsAndButtonsAtStart)
{
    EXPECT_EQ(page->objectName(), "tshStatystyka");
    EXPECT_EQ(page->Title()->text(), "Statystyka");
    EXPECT_EQ(List()->columnCount(), 14);
    EXPECT_EQ(List()->headerItem()->text(12), "W.");
    EXPECT_EQ(List()->columnWidth(0), 82);
    EXPECT_EQ(List()->columnWidth(7), 41);
    EXPECT_EQ(List()->columnWidth(8), 30);
    for (CStatisticsPage::SGroup* g : {&page->Wyp, &page->Kom}) {
        EXPECT_TRUE(g->tbNagraj->isVisible());
        EXPECT_EQ(g->tbNagraj->State(), CTransButton::EState::Disabled);
        EXPECT_FALSE(g->tbOdtworz->isVisible());
        EXPECT_FALSE(g->tbStop->isVisible());
        EXPECT_FALSE(g->tbUsun->isVisible());
        // Record and stop in the middle of the markers, play on its marker.
        EXPECT_EQ(g->tbOdtworz->pos(), QPoint(29, 29));
        EXPECT_EQ(g->tbNagraj->pos(), QPoint(14 + 46, 29));
        EXPECT_EQ(g->tbStop->pos(), g->tbNagraj->pos());
        EXPECT_EQ(g->tbNagraj->size(), QSize(44, 44));
    }
    EXPECT_EQ(page->Wyp.tbUsun->pos(), QPoint(93, 29));

    SetDisplayModeFor(1280, 960);
    page->AdjustForDisplayMode();
    EXPECT_EQ(List()->headerItem()->text(13), "Kom.");
    EXPECT_EQ(List()->columnWidth(0), 90);
    EXPECT_EQ(List()->columnWidth(11), 41);
    EXPECT_EQ(List()->columnWidth(12), 50);

    // 800x600: the page is smaller; the groups keep to its bottom and right,
    // and the detail group ends just before the utterance group.
    SetDisplayModeFor(800, 600);
    page->resize(448, 424);
    page->AdjustForDisplayMode();
    EXPECT_EQ(page->Wyp.gb->pos(), QPoint(404 - 126, 312 - 120));
    EXPECT_EQ(page->Kom.gb->pos(), QPoint(404 - 126, 416 - 120));
    EXPECT_EQ(page->gbStat_DaneSzczegol->geometry(), QRect(0, 312 - 120, 404 - 126 - 1, 225));
    EXPECT_EQ(List()->geometry(), QRect(0, 68, 573 - 126, 237 - 120));
}

// The buttons are composed over the window colour: in grey its grey. The
// fixture's masks leave a transparent border, where only that colour shows.
TEST_P(StatisticsPageTest, ButtonsFollowTheColourMode)
{
    auto under = [](CTransButton* b) { return b->grab().toImage().pixelColor(0, 0); };
    const QColor colour(128, 192, 240);
    const QColor grey(177, 177, 177);
    for (const QColor& expected : {grey, colour, grey}) {
        ColorMode = expected == grey ? CM_MONO : CM_COLOR;
        page->ReloadSkins();
        for (CStatisticsPage::SGroup* g : {&page->Wyp, &page->Kom}) {
            ASSERT_EQ(g->tbNagraj->State(), CTransButton::EState::Disabled);
            EXPECT_EQ(under(g->tbNagraj), expected);
            // The buttons shown later take the same colour.
            g->tbOdtworz->show();
            g->tbOdtworz->SetEnabled(true, false);
            EXPECT_EQ(under(g->tbOdtworz), expected);
            g->tbOdtworz->hide();
        }
    }
    ColorMode = CM_COLOR;
}

TEST_P(StatisticsPageTest, DetailsOfCellsAndTotals)
{
    AddTherapy({{TS::WY, 10, 9, 2, 6595}, {TS::UK, 10, 10, 0, 0}, {TS::PP, 8, 0, 0, 0}});
    AddTherapy({{TS::WY, 10, 3, 5, 0}});
    page->ShowTherapies();
    ASSERT_EQ(List()->topLevelItemCount(), 2);
    const QString date = Cell(0, 0);

    ClickCell(0, 0);
    EXPECT_EQ(Cell(0, 0), "[" + date + "]");
    const QStringList totals{"<Wszystkie>", "85%", "20", "19", "17", "2", "0%", "1", "10min 59s"};
    EXPECT_EQ(Details(), totals);
    ClickCell(0, 0); // the same cell again changes nothing
    EXPECT_EQ(Cell(0, 0), "[" + date + "]");
    EXPECT_EQ(Details(), totals);

    ClickCell(0, 1);
    EXPECT_EQ(Cell(0, 1), "[70]");
    EXPECT_EQ(Details(), (QStringList{"Wybieranie nazwy", "70%", "10", "9", "7", "2", "0%", "1",
                                      "10min 59s"}));
    // A repetition exercise: only its title and task count.
    ClickCell(0, 9);
    EXPECT_EQ(Cell(0, 1), "70");
    EXPECT_EQ(Cell(0, 9), "[x]");
    EXPECT_EQ(Details(), (QStringList{"Powtarzanie przysłów", "", "8", "", "", "", "", "", ""}));
    // An exercise not in the therapy: the totals.
    ClickCell(0, 5);
    EXPECT_EQ(Cell(0, 9), "x");
    EXPECT_EQ(Cell(0, 5), "");
    EXPECT_EQ(Details(), totals);
    EXPECT_EQ(page->MarkedColumn(), 5);

    // Another row: the first is unmarked; R 3 and B 5 give no flawless task.
    ClickCell(1, 1);
    EXPECT_EQ(Cell(0, 0), date);
    EXPECT_EQ(Cell(1, 1), "[0]");
    EXPECT_EQ(page->MarkedRow(), 1);
    EXPECT_EQ(page->lbStatBezblednie->text(), "0");
    EXPECT_EQ(page->lbStatPoprawnosc->text(), "0%");

    // Empty space: nothing marked, nothing shown.
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      QPoint(10, List()->viewport()->height() - 5));
    EXPECT_EQ(page->MarkedRow(), -1);
    EXPECT_EQ(Cell(1, 0), Cell(0, 0));
    EXPECT_EQ(Cell(1, 1), "0");
    EXPECT_EQ(Details(), QStringList(9, QString()));
    EXPECT_EQ(page->Wyp.tbNagraj->State(), CTransButton::EState::Disabled);

    EXPECT_EQ(CStatisticsPage::TimeText(6595 / 10), "10min 59s");
    EXPECT_EQ(CStatisticsPage::TimeText(0), "0min 0s");
}

// After a therapy its row is appended, marked and totalled, as for a click on
// its date; the row marked before is unmarked.
TEST_P(StatisticsPageTest, TherapyJustStoredIsMarked)
{
    AddTherapy({{TS::WY, 10, 5, 0, 0}});
    page->ShowTherapies();
    ClickCell(0, 1);
    TS settings;
    settings.SetSelectedMask(1 << TS::UK);
    statistics->Reset(&settings);
    statistics->Get_P_StatEx(TS::UK)->Rozw = 10;
    statistics->SaveTherapy(patient.ActiveId(), List());
    ASSERT_EQ(List()->topLevelItemCount(), 2);
    page->MarkLastRow();
    EXPECT_EQ(page->MarkedRow(), 1);
    EXPECT_EQ(page->MarkedColumn(), 0);
    EXPECT_FALSE(Cell(0, 0).startsWith('['));
    EXPECT_EQ(Cell(0, 1), "50");
    EXPECT_TRUE(Cell(1, 0).startsWith('['));
    EXPECT_EQ(page->lbStatNazwaCw->text(), "<Wszystkie>");
    EXPECT_EQ(page->lbStatPoprawnosc->text(), "100%");
    EXPECT_TRUE(page->Wyp.tbNagraj->isVisible());
    EXPECT_NE(page->Wyp.tbNagraj->State(), CTransButton::EState::Disabled);

    // Another patient: nothing listed, nothing marked.
    patient.Add();
    page->ShowTherapies();
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(page->MarkedRow(), -1);
    EXPECT_EQ(page->Wyp.tbNagraj->State(), CTransButton::EState::Disabled);
}

TEST_P(StatisticsPageTest, DeleteAsksOnlyWithRecordings)
{
    AddTherapy({{TS::WY, 10, 10, 0, 0}});
    const int second = AddTherapy({{TS::UK, 10, 10, 0, 0}});
    WriteFile(FileOf(second, 'K'), CNagrywanie::EmptyWave());
    page->ShowTherapies();

    {
        MessageAnswerer answers;
        ClickCell(0, 0);
        QTest::keyClick(List(), Qt::Key_Delete);
        EXPECT_TRUE(answers.shown.isEmpty());
    }
    ASSERT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_EQ(StoredTherapies(), 1);
    EXPECT_EQ(page->MarkedRow(), -1);

    // The comment's file found on marking: "@" and the flag stored.
    ClickCell(0, 0);
    EXPECT_EQ(Cell(0, 13), "@");
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT Komentarz FROM Statystyki").toInt(), 1);
    EXPECT_TRUE(page->Kom.tbOdtworz->isVisible());
    EXPECT_TRUE(page->Kom.tbUsun->isVisible());
    EXPECT_FALSE(page->Kom.tbNagraj->isVisible());
    EXPECT_TRUE(page->Wyp.tbNagraj->isVisible());
    EXPECT_NE(page->Wyp.tbNagraj->State(), CTransButton::EState::Disabled);

    {
        MessageAnswerer answers({MessageAnswerer::Nie});
        QTest::keyClick(List(), Qt::Key_Delete);
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(answers.shown[0].rows,
                  (QStringList{"Ta pozycja zawiera nagraną wypowiedź / komentarz.", "",
                               "Czy na pewno chcesz ją usunąć?", ""}));
    }
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_TRUE(QFile::exists(FileOf(second, 'K')));
    {
        MessageAnswerer answers({MessageAnswerer::Tak});
        QTest::keyClick(List(), Qt::Key_Delete);
    }
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(StoredTherapies(), 0);
    EXPECT_FALSE(QFile::exists(FileOf(second, 'K')));
    EXPECT_EQ(Details(), QStringList(9, QString()));
}

// Therapies keep their figures, not the words they drew: an own word the
// patient practised, deleted in the material window afterwards, leaves the
// page listing the therapies and showing their figures.
TEST_P(StatisticsPageTest, DeletingAnOwnWordOfPastTherapiesLeavesThemShown)
{
    COwnMaterial own(dir.path());
    ASSERT_TRUE(own.Open());
    COwnWord reksio;
    reksio.Nazwa = "REKSIO";
    reksio.Pacjent = patient.ActiveId();
    COwnMaterial::SMedia media;
    media.Voice = MakeWave(22050, 1, 16, 8000);
    ASSERT_TRUE(own.Save(reksio, media));
    AddTherapy({{TS::WY, 4, 4, 1, 600}, {TS::PNO, 4, 0, 0, 0}});
    AddTherapy({{TS::UK, 2, 1, 1, 300}});
    {
        TFormMaterial material(own, nullptr, {{patient.ActiveId(), "Nowak Anna"}}, message.get());
        material.show();
        material.lvSlowa->setCurrentRow(0);
        MessageAnswerer answers({MessageAnswerer::Tak});
        QTest::mouseClick(material.btUsun, Qt::LeftButton);
        ASSERT_EQ(answers.shown.size(), 1);
    }
    ASSERT_TRUE(own.Words().empty());
    COwnMaterial reopened(dir.path());
    ASSERT_TRUE(reopened.Open());
    ASSERT_TRUE(reopened.Words().empty());

    page->ShowTherapies();
    ASSERT_EQ(List()->topLevelItemCount(), 2);
    ClickCell(0, 1);
    EXPECT_EQ(Details(),
              (QStringList{"Wybieranie nazwy", "75%", "4", "4", "3", "1", "0%", "0", "1min 0s"}));
    ClickCell(1, 0);
    EXPECT_EQ(page->MarkedRow(), 1);
    EXPECT_EQ(page->lbStatLZ->text(), "2");
    EXPECT_EQ(StoredTherapies(), 2);
}

// On the dummy driver: the free-space rule, playback, a recording that keeps
// its row marked, stopping from outside, and deleting a recording.
TEST_P(StatisticsPageTest, RecordingButtons)
{
    const int first = AddTherapy({{TS::WY, 10, 10, 0, 0}});
    const int second = AddTherapy({{TS::UK, 10, 10, 0, 0}});
    const QByteArray wave = MakeWave(22050, 1, 8, 22050 / 5);
    WriteFile(FileOf(second, 'K'), wave);
    page->ShowTherapies();

    // 39 MiB: no recording, the message says why; playback still works.
    freeBytes = 39 * MiB;
    ClickCell(1, 0);
    {
        MessageAnswerer answers;
        ClickButton(page->Wyp.tbNagraj);
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(answers.shown[0].rows,
                  (QStringList{"Niewystarczająca ilość miejsca na dysku /dysk!", "Zwolnij miejsce!",
                               "Możesz to zrobić, np. usuwając",
                               "część nagrań zapisanych w statystyce."}));
    }
    EXPECT_FALSE(page->SoundBusy());
    EXPECT_FALSE(QFile::exists(FileOf(second, 'W')));
    ClickButton(page->Kom.tbOdtworz);
    EXPECT_TRUE(page->SoundBusy());
    EXPECT_TRUE(page->SoundIsPlayback());
    EXPECT_EQ(page->SoundTarget(), CStatisticsPage::TargetComment);
    EXPECT_TRUE(page->Kom.tbStop->isVisible());
    EXPECT_FALSE(page->Kom.tbOdtworz->isVisible());
    EXPECT_FALSE(page->Kom.tbUsun->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->SoundBusy(); }, 5000)); // its end
    EXPECT_TRUE(page->Kom.tbOdtworz->isVisible());
    EXPECT_FALSE(page->Kom.tbStop->isVisible());

    // Recording: a click on another row keeps the marked one.
    freeBytes = 40 * MiB;
    ClickCell(0, 0);
    QTest::keyClick(List(), Qt::Key_Down); // the highlight moves, the mark stays
    EXPECT_EQ(List()->CurrentRow(), 1);
    ClickButton(page->Wyp.tbNagraj);
    EXPECT_TRUE(page->SoundBusy());
    EXPECT_FALSE(page->SoundIsPlayback());
    EXPECT_TRUE(page->Wyp.tbStop->isVisible());
    EXPECT_FALSE(page->Wyp.tbNagraj->isVisible());
    ClickCell(1, 0);
    EXPECT_EQ(page->MarkedRow(), 0);
    EXPECT_EQ(List()->CurrentRow(), 0);
    EXPECT_TRUE(Cell(0, 0).startsWith('['));
    EXPECT_FALSE(Cell(1, 0).startsWith('['));
    {
        MessageAnswerer answers; // the other record button does nothing while busy
        ClickButton(page->Kom.tbNagraj);
        EXPECT_TRUE(answers.shown.isEmpty());
        EXPECT_EQ(page->SoundTarget(), CStatisticsPage::TargetUtterance);
        EXPECT_TRUE(nagrywanie->Recording());
    }
    QTest::qWait(200);
    page->StopSound(); // as every main action does
    EXPECT_FALSE(page->SoundBusy());
    EXPECT_FALSE(nagrywanie->Opened());
    EXPECT_TRUE(QFile::exists(FileOf(first, 'W')));
    EXPECT_GT(QFile(FileOf(first, 'W')).size(), 44);
    EXPECT_EQ(Cell(0, 12), "@");
    EXPECT_EQ(Cell(1, 12), "");
    EXPECT_EQ(Cell(1, 13), "@");
    EXPECT_EQ(statistics->Wypowiedz(), 1);
    EXPECT_TRUE(page->Wyp.tbOdtworz->isVisible());
    EXPECT_TRUE(page->Wyp.tbUsun->isVisible());

    // Deleting it asks first.
    {
        MessageAnswerer answers({MessageAnswerer::Nie});
        ClickButton(page->Wyp.tbUsun);
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(answers.shown[0].rows[1], "Czy na pewno chcesz usunąć wypowiedź?");
    }
    EXPECT_TRUE(QFile::exists(FileOf(first, 'W')));
    {
        MessageAnswerer answers({MessageAnswerer::Tak});
        ClickButton(page->Wyp.tbUsun);
    }
    EXPECT_FALSE(QFile::exists(FileOf(first, 'W')));
    EXPECT_EQ(Cell(0, 12), "");
    EXPECT_EQ(
        Scalar(patient.Connection(), "SELECT Wypowiedz FROM Statystyki WHERE idStat=?", {first})
            .toInt(),
        0);
    EXPECT_TRUE(page->Wyp.tbNagraj->isVisible());
}

// The recordings' folder is gone once the row is marked: no file of the
// therapy can be opened any more.
TEST_P(StatisticsPageTest, APlaybackThatCannotBeOpenedIsReportedAndStartsNothing)
{
    const int id = AddTherapy({{TS::WY, 10, 10, 0, 0}});
    WriteFile(FileOf(id, 'K'), MakeWave(22050, 1, 8, 22050 / 5));
    page->ShowTherapies();
    ClickCell(0, 0);
    ClickWithoutFolder(page->Kom.tbOdtworz, "Wystąpił błąd podczas próby odtworzenia nagrania.");
    EXPECT_FALSE(nagrywanie->Playing());
    // Nothing started, so nothing changed: no stop button, the row marked.
    EXPECT_FALSE(page->Kom.tbStop->isVisible());
    EXPECT_TRUE(page->Kom.tbOdtworz->isVisible());
    EXPECT_EQ(page->MarkedRow(), 0);
    EXPECT_FALSE(QFile::exists(FileOf(id, 'K')));
    // The other group still works as before.
    EXPECT_TRUE(page->Wyp.tbNagraj->isVisible());
    EXPECT_NE(page->Wyp.tbNagraj->State(), CTransButton::EState::Disabled);
}

TEST_P(StatisticsPageTest, ARecordingThatCannotBeOpenedIsReportedAndLeavesNoRecording)
{
    const int id = AddTherapy({{TS::WY, 10, 10, 0, 0}});
    page->ShowTherapies();
    ClickCell(0, 0);
    ClickWithoutFolder(page->Wyp.tbNagraj, "Wystąpił błąd podczas próby nagrania.");
    EXPECT_FALSE(nagrywanie->Recording());
    // The utterance of the row is removed: no file, no mark, no stored flag,
    // and the record button is offered again.
    EXPECT_FALSE(QFile::exists(FileOf(id, 'W')));
    EXPECT_EQ(Cell(0, 12), "");
    EXPECT_EQ(statistics->Wypowiedz(), 0);
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT Wypowiedz FROM Statystyki WHERE idStat=?", {id})
                  .toInt(),
              0);
    EXPECT_TRUE(page->Wyp.tbNagraj->isVisible());
    EXPECT_NE(page->Wyp.tbNagraj->State(), CTransButton::EState::Disabled);
    EXPECT_FALSE(page->Wyp.tbStop->isVisible());
    EXPECT_FALSE(page->Wyp.tbOdtworz->isVisible());
    EXPECT_EQ(page->MarkedRow(), 0);

    // With the folder back the same button records.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Nagrane"));
    ClickButton(page->Wyp.tbNagraj);
    EXPECT_TRUE(page->SoundBusy());
    page->StopSound();
    EXPECT_TRUE(QFile::exists(FileOf(id, 'W')));
}

// The child part: SDL's disk driver captures known samples from a file.
TEST_P(StatisticsPageTest, ChildRecordStopPlayDelete)
{
    SKIP_UNLESS_CHILD();
    const int id = AddTherapy({{TS::PNO, 10, 0, 0, 0}});
    page->ShowTherapies();
    ClickCell(0, 0);
    ClickButton(page->Kom.tbNagraj);
    ASSERT_TRUE(page->SoundBusy());
    QTest::qWait(400);
    ClickButton(page->Kom.tbStop);
    EXPECT_FALSE(page->SoundBusy());
    QFile file(FileOf(id, 'K'));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    ASSERT_GT(saved.size(), 44 + 22050 / 10);
    QFile in(qEnvironmentVariable("SDL_DISKAUDIOFILEIN"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray samples = saved.mid(44, qFromLittleEndian<quint32>(saved.constData() + 40));
    EXPECT_EQ(samples, in.readAll().left(samples.size()));
    EXPECT_EQ(Cell(0, 13), "@");

    ClickButton(page->Kom.tbOdtworz);
    EXPECT_TRUE(page->SoundIsPlayback());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->SoundBusy(); }, 5000));
    {
        MessageAnswerer answers({MessageAnswerer::Tak});
        ClickButton(page->Kom.tbUsun);
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(answers.shown[0].rows[1], "Czy na pewno chcesz usunąć komentarz?");
    }
    EXPECT_FALSE(QFile::exists(FileOf(id, 'K')));
    EXPECT_EQ(Cell(0, 13), "");
    EXPECT_TRUE(page->Kom.tbNagraj->isVisible());
}

// On a clinic database the page plays what another workstation recorded and
// stores what it records where the others find it.
class StatisticsPageClinicTest : public StatisticsPageTest
{
};

INSTANTIATE_ON_CLINIC_STORE(StatisticsPageClinicTest);

TEST_P(StatisticsPageClinicTest, RecordingsComeFromAndGoToTheDatabase)
{
    const int first = AddTherapy({{TS::WY, 10, 10, 0, 0}});
    const int second = AddTherapy({{TS::UK, 10, 10, 0, 0}});
    CDbConnection room3;
    room3.SetWorkstation("sala3");
    room3.Connect(path);
    const QByteArray wave = MakeWave(22050, 1, 8, 22050 / 5);
    CClinicRecordings::Put(room3, second, 'K', wave);
    room3.Execute("UPDATE Statystyki SET Komentarz=1 WHERE idStat=?", {second});
    page->ShowTherapies();
    EXPECT_EQ(Cell(1, 13), "@");

    // Played from the database: this workstation had no file of it.
    ClickCell(1, 0);
    EXPECT_FALSE(QFile::exists(FileOf(second, 'K')));
    ClickButton(page->Kom.tbOdtworz);
    EXPECT_TRUE(page->SoundIsPlayback());
    EXPECT_EQ(QFile(FileOf(second, 'K')).size(), wave.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->SoundBusy(); }, 5000));

    // Recorded here, stored when it stops, found by the other workstation.
    ClickCell(0, 0);
    ClickButton(page->Wyp.tbNagraj);
    ASSERT_TRUE(page->SoundBusy());
    QTest::qWait(200);
    ClickButton(page->Wyp.tbStop);
    EXPECT_FALSE(page->SoundBusy());
    const QByteArray stored = CClinicRecordings::Get(room3, first, 'W');
    EXPECT_GT(stored.size(), 44);
    QFile recorded(FileOf(first, 'W'));
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored, recorded.readAll());
    EXPECT_EQ(Cell(0, 12), "@");

    // Deleted here: gone for everybody.
    {
        MessageAnswerer answers({MessageAnswerer::Tak});
        ClickButton(page->Wyp.tbUsun);
    }
    EXPECT_TRUE(CClinicRecordings::Get(room3, first, 'W').isNull());
    EXPECT_EQ(Cell(0, 12), "");
}

TEST(StatisticsPage, RecordStopPlayDeleteThroughTheDiskDriver)
{
    TempDir dir;
    QByteArray raw(4 * 22050, '\0');
    for (qsizetype i = 0; i < raw.size(); ++i)
        raw[i] = char((i * 7 + i / 251) & 0xFF);
    QFile in(dir.file("in.raw"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(raw);
    in.close();
    QProcessEnvironment env;
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILEIN", dir.file("in.raw"));
    env.insert("SDL_DISKAUDIOFILE", dir.file("out.raw"));
    QString output;
    EXPECT_TRUE(
        RunChildTest("Store/StatisticsPageTest.ChildRecordStopPlayDelete/File", env, &output))
        << output.toStdString();
    EXPECT_GT(QFileInfo(dir.file("out.raw")).size(), 0); // the playback reached the device
}

} // namespace
