// Paging of the repetition exercises by hand and by the graph timer, and the
// announcement of the task reached last.
#include "RepetitionExerciseFixture.h"
#include "controls/CKompLabel.h"
#include "exercises/CExercisePNO.h"
#include "exercises/CExerciseWYL.h"
#include "statistics/CStatEx.h"

#include <QElapsedTimer>

namespace {

constexpr int DaysInOrder = CTherapySettings::WylDaysBit;

struct STick
{
    qint64 at;
    int exercise;
    int task;
};

} // namespace

class RepetitionPagingTest : public RepetitionExerciseTest
{
protected:
    void SetUp() override
    {
        RepetitionExerciseTest::SetUp();
        if (HasFatalFailure())
            return;
        settings.Get_ExeSet(CTherapySettings::PNO) = {3, 2, 1}; // 3 words of category "D"
        settings.Get_ExeSet(CTherapySettings::WYL) = {7, 2, DaysInOrder};
        pno = &Make<CExercisePNO>(CExercise::PNO);
        wyl = &Make<CExerciseWYL>(CExercise::WYL);
    }

    bool TimerDrawn() const
    {
        return TimerPixel() == (repetition_fixture::TimerColour | 0xff000000u);
    }

    CExercisePNO* pno = nullptr;
    CExerciseWYL* wyl = nullptr;
};

TEST_F(RepetitionPagingTest, ManualPagingNeverStartsTheTimerNorDrawsIt)
{
    settings.Get_ExeSet(CTherapySettings::PNO).Flags |= CTherapySettings::ManualPagingBit;
    settings.Get_ExeSet(CTherapySettings::WYL).Flags |= CTherapySettings::ManualPagingBit;
    pno->Prepare(settings);
    wyl->Prepare(settings);
    EXPECT_EQ(pno->PageInterval, 0);
    EXPECT_EQ(wyl->PageInterval, 0);
    pager.List = {pno, wyl};
    pager.Begin();
    int steps = 0;
    auto check = [&] {
        EXPECT_FALSE(timer->IsRunning()) << "step " << steps;
        EXPECT_FALSE(timer->IsPaused()) << "step " << steps;
        EXPECT_FALSE(TimerDrawn()) << "step " << steps;
    };
    check();
    while (pager.ForwardEnabled) {
        pager.Forward();
        ++steps;
        check();
    }
    EXPECT_EQ(steps, 2 + 7);
    pager.Back();
    pager.Back();
    check();
    QTest::qWait(150);
    EXPECT_EQ(pager.Current, 1);
    EXPECT_EQ(wyl->TaskIndex, 4);
}

TEST_F(RepetitionPagingTest, AutomaticPagingAdvancesEachTaskAndStopsOnTheLastOfTheLast)
{
    constexpr int interval = 150;
    settings.Get_ExeSet(CTherapySettings::PNO).LZ = 2;
    std::vector<STick> ticks;
    QElapsedTimer clock;
    timer->SetOnTimer([&] {
        pager.AutoAdvance();
        ticks.push_back({clock.elapsed(), pager.Current, pager.Ex().TaskIndex});
    });
    clock.start();
    Run({pno, wyl}, interval);
    EXPECT_TRUE(timer->IsRunning());
    EXPECT_EQ(timer->Interval(), interval);
    EXPECT_TRUE(TimerDrawn()) << "the timer's picture shows while it runs";

    ASSERT_TRUE(QTest::qWaitFor([&] { return pager.AtEnd(); }, 5000));
    EXPECT_FALSE(timer->IsRunning());
    EXPECT_FALSE(timer->IsPaused());
    EXPECT_FALSE(TimerDrawn()) << "the last page no longer shows the timer";
    QTest::qWait(3 * interval);
    ASSERT_EQ(ticks.size(), 1u + 7u) << "one page per tick, none after the end";
    EXPECT_EQ(ticks[0].exercise, 0);
    EXPECT_EQ(ticks[0].task, 1);
    qint64 previous = 0;
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i].exercise, 1);
        EXPECT_EQ(ticks[i].task, int(i) - 1);
    }
    for (const STick& t : ticks) {
        // Every page stays (at least about) the whole interval.
        EXPECT_GE(t.at - previous, interval * 9 / 10);
        previous = t.at;
    }
}

TEST_F(RepetitionPagingTest, BackPausesAndForwardResumes)
{
    constexpr int interval = 300;
    Run({pno}, interval);
    ASSERT_TRUE(timer->IsRunning());
    pager.Forward();
    EXPECT_EQ(pno->TaskIndex, 1);
    EXPECT_TRUE(timer->IsRunning());

    pager.Back();
    EXPECT_EQ(pno->TaskIndex, 0);
    EXPECT_TRUE(timer->IsPaused());
    EXPECT_FALSE(timer->IsRunning());
    EXPECT_FALSE(TimerDrawn());
    QTest::qWait(2 * interval + 100);
    EXPECT_EQ(pno->TaskIndex, 0) << "a paused timer pages nothing";

    pager.Forward();
    EXPECT_EQ(pno->TaskIndex, 1);
    EXPECT_TRUE(timer->IsRunning());
    (void)QTest::qWaitFor([&] { return pno->TaskIndex == 2; }, 2000);
    EXPECT_EQ(pno->TaskIndex, 2);
    EXPECT_FALSE(timer->IsRunning());
}

TEST_F(RepetitionPagingTest, EnteringOnTheLastTaskStartsTheTimerPaused)
{
    settings.Get_ExeSet(CTherapySettings::PNO).LZ = 2;
    Run({wyl, pno}, 400);
    // From the first task of PNO back into the last of WYL, then forward again.
    pager.SwitchTo(1, true);
    EXPECT_TRUE(timer->IsRunning());
    pager.Back();
    EXPECT_EQ(pager.Current, 0);
    EXPECT_TRUE(wyl->IsLastTask());
    EXPECT_TRUE(timer->IsPaused());
    EXPECT_FALSE(TimerDrawn());

    // A single task: nothing to page at all.
    settings.Get_ExeSet(CTherapySettings::PNO).LZ = 1;
    pager.Close();
    Run({pno}, 400);
    EXPECT_TRUE(timer->IsPaused());
    EXPECT_FALSE(pager.ForwardEnabled);
    EXPECT_FALSE(pager.BackEnabled);
}

TEST_F(RepetitionPagingTest, LeavingStopsTheTimer)
{
    settings.Get_ExeSet(CTherapySettings::WYL).Flags |= CTherapySettings::ManualPagingBit;
    settings.Get_ExeSet(CTherapySettings::PNO).LZ = 1;
    pno->Prepare(settings);
    wyl->Prepare(settings);
    pno->PageInterval = 200;
    pager.List = {pno, wyl};
    pager.Begin();
    EXPECT_TRUE(timer->IsPaused());
    pager.Forward(); // resumes, then WYL (by hand) takes over
    EXPECT_EQ(pager.Current, 1);
    EXPECT_FALSE(timer->IsRunning());
    EXPECT_FALSE(timer->IsPaused());
}

// Each page turn restarts the wait, so only the task reached last is heard.
TEST_F(RepetitionPagingTest, PagingQuicklyAnnouncesOnlyTheLastTask)
{
    struct SCase
    {
        const char* name;
        bool words;
        int delay;
    };
    for (const SCase& c : {SCase{"PNO", true, CExercisePNO::AnnounceDelayMs},
                           SCase{"WYL", false, CExerciseWYL::AnnounceDelayMs}}) {
        SCOPED_TRACE(c.name);
        settings.Get_ExeSet(CTherapySettings::PNO) = {4, 2, 1 | CTherapySettings::ManualPagingBit};
        settings.Get_ExeSet(CTherapySettings::WYL).Flags |= CTherapySettings::ManualPagingBit;
        CExercise* e = c.words ? static_cast<CExercise*>(pno) : wyl;
        Run({e});
        PlayWv("Data/none", true); // nothing heard yet
        QElapsedTimer sinceTurn;
        bool quick = true;
        for (int i = 0; i < 3; ++i) {
            if (i > 0 && sinceTurn.elapsed() >= c.delay)
                quick = false;
            pager.Forward();
            sinceTurn.start();
            QTest::qWait(c.delay / 3);
        }
        ASSERT_EQ(e->TaskIndex, 3);
        QTest::qWait(c.delay - c.delay / 3 - 80);
        // A machine too busy to turn the pages quickly proves nothing here.
        if (quick && sinceTurn.elapsed() < c.delay) {
            EXPECT_EQ(LastWvPath(), "Data/none") << "nothing before the delay after the last turn";
        }
        const QString expected = c.words ? "Data/ws/" + pno->Tasks[3].Word->Nazwa
                                         : CExerciseWYL::ElementSound(wyl->Tasks[3]);
        (void)QTest::qWaitFor([&] { return LastWvPath() == expected; }, 1000);
        EXPECT_EQ(LastWvPath(), expected);
        EXPECT_FALSE(delay.IsPending());
        pager.Close();
    }
}

TEST_F(RepetitionPagingTest, RightButtonPlaysTheWordAndTheElement)
{
    settings.Get_ExeSet(CTherapySettings::PNO).Flags |= CTherapySettings::ManualPagingBit;
    Run({pno});
    PlayWv("Data/none", true);
    QTest::mousePress(pno->NameLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ws/" + pno->CurrentWord()->Nazwa);
    PlayWv("Data/none", true);
    QTest::mousePress(photo, Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ws/" + pno->CurrentWord()->Nazwa);
    pager.Close();
    EXPECT_FALSE(photo->OnMouseDown) << "the photo's handler goes with the exercise";

    settings.Get_ExeSet(CTherapySettings::WYL).Flags |= CTherapySettings::ManualPagingBit;
    Run({wyl});
    PlayWv("Data/none", true);
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(LastWvPath(), "Data/dml/d1");
    pager.Close();
    PlayWv("Data/none", true);
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(LastWvPath(), "Data/none") << "inactive, the area stays quiet";
}

TEST_F(RepetitionPagingTest, ShowsThePhotoAndNameAndLeavesTheResultsAlone)
{
    CStatEx record;
    record.LZ = 3;
    pno->StatEx = &record;
    Run({pno}, 200);
    EXPECT_TRUE(photo->isVisible());
    EXPECT_TRUE(pno->NameLabel->isVisible());
    EXPECT_EQ(pno->NameLabel->Text, pno->Tasks[0].Word->Nazwa);
    EXPECT_EQ(photo->PhotoIndex, -1) << "no archive in this fixture";
    (void)QTest::qWaitFor([&] { return pno->TaskIndex == 2; }, 2000);
    EXPECT_EQ(pno->TaskIndex, 2);
    EXPECT_EQ(pno->NameLabel->Text, pno->Tasks[2].Word->Nazwa);
    pager.Close();
    EXPECT_FALSE(photo->isVisible());
    EXPECT_FALSE(pno->NameLabel->isVisible());
    EXPECT_EQ(record.Czas, 0);
    EXPECT_EQ(record.Rozw, 0);
    EXPECT_EQ(record.Pomoc, 0);
}
