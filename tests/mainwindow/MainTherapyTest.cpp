// The whole road of one therapy from the main window: a patient is added and
// named, WY ticked, the therapy runs in the real therapy window on a small
// content fixture, one task is answered, the stop button and "Tak" end it, and
// the therapy is stored and shown on the statistics page.
#include "MainFixture.h"
#include "common/MessageAnswerer.h"
#include "exercises/CExercise.h"
#include "graphics/CTransButton.h"
#include "mainwindow/CKompBookmarks.h"
#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/CTestProbe.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "platform/CDbQuery.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"
#include "therapy/TFormTherapy.h"
#include "therapy/TherapyFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class MainTherapyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1280, 1024);
        ColorMode = CM_COLOR;
        CExercise::PraisePauseMs = 0;
        ASSERT_TRUE(folder.ok());
        // The therapy window's material beside the main window's skins.
        using namespace therapy_fixture;
        ASSERT_TRUE(WriteSkins("Data/cextb.bc"));
        ASSERT_TRUE(WritePhotos("Data/zdjar5.bb", QSize(616, 462), WordNames().size()));
        ASSERT_TRUE(WritePhotos("Data/zdjar3.bb", QSize(490, 368), WordNames().size()));
        ASSERT_TRUE(WriteContent("Data/sdrow.qp"));
        m_previousSound = TFormMessage::SetSoundFunction([](int) {});

        form = std::make_unique<TFormMain>();
        form->SetWaitPause(0);
        therapy = std::make_unique<TFormTherapy>();
        form->SetTherapyRunner([this](CPatient& p, CStatistics& s) { therapy->Start(p, s); });
        result = std::make_unique<TFormStat>(WindowsContainer, ButtonsContainer);
        therapy->ResultWindow = result.get();
        form->SetStatForm(result.get());
        message = std::make_unique<TFormMessage>();
        form->SetMessageForm(message.get());
        form->show();
    }
    void TearDown() override
    {
        message.reset();
        result.reset();
        therapy.reset();
        form.reset();
        TFormMessage::SetSoundFunction(m_previousSound);
        CExercise::PraisePauseMs = 1400;
    }

    static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // One text read from the patient database, as the next start would read it.
    QString StoredText(const char* sql) const
    {
        CDbQuery q(form->Patient().Connection());
        q.SetSQL(QString::fromLatin1(sql), {});
        q.Open();
        return q.RecordCount() == 0 ? QString() : q.Fields(0).Value().toString();
    }

    // A patient named "Kowalski Jan" with WY ticked: three tasks of one category.
    void AddPatientWithWY();
    void StopWithTak();

    main_fixture::ProgramFolder folder;
    std::unique_ptr<TFormMain> form;
    std::unique_ptr<TFormTherapy> therapy;
    std::unique_ptr<TFormStat> result;
    std::unique_ptr<TFormMessage> message;

private:
    TFormMessage::SoundFunction m_previousSound;
};

void MainTherapyTest::AddPatientWithWY()
{
    form->actPacDodaj->trigger();
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : form->PatientsPage()->lvPacjeci->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editor = e;
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Kowalski Jan"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(form->Patient().Name(), QStringLiteral("Kowalski Jan"));

    // WY with three tasks from the fixture's one category.
    const CKompBookmarks::CBookmark& wy = form->Bookmarks().Bookmark(2);
    QTest::mouseClick(
        form->Bookmarks().PaintBox(), Qt::LeftButton, {},
        QPoint((wy.SquareX + wy.SquareRight) / 2, (wy.SquareY + wy.SquareBottom) / 2));
    ExeSet& block = form->Patient().Settings().Get_ExeSet(CTherapySettings::WY);
    block.LZ = 3;
    block.Flags = (block.Flags & ~0x1FF) | 1;
}

// Ends the therapy from its own handler: stop, and "Tak" once the result window shows.
void MainTherapyTest::StopWithTak()
{
    auto answer = std::make_shared<std::function<void()>>();
    *answer = [this, answer] {
        if (!result->isVisible()) {
            QTimer::singleShot(5, *answer);
            return;
        }
        Click(result->TakButton());
    };
    QTimer::singleShot(0, *answer);
    Click(therapy->StopButton());
    if (therapy->isVisible())
        therapy->done(0);
}

TEST_F(MainTherapyTest, ATherapyRunsStopsAndIsStoredWithTheDate)
{
    AddPatientWithWY();
    ASSERT_FALSE(HasFailure());

    bool ran = false;
    QString shownName;
    QString storedChosen;
    therapy->OnShown = [&] {
        ran = true;
        shownName = therapy->lbPacjent->text();
        // What the therapy runs with is stored before it: a crash in the
        // therapy cannot take the settings.
        storedChosen = StoredText("SELECT CwWybrane FROM Pacjenci");
        StopWithTak();
    };
    MessageAnswerer none;
    form->actStart->trigger();
    EXPECT_TRUE(none.shown.isEmpty());
    ASSERT_TRUE(ran);
    EXPECT_EQ(shownName, QStringLiteral("Kowalski Jan"));
    EXPECT_FALSE(storedChosen.isEmpty());
    EXPECT_EQ(storedChosen, StoredText("SELECT CwWybrane FROM Pacjenci"));
    EXPECT_FALSE(therapy->isVisible());

    EXPECT_EQ(form->PageControl()->currentIndex(), 1);
    QTreeWidget* stats = form->StatisticsPage()->lvStatystyka;
    ASSERT_EQ(stats->topLevelItemCount(), 1);
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    EXPECT_TRUE(stats->topLevelItem(0)->text(0).contains(today));
    EXPECT_EQ(stats->topLevelItem(0)->text(1), QStringLiteral("0")); // WY: nothing solved
    CDbQuery q(form->Patient().Connection());
    q.SetSQL("SELECT COUNT(*) FROM Statystyki WHERE idPac=?", {form->Patient().ActiveId()});
    q.Open();
    EXPECT_EQ(q.Fields(0).Value().toInt(), 1);
}

// Under the therapy window the main window shows nothing: it gives up its
// window (and the screen buffer of a whole screen) while the therapy runs and
// comes back as it was; the therapy window gives up its own afterwards.
TEST_F(MainTherapyTest, TheMainWindowGivesUpItsScreenUnderTheTherapy)
{
    AddPatientWithWY();
    ASSERT_FALSE(HasFailure());
    bool hidden = false;
    bool released = false;
    therapy->OnShown = [&] {
        hidden = QTest::qWaitFor([&] { return !form->isVisible(); }, 2000);
        released = !form->testAttribute(Qt::WA_WState_Created) && !form->backingStore();
        StopWithTak();
    };
    MessageAnswerer none;
    form->actStart->trigger();
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(released);
    EXPECT_TRUE(form->isVisible());
    // Nor does the therapy window keep its buffer once it is over.
    EXPECT_EQ(therapy->backingStore(), nullptr);
    EXPECT_EQ(form->PageControl()->currentIndex(), 1);
    EXPECT_EQ(form->StatisticsPage()->lvStatystyka->topLevelItemCount(), 1);
    EXPECT_EQ(form->Patient().Name(), QStringLiteral("Kowalski Jan"));
}

// The end-to-end script clicks the first widget of a name that the test probe
// lists: with the therapy window over the main window, the hint button named
// first must be the therapy window's, not the main window's help button of the
// same name that it covers. The probe also counts the hints taken.
TEST_F(MainTherapyTest, TheProbeNamesTheWindowOnTopFirstAndCountsHints)
{
    AddPatientWithWY();
    ASSERT_FALSE(HasFailure());
    QStringList hintLine;
    QString hintsBefore;
    QString hintsAfter;
    therapy->OnShown = [&] {
        auto firstLine = [](const QString& tag, const QString& name) {
            for (const QString& line : CTestProbe::Snapshot().split(QLatin1Char('\n'))) {
                const QStringList f = line.split(QLatin1Char('\t'));
                if (f.first() == tag && (name.isEmpty() || f.value(2) == name))
                    return f;
            }
            return QStringList();
        };
        hintLine = firstLine(QStringLiteral("W"), QStringLiteral("tbPomoc"));
        hintsBefore = firstLine(QStringLiteral("HINTS"), {}).value(1);
        Click(therapy->HintButton());
        hintsAfter = firstLine(QStringLiteral("HINTS"), {}).value(1);
        StopWithTak();
    };
    MessageAnswerer none;
    form->actStart->trigger();

    ASSERT_EQ(hintLine.size(), 9);
    const CTransButton* hint = therapy->HintButton();
    EXPECT_EQ(QPoint(hintLine[3].toInt(), hintLine[4].toInt()), hint->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(hintsBefore, QStringLiteral("0"));
    EXPECT_EQ(hintsAfter, QStringLiteral("1"));
}

} // namespace
