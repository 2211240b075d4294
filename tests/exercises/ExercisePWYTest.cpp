// The proverb-ending exercise: tasks drawn from the proverbs, each position
// solving, wrong answers and hints, the spoken beginning, and a click that
// only cuts a sound short.
#include "ExerciseFixture.h"
#include "controls/CKompLabel.h"
#include "exercises/CExercisePWY.h"

#include <QSet>
#include <QTimer>

namespace {

class ExercisePWYTest : public ExerciseTest
{
protected:
    void SetUp() override
    {
        ExerciseTest::SetUp();
        if (HasFatalFailure())
            return;
        for (int id = 1; id <= 6; ++id)
            Proverb(id, QString("Początek %1").arg(id), QString("koniec %1").arg(id));
        LoadContent();
        ex = std::make_unique<CExercisePWY>(*colourTable, *komps);
        ex->StatEx = &stat;
    }
    void TearDown() override
    {
        ex.reset();
        ExerciseTest::TearDown();
    }

    // `tasks` tasks of `choices` endings each.
    void Prepare(int tasks, int choices)
    {
        Set(CTherapySettings::PWY, tasks, 1 | ((choices - 2) << 12));
        ex->Prepare(settings);
    }
    // Moves the right ending of task t to position p.
    void PutCorrectAt(int t, int p)
    {
        auto& task = ex->Tasks[t];
        std::swap(task.Choices[task.Correct], task.Choices[p]);
        task.Correct = p;
    }
    CKompLabel& Label(int i) { return *ex->ChoiceLabels[i]; }
    void Click(int i) { QTest::mouseClick(&Label(i), Qt::LeftButton, {}, QPoint(20, 20)); }

    std::unique_ptr<CExercisePWY> ex;
};

TEST_F(ExercisePWYTest, PrepareOffersTheEndingAmongDistinctDistractors)
{
    Prepare(5, 4);
    ASSERT_EQ(ex->TaskCount, 5);
    ASSERT_EQ(ex->ChoiceCount, 4);
    QSet<CRecProverb*> taskProverbs;
    for (int t = 0; t < ex->TaskCount; ++t) {
        const auto& task = ex->Tasks[t];
        taskProverbs.insert(task.Proverb);
        EXPECT_EQ(task.Choices[task.Correct], task.Proverb);
        QSet<CRecProverb*> seen;
        for (int i = 0; i < 4; ++i) {
            ASSERT_NE(task.Choices[i], nullptr);
            seen.insert(task.Choices[i]);
            EXPECT_TRUE(task.Shown[i]);
            EXPECT_FALSE(task.Wrong[i]);
        }
        EXPECT_EQ(seen.size(), 4) << "a distractor repeats or is the proverb itself";
    }
    EXPECT_EQ(taskProverbs.size(), 5);
    EXPECT_EQ(stat.PomocMax, 3 * 5);
}

TEST_F(ExercisePWYTest, SolvedFromEachPositionTheFirstLabelShowsTheEndingAtSolvedY)
{
    Prepare(4, 4);
    for (int t = 0; t < 4; ++t)
        PutCorrectAt(t, t);
    ex->Activate();
    for (int t = 0; t < 4; ++t) {
        SCOPED_TRACE(t);
        if (t > 0) {
            ASSERT_TRUE(ex->SelectTask(t));
        }
        EXPECT_EQ(Label(0).Y, ex->NormalY);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(Label(i).isVisible());
        Click(t);
        const auto& task = ex->Tasks[t];
        EXPECT_TRUE(task.Solved);
        EXPECT_EQ(stat.Rozw, t + 1);
        const QString ending = "... " + task.Proverb->Kon;
        auto checkSolved = [&] {
            EXPECT_EQ(Label(0).Text, ending);
            EXPECT_EQ(Label(0).Y, ex->SolvedY);
            EXPECT_FALSE(Label(0).Reactive);
            EXPECT_EQ(Label(0).State, 0) << "the solved ending in its normal look";
            EXPECT_TRUE(Label(0).isVisible());
            for (int i = 1; i < 4; ++i)
                EXPECT_FALSE(Label(i).isVisible()) << i;
            EXPECT_FALSE(HintEnabled());
        };
        checkSolved();
        // Away and back: the same solved look.
        ex->SelectTask(t == 0 ? 1 : 0);
        ex->SelectTask(t);
        checkSolved();
    }
    EXPECT_EQ(stat.Blad, 0);
    // An unsolved task after a solved one brings the column back down.
    Prepare(2, 3);
    ex->SelectTask(1);
    ex->SelectTask(0);
    EXPECT_EQ(Label(0).Y, ex->NormalY);
    EXPECT_TRUE(Label(0).Reactive);
    EXPECT_FALSE(Label(3).isVisible());
}

TEST_F(ExercisePWYTest, WrongAnswersAndHintsGreyOutOnceAndCountOneError)
{
    Prepare(1, 3);
    PutCorrectAt(0, 2);
    ex->Activate();
    EXPECT_TRUE(HintEnabled());
    Click(0);
    Click(0); // a greyed-out ending does nothing
    const auto& task = ex->Tasks[0];
    EXPECT_TRUE(task.Wrong[0]);
    EXPECT_FALSE(Label(0).Reactive);
    EXPECT_EQ(Label(0).State, 1);
    EXPECT_TRUE(task.HadError);
    EXPECT_TRUE(HintEnabled());
    ex->Hint(); // the one wrong ending left
    EXPECT_TRUE(task.Wrong[1]);
    EXPECT_FALSE(task.Wrong[2]);
    EXPECT_FALSE(HintEnabled());
    EXPECT_EQ(stat.Pomoc, 1);
    Click(2);
    EXPECT_TRUE(task.Solved);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 1);
}

TEST_F(ExercisePWYTest, TheHintRulesOutEveryWrongEndingAndNeverTheRightOne)
{
    for (int run = 0; run < 10; ++run) {
        stat.Pomoc = 0;
        Prepare(1, 4);
        ex->Activate();
        for (int k = 0; k < 3; ++k)
            ex->Hint();
        const auto& task = ex->Tasks[0];
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(task.Wrong[i], i != task.Correct);
        EXPECT_EQ(stat.Pomoc, 3);
        EXPECT_FALSE(HintEnabled());
        ex->Deactivate();
    }
}

TEST_F(ExercisePWYTest, TheBeginningIsSpokenHalfASecondAfterAnUnsolvedTaskOnly)
{
    Prepare(2, 2);
    PlayWv("nothing yet", true);
    ex->Activate();
    EXPECT_TRUE(delay->IsPending());
    EXPECT_EQ(delay->Interval(), 500);
    EXPECT_EQ(LastWvPath(), "nothing yet");
    ASSERT_TRUE(WaitFor([&] { return !delay->IsPending(); }, 2000));
    EXPECT_EQ(LastWvPath(), "Data/ps/" + ex->Tasks[0].Proverb->SoundPocz);

    Click(ex->Tasks[0].Correct);
    ex->SelectTask(1);
    ex->SelectTask(0); // solved: announced, but not spoken
    PlayWv("after solving", true);
    ASSERT_TRUE(WaitFor([&] { return !delay->IsPending(); }, 2000));
    EXPECT_EQ(LastWvPath(), "after solving");
}

TEST_F(ExercisePWYTest, AClickThatCutsTheWaitedSoundShortIsNoAnswer)
{
    Prepare(2, 2);
    const auto& task = ex->Tasks[0];
    WriteWv("Data/ps/" + task.Proverb->SoundKon, 3000);
    ex->Activate();
    delay->Callback = nullptr; // no spoken beginning in the way
    int cutAt = -1;
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(200, [&] {
        cutAt = int(t.elapsed());
        Click(0);
    });
    Click(task.Correct);
    const qint64 took = t.elapsed();
    ASSERT_GE(cutAt, 0) << "the click came after the sound";
    EXPECT_LT(took, 2000) << "the ending was not cut short";
    EXPECT_TRUE(task.Solved);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 0);
    EXPECT_FALSE(ex->Tasks[1].Solved);
}

TEST_F(ExercisePWYTest, DeactivateHidesTheLabelsAndLeavingTheTaskStopsTheSound)
{
    Prepare(2, 3);
    ex->Activate();
    EXPECT_TRUE(ex->BeginLabel->isVisible());
    EXPECT_EQ(ex->BeginLabel->Text, ex->Tasks[0].Proverb->Pocz + " ...");
    ex->Deactivate();
    EXPECT_FALSE(ex->BeginLabel->isVisible());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Label(i).isVisible());
    EXPECT_FALSE(stat.Running);
}

TEST_F(ExercisePWYTest, GreyModeReloadsTheBeginningAndEveryEndingLabelFromItsOwnEntries)
{
    ColorMode = CM_MONO;
    ex->ApplyColourMode();
    // The beginning's skin is 600 wide, the endings' 500.
    ExpectGreyLook(*ex->BeginLabel, 600);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ExpectGreyLook(Label(i), 500);
    }
}

} // namespace
