#include "TypingExerciseFixture.h"
#include "exercises/CExerciseZO.h"

#include <QElapsedTimer>

using namespace wp_fixture;

class ExerciseZOTest : public TypingExerciseTest
{
protected:
    // Only the words with a riddle, in table order: KOT, RYBA, KOT, ...
    void Start(int tasks, bool autoHint = false)
    {
        Settings(CExercise::ZO, tasks, autoHint);
        colours.Set_iCurrent(1);
        zo = std::make_unique<CExerciseZO>(colours, *komps);
        zo->StatEx = &stat;
        zo->Prepare(settings);
        zo->Activate();
    }
    void TearDown() override
    {
        zo.reset();
        TypingExerciseTest::TearDown();
    }
    const CExerciseZO::SZOTask& Task() const { return zo->Tasks[zo->TaskIndex]; }
    // Lets the delayed announcement come (or not).
    void WaitPastAnnouncement()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < CExerciseZO::AnnounceDelayMs + 150)
            QTest::qWait(20);
    }

    std::unique_ptr<CExerciseZO> zo;
};

TEST_F(ExerciseZOTest, WordsWithoutARiddleAreNeverDrawn)
{
    Start(6);
    ASSERT_EQ(zo->TaskCount, 6);
    int hints = 0;
    for (const CExerciseZO::SZOTask& task : zo->Tasks) {
        hints += static_cast<int>(task.Word.Nazwa.size()) - 1;
        EXPECT_FALSE(task.Word.Opis.isEmpty());
        EXPECT_TRUE(task.Word.Nazwa == "KOT" || task.Word.Nazwa == "RYBA")
            << task.Word.Nazwa.toStdString();
    }
    // Every letter of a name but its last can be hinted.
    EXPECT_EQ(stat.PomocMax, hints);
    EXPECT_EQ(zo->DescLabel->Text, QString::fromUtf8(Words[0].Opis));
    EXPECT_TRUE(zo->DescLabel->WordWrap);
    EXPECT_TRUE(zo->DescLabel->isVisible());
    EXPECT_TRUE(zo->InputLabel->Cursor);
}

TEST_F(ExerciseZOTest, HintTypesLettersButNeverTheLast)
{
    Start(2);
    ASSERT_TRUE(zo->SelectTask(1));
    ASSERT_EQ(Task().Word.Nazwa, "RYBA");
    const char* steps[] = {"R", "RY", "RYB"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(HintEnabled()) << i;
        zo->Hint();
        EXPECT_EQ(Task().Typed, steps[i]) << i;
        EXPECT_EQ(zo->InputLabel->Text, steps[i]) << i;
    }
    EXPECT_FALSE(HintEnabled()); // the last letter is the patient's
    zo->Hint();
    EXPECT_EQ(Task().Typed, "RYB");
    EXPECT_FALSE(Task().Solved);
    EXPECT_EQ(stat.Pomoc, 3);
    Click('A');
    EXPECT_TRUE(Task().Solved);
    EXPECT_FALSE(Task().HadError);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 0);
}

TEST_F(ExerciseZOTest, TypedLettersLeaveTheHintOnlyWhatIsNotTheLast)
{
    Start(2);
    Keys("ko");
    EXPECT_FALSE(HintEnabled());
    zo->Hint();
    EXPECT_EQ(Task().Typed, "KO");
    EXPECT_EQ(stat.Pomoc, 0);
}

TEST_F(ExerciseZOTest, PlaceholderUntilSolvedThenTheRealPhotograph)
{
    Start(2);
    EXPECT_TRUE(photo->isVisible());
    EXPECT_EQ(PhotoShown(), SkinColour(PlaceholderIndex));
    Click('K');
    Click('E'); // wrong
    EXPECT_EQ(LetterState('E'), CKompAlphabet::StateRuledOut);
    Keys("ot");
    ASSERT_TRUE(Task().Solved);
    EXPECT_EQ(PhotoShown(), PhotoColour(0));
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(zo->InputLabel->Cursor);
    EXPECT_FALSE(HintEnabled());
    EXPECT_FALSE(stat.Running);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 1);

    zo->SelectTask(1);
    EXPECT_EQ(PhotoShown(), SkinColour(PlaceholderIndex));
    EXPECT_TRUE(stat.Running);
    zo->SelectTask(0);
    EXPECT_EQ(PhotoShown(), PhotoColour(0));
    EXPECT_EQ(zo->InputLabel->Text, "KOT");
    EXPECT_FALSE(stat.Running);
}

TEST_F(ExerciseZOTest, AutomaticHintOpensWithTheFirstLetterTyped)
{
    Start(2, true);
    EXPECT_EQ(stat.Pomoc, 2);
    EXPECT_EQ(Task().Typed, "K");
    EXPECT_EQ(zo->InputLabel->Text, "K");
    EXPECT_TRUE(HintEnabled()); // "KO" may still be given
    zo->Hint();
    EXPECT_FALSE(HintEnabled());
    Key('t');
    EXPECT_TRUE(Task().Solved);
    EXPECT_EQ(stat.Pomoc, 3);
}

TEST_F(ExerciseZOTest, RiddleIsSpokenHalfASecondAfterAnOpenTaskIsShown)
{
    Start(2);
    EXPECT_TRUE(delayCall.IsPending());
    EXPECT_EQ(delayCall.Interval(), CExerciseZO::AnnounceDelayMs);
    WaitPastAnnouncement();
    EXPECT_EQ(LastWvPath(), "Data/dws/KOT");

    zo->SelectTask(1);
    WaitPastAnnouncement();
    EXPECT_EQ(LastWvPath(), "Data/dws/RYBA");

    // A solved task is not announced, nor a task of an exercise left meanwhile.
    zo->SelectTask(0);
    Keys("kot");
    zo->SelectTask(1);
    zo->SelectTask(0);
    PlayWv("Data/none", true);
    WaitPastAnnouncement();
    EXPECT_EQ(LastWvPath(), "Data/none");
    zo->SelectTask(1);
    zo->Deactivate();
    WaitPastAnnouncement();
    EXPECT_EQ(LastWvPath(), "Data/none");
    EXPECT_FALSE(zo->DescLabel->isVisible());
    EXPECT_FALSE(photo->isVisible());
    EXPECT_FALSE(alphabet->OnLetter);
}

TEST_F(ExerciseZOTest, RightButtonPlaysTheRiddleAndTheSolvedWord)
{
    Start(2);
    QTest::mouseClick(zo->DescLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/dws/KOT");
    PlayWv("Data/none", true);
    QTest::mouseClick(zo->InputLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/none");
    Keys("kot");
    QTest::mouseClick(zo->InputLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ws/KOT");
}
