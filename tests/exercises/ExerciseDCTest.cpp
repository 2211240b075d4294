// The activity-matching exercise: distractors from a pool smaller than the
// column, the film opened after the delay and closed on leaving, the replay,
// and the shared naming setting choosing captions and recordings.
#include "ExerciseFixture.h"
#include "controls/CKompLabel.h"
#include "exercises/CExerciseDC.h"

namespace {

class ExerciseDCTest : public ExerciseTest
{
protected:
    void Make(int actions)
    {
        for (int id = 1; id <= actions; ++id)
            Action(id, QString("Przedstawia %1").arg(id), QString("Robi %1").arg(id));
        LoadContent();
        ex = std::make_unique<CExerciseDC>(*colourTable, *komps);
        ex->StatEx = &stat;
    }
    void TearDown() override
    {
        ex.reset();
        ExerciseTest::TearDown();
    }
    void Prepare(int tasks, int choices, bool coRobi)
    {
        Set(CTherapySettings::DC, tasks, 1 | ((choices - 2) << 12));
        settings.Get_ExeSet(CTherapySettings::PNC).Flags = coRobi ? 1 << 14 : 0;
        ex->Prepare(settings);
    }
    CKompLabel& Label(int i) { return *ex->ChoiceLabels[i]; }

    std::unique_ptr<CExerciseDC> ex;
};

TEST_F(ExerciseDCTest, FewerActivitiesThanChoicesStillFillEveryPositionNeverWithTheTasksOwn)
{
    Make(2);
    for (int run = 0; run < 5; ++run) {
        Prepare(2, 4, false);
        ASSERT_EQ(ex->TaskCount, 2);
        for (int t = 0; t < 2; ++t) {
            const auto& task = ex->Tasks[t];
            EXPECT_EQ(task.Choices[task.Correct], task.Action);
            for (int i = 0; i < 4; ++i) {
                ASSERT_NE(task.Choices[i], nullptr) << "position " << i << " left empty";
                EXPECT_TRUE(task.Shown[i]);
                if (i != task.Correct) {
                    EXPECT_NE(task.Choices[i], task.Action) << "the task's own as a distractor";
                }
            }
        }
    }
    EXPECT_EQ(stat.PomocMax, 3 * 2);
}

TEST_F(ExerciseDCTest, TheFilmOpensAfterTheDelayPlaysAgainAndClosesScrambledOnLeaving)
{
    Make(1);
    WriteFilm(1);
    const QString film = "Data/asm/1.mpg";
    ASSERT_NE(FirstByte(film), 0);
    Prepare(1, 2, false);
    QElapsedTimer t;
    t.start();
    ex->Activate();
    EXPECT_TRUE(tv->isVisible());
    EXPECT_TRUE(ex->ReplayButton->isVisible());
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_EQ(delay->Interval(), 600);
    ASSERT_TRUE(WaitFor([&] { return tv->IsOpen; }, 3000));
    EXPECT_GE(t.elapsed(), 550);
    EXPECT_TRUE(tv->FileName().endsWith("1.mpg"));
    EXPECT_EQ(FirstByte(film), 0) << "the open film is plain on disk";
    EXPECT_TRUE(tv->FilmPlaying);

    // The replay button plays it from the start again.
    ASSERT_TRUE(WaitFor([&] { return !tv->FilmPlaying; }, 3000));
    QTest::mouseClick(ex->ReplayButton.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(tv->FilmPlaying);

    ex->Deactivate();
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_FALSE(tv->isVisible());
    EXPECT_FALSE(ex->ReplayButton->isVisible());
    EXPECT_NE(FirstByte(film), 0) << "the film was not scrambled again";
}

TEST_F(ExerciseDCTest, LeavingBeforeTheDelayOpensNoFilm)
{
    Make(1);
    WriteFilm(1);
    Prepare(1, 2, false);
    ex->Activate();
    ex->Deactivate();
    QTest::qWait(800);
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_NE(FirstByte("Data/asm/1.mpg"), 0);
}

TEST_F(ExerciseDCTest, TheNamingSettingChoosesCaptionsAndRecordings)
{
    Make(3);
    struct SCase
    {
        bool coRobi;
        QString prefix;
        QString sound;
    };
    for (const SCase& c :
         {SCase{false, "Przedstawia ", "Data/as/p1_"}, SCase{true, "Robi ", "Data/as/p2_"}}) {
        SCOPED_TRACE(c.prefix.toStdString());
        Prepare(1, 3, c.coRobi);
        EXPECT_EQ(ex->CoRobi, c.coRobi);
        ex->Activate();
        const auto& task = ex->Tasks[0];
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(Label(i).Text.startsWith(c.prefix, Qt::CaseInsensitive))
                << Label(i).Text.toStdString();
            EXPECT_EQ(Label(i).Text,
                      c.coRobi ? task.Choices[i]->Podpis2 : task.Choices[i]->Podpis1);
            QTest::mousePress(&Label(i), Qt::RightButton, {}, QPoint(10, 10));
            QTest::mouseRelease(&Label(i), Qt::RightButton, {}, QPoint(10, 10));
            EXPECT_EQ(LastWvPath(), c.sound + QString::number(task.Choices[i]->ID));
        }
        // Solving speaks the task's own caption and leaves it alone, moved up.
        QTest::mouseClick(&Label(task.Correct), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_TRUE(task.Solved);
        EXPECT_EQ(Label(0).Text, c.coRobi ? task.Action->Podpis2 : task.Action->Podpis1);
        EXPECT_EQ(Label(0).Y, ex->SolvedY);
        EXPECT_FALSE(Label(1).isVisible());
        EXPECT_TRUE(LastWvPath().startsWith("Data/sp/g")) << "no praise";
        ex->Deactivate();
    }
}

TEST_F(ExerciseDCTest, WrongCaptionsAndHintsAsInChoosing)
{
    Make(4);
    Prepare(1, 2, true);
    ex->Activate();
    const auto& task = ex->Tasks[0];
    const int wrong = 1 - task.Correct;
    EXPECT_TRUE(HintEnabled());
    ex->Hint();
    EXPECT_TRUE(task.Wrong[wrong]);
    EXPECT_FALSE(HintEnabled());
    EXPECT_EQ(stat.Pomoc, 1);
    QTest::mouseClick(&Label(wrong), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(task.HadError) << "a greyed-out caption answers nothing";
    QTest::mouseClick(&Label(task.Correct), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 0);
}

TEST_F(ExerciseDCTest, GreyModeReloadsEveryCaptionLabelAndKeepsTheReplayButtonInPlace)
{
    Make(2);
    const QPoint button = ex->ReplayButton->pos();
    ColorMode = CM_MONO;
    ex->ApplyColourMode();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ExpectGreyLook(Label(i), 500);
    }
    EXPECT_EQ(ex->ReplayButton->pos(), button);
}

} // namespace
