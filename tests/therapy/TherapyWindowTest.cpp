// The therapy window running WY: answers, hints, navigation across tasks and
// exercises, the exercise menu, stop with the result window, the records.
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "exercises/CExerciseWY.h"
#include "graphics/CGraphTimer.h"
#include "graphics/CTransButton.h"
#include "statistics/CStatEx.h"
#include "therapy/CGraphicsMenu.h"
#include "therapy/CKompGrComboBox.h"
#include "therapy/TherapyTestBase.h"

#include <QLabel>

namespace {

class TherapyWindowTest : public TherapyTestBase
{
protected:
    CExerciseWY& Wy() { return *static_cast<CExerciseWY*>(therapy->Exercise(CExercise::WY)); }
    CExercise& Wyl() { return *therapy->Exercise(CExercise::WYL); }
    CExerciseWY::SWYTask& Task() { return Wy().Tasks[Wy().TaskIndex]; }
    CKompLabel& Choice(int i) { return *Wy().ChoiceLabels[static_cast<size_t>(i)]; }
    int AWrongChoice()
    {
        for (int i = 0; i < Wy().ChoiceCount; ++i)
            if (i != Task().Correct && !Task().Wrong[static_cast<size_t>(i)])
                return i;
        return -1;
    }
    const CStatEx& WyRecord() const { return statistics->StatEx(CExercise::WY); }
    void ExpectButtons(bool back, bool forward)
    {
        EXPECT_EQ(IsEnabled(therapy->BackButton()), back);
        EXPECT_EQ(IsEnabled(therapy->ForwardButton()), forward);
    }
    // WYL with its seven day cards in order, paged every `seconds`.
    void WylDaysPagedEvery(int seconds)
    {
        ExeSet& wyl = patient.Settings().Get_ExeSet(CTherapySettings::WYL);
        wyl.Flags = CTherapySettings::WylDaysBit;
        wyl.AutoTime = seconds;
    }
    // Picks a row of the exercise menu with the mouse.
    void ChooseInMenu(int row)
    {
        CKompGrComboBox* box = therapy->GraphicsMenu();
        Click(box);
        CGraphicsMenu& menu = box->Menu();
        ASSERT_TRUE(menu.isVisible());
        const QPoint at(40,
                        menu.ItemsArea().top() + menu.ItemHeight() * row + menu.ItemHeight() / 2);
        QTest::mouseMove(&menu, at);
        QTest::mouseRelease(&menu, Qt::LeftButton, {}, at);
        EXPECT_FALSE(menu.isVisible());
    }
    // The colour of the middle of the graph timer's picture in the exercise
    // bitmap, where a running timer draws it.
    QColor TimerSpot() const
    {
        const QImage& bitmap = therapy->ExerciseBitmap();
        return QColor(bitmap.pixel(bitmap.width() - 50 + 22, bitmap.height() - 50 + 22));
    }
};

TEST_F(TherapyWindowTest, ThreeTasksOfWyDrivenByTheMouseAndKeys)
{
    Choose({CExercise::WY, CExercise::WYL}, 3, 3);
    Run([this] {
        ASSERT_EQ(therapy->CurrentIndex(), CExercise::WY);
        EXPECT_EQ(therapy->lbPacjent->text(), "Jan Testowy");
        ExpectButtons(false, true);
        EXPECT_TRUE(therapy->HintButton()->isVisible());
        EXPECT_TRUE(IsEnabled(therapy->HintButton()));
        EXPECT_TRUE(WyRecord().Running);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(Choice(i).isVisible());

        // A wrong name: greyed, the error sound, one error however often clicked.
        const int wrong = AWrongChoice();
        ASSERT_GE(wrong, 0);
        Click(&Choice(wrong));
        EXPECT_TRUE(Task().Wrong[static_cast<size_t>(wrong)]);
        EXPECT_TRUE(Task().HadError);
        EXPECT_EQ(Choice(wrong).State, 1);
        EXPECT_FALSE(Choice(wrong).Reactive);
        EXPECT_TRUE(LastWvPath().startsWith("Data/sp/b"));
        PlayWv("Data/none", true);
        Click(&Choice(wrong));
        EXPECT_EQ(LastWvPath(), "Data/none");

        // The hint rules out the last wrong name and is then disabled.
        Click(therapy->HintButton());
        EXPECT_EQ(AWrongChoice(), -1);
        EXPECT_EQ(WyRecord().Pomoc, 1);
        EXPECT_FALSE(IsEnabled(therapy->HintButton()));

        // The right name: solved, timing stopped, counted with its error.
        Click(&Choice(Task().Correct));
        EXPECT_TRUE(Task().Solved);
        EXPECT_FALSE(WyRecord().Running);
        EXPECT_EQ(WyRecord().Rozw, 1);
        EXPECT_EQ(WyRecord().Blad, 1);
        EXPECT_TRUE(Wy().NameLabel->isVisible());
        EXPECT_EQ(Wy().NameLabel->Text, Task().Word->Nazwa);
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(Choice(i).isVisible());
        EXPECT_TRUE(LastWvPath().startsWith("Data/sp/g"));

        // Forward by the button, then by the right arrow, into WYL.
        Click(therapy->ForwardButton());
        EXPECT_EQ(Wy().TaskIndex, 1);
        ExpectButtons(true, true);
        EXPECT_TRUE(WyRecord().Running);
        EXPECT_TRUE(IsEnabled(therapy->HintButton()));
        QTest::keyClick(therapy.get(), Qt::Key_Right);
        EXPECT_EQ(Wy().TaskIndex, 2);
        ExpectButtons(true, true);
        QTest::keyClick(therapy.get(), Qt::Key_Right);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        EXPECT_EQ(therapy->GraphicsMenu()->GetSelected(), 1);
        // The sequences exercise has a card per day at least: walk to its end.
        const int wylTasks = Wyl().TaskCount;
        ASSERT_GE(wylTasks, 1);
        ExpectButtons(true, wylTasks > 1);
        EXPECT_FALSE(therapy->HintButton()->isVisible());
        EXPECT_FALSE(WyRecord().Running);
        for (int i = 1; i < wylTasks; ++i)
            QTest::keyClick(therapy.get(), Qt::Key_Right);
        EXPECT_EQ(Wyl().TaskIndex, wylTasks - 1);
        ExpectButtons(true, false);
        QTest::keyClick(therapy.get(), Qt::Key_Right); // nothing beyond the end
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WYL);

        // Back into WY's last task, then to its first, still solved.
        for (int i = 1; i < wylTasks; ++i)
            QTest::keyClick(therapy.get(), Qt::Key_Left);
        QTest::keyClick(therapy.get(), Qt::Key_Left);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WY);
        EXPECT_EQ(Wy().TaskIndex, 2);
        EXPECT_EQ(therapy->GraphicsMenu()->GetSelected(), 0);
        ExpectButtons(true, true);
        Click(therapy->BackButton());
        Click(therapy->BackButton());
        EXPECT_EQ(Wy().TaskIndex, 0);
        ExpectButtons(false, true);
        EXPECT_TRUE(Wy().NameLabel->isVisible());
        EXPECT_FALSE(WyRecord().Running);
        EXPECT_FALSE(IsEnabled(therapy->HintButton()));
        QTest::keyClick(therapy.get(), Qt::Key_Left); // nothing before the start
        EXPECT_EQ(Wy().TaskIndex, 0);

        // The exercise menu chooses WYL.
        CKompGrComboBox* box = therapy->GraphicsMenu();
        Click(box);
        CGraphicsMenu& menu = box->Menu();
        ASSERT_TRUE(menu.isVisible());
        EXPECT_EQ(menu.Shown().Count(), 2);
        const QPoint row1(40, menu.ItemsArea().top() + menu.ItemHeight() * 3 / 2);
        QTest::mouseMove(&menu, row1);
        QTest::mouseRelease(&menu, Qt::LeftButton, {}, row1);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        ExpectButtons(true, Wyl().TaskIndex < wylTasks - 1);
        EXPECT_FALSE(statistics->StatEx(CExercise::WYL).Running); // repetition: never timed

        // Stop, "Nie": the figures so far, and the therapy goes on.
        AnswerResult(false);
        Click(therapy->StopButton());
        EXPECT_TRUE(therapy->isVisible());
        EXPECT_EQ(result->lbLZ->text(), "3");
        EXPECT_EQ(result->lbRozw->text(), "1");
        EXPECT_EQ(result->lbBlad->text(), "1");
        EXPECT_EQ(result->lbBezblednie->text(), "0");
        EXPECT_EQ(result->lbNieRozw->text(), "2");
        EXPECT_FALSE(statistics->StatEx(CExercise::WYL).Running); // repetition: never timed

        // Stop, "Tak": the window closes.
        AnswerResult(true);
        Click(therapy->StopButton());
        EXPECT_FALSE(therapy->isVisible());
    });
    EXPECT_EQ(therapy->CurrentExercise(), nullptr);
    EXPECT_EQ(Wy().Tasks.Count(), 0);
    EXPECT_EQ(WyRecord().LZ, 3);
    EXPECT_EQ(WyRecord().Rozw, 1);
    EXPECT_EQ(WyRecord().Blad, 1);
    EXPECT_EQ(WyRecord().Pomoc, 1);
    EXPECT_EQ(WyRecord().PomocMax, 6);
    EXPECT_FALSE(WyRecord().Running);
    EXPECT_FALSE(statistics->StatEx(CExercise::WYL).Running);
}

TEST_F(TherapyWindowTest, HintsPerTaskFollowTheNumberOfNames)
{
    for (int choices : {2, 4}) {
        Choose({CExercise::WY}, 1, choices);
        Run([this, choices] {
            int hints = 0;
            while (IsEnabled(therapy->HintButton()) && hints < 10) {
                Click(therapy->HintButton());
                ++hints;
            }
            EXPECT_EQ(hints, choices - 1);
            // Only the right name is left; solving it counts no error.
            Click(&Choice(Task().Correct));
            EXPECT_EQ(WyRecord().Blad, 0);
            EXPECT_EQ(WyRecord().Rozw, 1);
            EXPECT_EQ(WyRecord().Pomoc, choices - 1);
        });
    }
}

TEST_F(TherapyWindowTest, FirstTaskIsInTheBitmapOnceShown)
{
    Choose({CExercise::WY}, 1, 2);
    Run([this] {
        const QImage& bitmap = therapy->ExerciseBitmap();
        const QColor background(161, 212, 149);
        // The choice label and the photo frame are drawn, not only the background.
        const QPoint label = Choice(0).geometry().center() - therapy->pbExercise->pos();
        EXPECT_NE(QColor(bitmap.pixel(label)), background);
        EXPECT_NE(QColor(bitmap.pixel(640, 100)), background);
        EXPECT_EQ(QColor(bitmap.pixel(5, bitmap.height() - 5)), background);
    });
}

TEST_F(TherapyWindowTest, OneTaskTherapyHasNoWayToMove)
{
    Choose({CExercise::WY}, 1, 2);
    Run([this] {
        ExpectButtons(false, false);
        QTest::keyClick(therapy.get(), Qt::Key_Right);
        QTest::keyClick(therapy.get(), Qt::Key_Left);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WY);
        EXPECT_EQ(Wy().TaskIndex, 0);
    });
}

TEST_F(TherapyWindowTest, ColourModeIsAppliedAtTheNextStart)
{
    Choose({CExercise::WY}, 1, 2);
    auto backgroundPixel = [this] {
        return QColor(therapy->ExerciseBitmap().pixel(5, therapy->ExerciseBitmap().height() - 5));
    };
    QColor colour;
    Run([&] { colour = backgroundPixel(); });
    EXPECT_EQ(colour, QColor(161, 212, 149));
    ColorMode = CM_MONO;
    Run([&] { colour = backgroundPixel(); });
    EXPECT_EQ(therapy->AppliedColourMode(), CM_MONO);
    EXPECT_EQ(colour, QColor(48, 48, 48));
    EXPECT_EQ(therapy->Exercise(CExercise::PNC)->BackColor, CExercise::MonoBackColor);
}

TEST_F(TherapyWindowTest, HeldLetterKeyPressesOnce)
{
    Choose({CExercise::WY}, 1, 2);
    Run([this] {
        int letters = 0;
        therapy->Alphabet()->OnLetter = [&letters](int, QChar, uint8_t&) { ++letters; };
        therapy->Alphabet()->show();
        QTest::keyPress(therapy.get(), Qt::Key_A, {}, -1);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
        QApplication::sendEvent(therapy.get(), &repeat);
        QTest::keyRelease(therapy.get(), Qt::Key_A);
        QTest::keyClick(therapy.get(), Qt::Key_A);
        EXPECT_EQ(letters, 2);
        therapy->Alphabet()->OnLetter = nullptr;
    });
}

// The time the result window is up is no working time: the stop pauses the
// timing, "Nie" resumes it, and a solved task's timing stays stopped.
TEST_F(TherapyWindowTest, ResultWindowTimeIsLeftOutOfTheWorkingTime)
{
    constexpr int waitMs = 2000;
    Choose({CExercise::WY}, 2, 2);
    Run([this] {
        ASSERT_TRUE(WyRecord().Running);
        int czasAtStop = -1;
        bool runningMeanwhile = true;
        AnswerResult(false, waitMs, [&] {
            czasAtStop = WyRecord().Czas;
            runningMeanwhile = WyRecord().Running;
        });
        Click(therapy->StopButton());
        ASSERT_TRUE(therapy->isVisible());
        EXPECT_FALSE(runningMeanwhile);
        EXPECT_TRUE(WyRecord().Running);
        // A second stop adds the moments since "Nie", not the wait before it.
        AnswerResult(false);
        Click(therapy->StopButton());
        EXPECT_GE(czasAtStop, 0);
        EXPECT_LT(WyRecord().Czas - czasAtStop, waitMs / 100 / 2);
        EXPECT_TRUE(WyRecord().Running);

        // Solved: the timing stops and neither stop nor "Nie" starts it again.
        Click(&Choice(Task().Correct));
        ASSERT_TRUE(Task().Solved);
        const int czasSolved = WyRecord().Czas;
        AnswerResult(false, 100);
        Click(therapy->StopButton());
        EXPECT_FALSE(WyRecord().Running);
        EXPECT_EQ(WyRecord().Czas, czasSolved);
        // The next task is timed anew.
        Click(therapy->ForwardButton());
        EXPECT_TRUE(WyRecord().Running);
    });
    EXPECT_LT(WyRecord().Czas, waitMs / 100);
}

// The graph timer pages the repetition exercise: back pauses it, forward
// resumes it, and it stops for good on the therapy's last task, whose picture
// then no longer shows it.
TEST_F(TherapyWindowTest, GraphTimerPausesOnBackAndStopsAtTheLastTask)
{
    Choose({CExercise::WY, CExercise::WYL}, 1, 2);
    WylDaysPagedEvery(60); // the test pages by hand: no tick comes by itself
    Run([this] {
        CGraphTimer& timer = *therapy->GraphTimer();
        EXPECT_FALSE(timer.IsRunning()); // WY is paged by hand
        QTest::keyClick(therapy.get(), Qt::Key_Right);
        ASSERT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        ASSERT_EQ(Wyl().TaskCount, 7);
        EXPECT_TRUE(timer.IsRunning());
        EXPECT_EQ(timer.Interval(), 60000);
        const QColor picture = TimerSpot();

        therapy->AutoAdvance();
        EXPECT_EQ(Wyl().TaskIndex, 1);
        EXPECT_TRUE(timer.IsRunning());
        QTest::keyClick(therapy.get(), Qt::Key_Left);
        EXPECT_EQ(Wyl().TaskIndex, 0);
        EXPECT_FALSE(timer.IsRunning());
        EXPECT_TRUE(timer.IsPaused());
        Click(therapy->BackButton()); // into WY: still held
        Click(therapy->ForwardButton());
        QTest::keyClick(therapy.get(), Qt::Key_Right);
        EXPECT_EQ(Wyl().TaskIndex, 1);
        EXPECT_TRUE(timer.IsRunning());
        EXPECT_FALSE(timer.IsPaused());

        for (int i = 2; i < 7; ++i) {
            EXPECT_EQ(TimerSpot(), picture) << "task " << i - 1;
            therapy->AutoAdvance();
            EXPECT_EQ(Wyl().TaskIndex, i);
        }
        EXPECT_FALSE(timer.IsRunning());
        EXPECT_FALSE(timer.IsPaused());
        EXPECT_NE(TimerSpot(), picture);
        EXPECT_FALSE(IsEnabled(therapy->ForwardButton()));
        therapy->AutoAdvance(); // nothing beyond the end, no results
        EXPECT_EQ(Wyl().TaskIndex, 6);
        EXPECT_FALSE(result->isVisible());
        EXPECT_TRUE(therapy->isVisible());
    });
}

// Nothing pages on behind the result window: a card paged every second stays
// while the results are looked at, and paging goes on after "Nie"; a timer
// held by the back button stays held.
TEST_F(TherapyWindowTest, StopHoldsThePagingUntilNie)
{
    Choose({CExercise::WYL, CExercise::WY}, 1, 2);
    WylDaysPagedEvery(1);
    Run([this] {
        CGraphTimer& timer = *therapy->GraphTimer();
        ASSERT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        ASSERT_TRUE(timer.IsRunning());
        bool runningMeanwhile = true;
        AnswerResult(false, 2500, [&] { runningMeanwhile = timer.IsRunning(); });
        Click(therapy->StopButton());
        EXPECT_FALSE(runningMeanwhile);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        EXPECT_EQ(Wyl().TaskIndex, 0);
        EXPECT_TRUE(timer.IsRunning());
        EXPECT_FALSE(statistics->StatEx(CExercise::WY).Running);

        therapy->AutoAdvance();
        QTest::keyClick(therapy.get(), Qt::Key_Left);
        ASSERT_TRUE(timer.IsPaused());
        AnswerResult(false);
        Click(therapy->StopButton());
        EXPECT_TRUE(timer.IsPaused());
        EXPECT_FALSE(timer.IsRunning());
    });
}

// A choice in the exercise menu shows the chosen exercise's first task,
// wherever that exercise was left.
TEST_F(TherapyWindowTest, MenuChoiceShowsTheFirstTask)
{
    Choose({CExercise::WY, CExercise::WYL}, 3, 2);
    WylDaysPagedEvery(60);
    Run([this] {
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(therapy.get(), Qt::Key_Right);
        ASSERT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        ASSERT_EQ(Wyl().TaskIndex, 2);
        ASSERT_EQ(Wy().TaskIndex, 2);

        ChooseInMenu(0);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WY);
        EXPECT_EQ(therapy->GraphicsMenu()->GetSelected(), 0);
        EXPECT_EQ(Wy().TaskIndex, 0);
        EXPECT_EQ(Choice(Task().Correct).Text, Task().Word->Nazwa);
        ExpectButtons(false, true);
        EXPECT_TRUE(therapy->HintButton()->isVisible());

        ChooseInMenu(1);
        EXPECT_EQ(therapy->CurrentIndex(), CExercise::WYL);
        EXPECT_EQ(therapy->GraphicsMenu()->GetSelected(), 1);
        EXPECT_EQ(Wyl().TaskIndex, 0);
        ExpectButtons(true, true);
        EXPECT_FALSE(therapy->HintButton()->isVisible());
        EXPECT_TRUE(therapy->GraphicsMenu()->isVisible());
    });
}

} // namespace
