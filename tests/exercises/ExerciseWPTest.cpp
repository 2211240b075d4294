#include "TypingExerciseFixture.h"
#include "exercises/CExerciseWP.h"

using namespace wp_fixture;

class ExerciseWPTest : public TypingExerciseTest
{
protected:
    // Tasks in table order: KOT, DOM, RYBA, LAS.
    void Start(int tasks, bool autoHint = false)
    {
        Settings(CExercise::WP, tasks, autoHint);
        colours.Set_iCurrent(1);
        wp = std::make_unique<CExerciseWP>(colours, *komps);
        wp->StatEx = &stat;
        wp->Prepare(settings);
        wp->Activate();
    }
    void TearDown() override
    {
        wp.reset();
        TypingExerciseTest::TearDown();
    }
    const CExerciseWP::SWPTask& Task() const { return wp->Tasks[wp->TaskIndex]; }

    std::unique_ptr<CExerciseWP> wp;
};

TEST_F(ExerciseWPTest, PrepareDrawsTheTasksAndTheHintLimit)
{
    Start(3);
    ASSERT_EQ(wp->TaskCount, 3);
    EXPECT_EQ(wp->Tasks[0].Word.Nazwa, "KOT");
    EXPECT_EQ(wp->Tasks[1].Word.Nazwa, "DOM");
    EXPECT_EQ(wp->Tasks[2].Word.Nazwa, "RYBA");
    EXPECT_EQ(stat.PomocMax, 3 + 3 + 4); // one hint step per letter
    EXPECT_EQ(stat.Pomoc, 0);
    EXPECT_TRUE(stat.Running);
    // An open task: the input with its cursor, the alphabet, no hint line yet.
    EXPECT_TRUE(wp->InputLabel->isVisible());
    EXPECT_TRUE(wp->InputLabel->Cursor);
    EXPECT_FALSE(wp->HintLabel->isVisible());
    EXPECT_TRUE(alphabet->isVisible());
    EXPECT_TRUE(HintEnabled());
    // The background and the word's own photograph.
    EXPECT_EQ(At(2, 2), BackColour);
    EXPECT_TRUE(photo->isVisible());
    EXPECT_EQ(PhotoShown(), PhotoColour(0));
}

TEST_F(ExerciseWPTest, HintLineRevealsAThreeLetterNameLetterByLetter)
{
    Start(2);
    const char* steps[] = {"K . .", "KO .", "KOT"};
    for (int i = 0; i < 3; ++i) {
        wp->Hint();
        EXPECT_EQ(wp->HintLabel->Text, steps[i]) << i;
        EXPECT_TRUE(wp->HintLabel->isVisible());
        EXPECT_EQ(stat.Pomoc, i + 1);
        EXPECT_EQ(HintEnabled(), i < 2) << i;
    }
    wp->Hint(); // the whole name is shown: nothing more
    EXPECT_EQ(wp->HintLabel->Text, "KOT");
    EXPECT_EQ(stat.Pomoc, 3);
    EXPECT_EQ(Task().Typed, ""); // hints never type
}

TEST_F(ExerciseWPTest, HintAfterTwoTypedLettersShowsTheWholeName)
{
    Start(2);
    Key('k');
    Key('o');
    EXPECT_EQ(wp->InputLabel->Text, "KO");
    EXPECT_TRUE(HintEnabled());
    wp->Hint();
    EXPECT_EQ(wp->HintLabel->Text, "KOT");
    EXPECT_FALSE(HintEnabled());
    EXPECT_EQ(stat.Pomoc, 1);
}

TEST_F(ExerciseWPTest, WrongLetterIsDimmedUntilTheNextRightOneAndCountedOnce)
{
    Start(2);
    Click('A');
    EXPECT_EQ(LetterState('A'), CKompAlphabet::StateRuledOut);
    EXPECT_TRUE(LastWvPath().startsWith("Data/sp/b")) << LastWvPath().toStdString();
    Click('B');
    EXPECT_EQ(LetterState('A'), CKompAlphabet::StateRuledOut);
    EXPECT_EQ(LetterState('B'), CKompAlphabet::StateRuledOut);
    EXPECT_EQ(Task().Typed, "");
    Click('K');
    EXPECT_EQ(Task().Typed, "K");
    EXPECT_EQ(LetterState('A'), CKompAlphabet::StateNormal);
    EXPECT_EQ(LetterState('B'), CKompAlphabet::StateNormal);
    Key('z'); // a wrong key is treated like a wrong tile
    EXPECT_EQ(LetterState('Z'), CKompAlphabet::StateRuledOut);
    Click('O');
    Click('T');
    EXPECT_TRUE(Task().Solved);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 1); // three wrong letters, one task with an error
}

TEST_F(ExerciseWPTest, LastLetterSolvesTheTaskAndStopsItsTiming)
{
    Start(2);
    wp->Hint();
    Keys("kot");
    const CExerciseWP::SWPTask& task = Task();
    EXPECT_TRUE(task.Solved);
    EXPECT_FALSE(task.HadError);
    EXPECT_EQ(wp->InputLabel->Text, "KOT");
    EXPECT_FALSE(wp->InputLabel->Cursor);
    EXPECT_FALSE(wp->HintLabel->isVisible());
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(HintEnabled());
    EXPECT_FALSE(stat.Running);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 0);
    EXPECT_EQ(stat.Pomoc, 1);
    EXPECT_TRUE(LastWvPath().startsWith("Data/sp/g")) << LastWvPath().toStdString();
    // Typing on a solved task changes nothing.
    const int czas = stat.Czas;
    Key('k');
    EXPECT_EQ(task.Typed, "KOT");
    EXPECT_EQ(stat.Rozw, 1);

    // The next, open task times again; coming back shows the solved one as
    // solved, and its timing does not restart.
    EXPECT_TRUE(wp->SelectTask(1));
    EXPECT_TRUE(stat.Running);
    EXPECT_TRUE(alphabet->isVisible());
    EXPECT_EQ(wp->InputLabel->Text, "");
    EXPECT_TRUE(wp->InputLabel->Cursor);
    EXPECT_FALSE(wp->HintLabel->isVisible());
    EXPECT_EQ(PhotoShown(), PhotoColour(1));
    EXPECT_TRUE(wp->SelectTask(0));
    EXPECT_FALSE(stat.Running);
    EXPECT_GE(stat.Czas, czas);
    EXPECT_EQ(wp->InputLabel->Text, "KOT");
    EXPECT_FALSE(wp->InputLabel->Cursor);
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(HintEnabled());
}

TEST_F(ExerciseWPTest, AutomaticHintOpensEveryTaskWithItsFirstLetter)
{
    Start(2, true);
    EXPECT_EQ(stat.Pomoc, 2); // one per task, counted at once
    EXPECT_EQ(wp->HintLabel->Text, "K . .");
    EXPECT_TRUE(wp->HintLabel->isVisible());
    EXPECT_TRUE(HintEnabled());
    wp->SelectTask(1);
    EXPECT_EQ(wp->HintLabel->Text, "D . .");
}

TEST_F(ExerciseWPTest, RightButtonPlaysTheWord)
{
    Start(2);
    PlayWv("Data/none", true);
    QTest::mouseClick(wp->InputLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/none"); // not while the name is being typed
    QTest::mouseClick(photo, Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ws/KOT");
    Keys("kot");
    PlayWv("Data/none", true);
    QTest::mouseClick(wp->InputLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ws/KOT");
}

TEST_F(ExerciseWPTest, DeactivateHidesEverythingAndStopsListening)
{
    Start(2);
    wp->Hint();
    wp->Deactivate();
    EXPECT_FALSE(stat.Running);
    EXPECT_FALSE(wp->InputLabel->isVisible());
    EXPECT_FALSE(wp->HintLabel->isVisible());
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(photo->isVisible());
    EXPECT_FALSE(alphabet->OnLetter);
    EXPECT_FALSE(photo->OnMouseDown);
    Key('k');
    EXPECT_EQ(Task().Typed, "");
    // Back again, the task is as it was left.
    wp->Activate();
    EXPECT_EQ(wp->HintLabel->Text, "K . .");
    EXPECT_TRUE(wp->HintLabel->isVisible());
    EXPECT_TRUE(stat.Running);
}

TEST_F(ExerciseWPTest, EmptyCategoryGivesOneEmptyTask)
{
    Settings(CExercise::WP, 3, false);
    settings.Get_ExeSet(CExercise::WP).Flags = 2; // a category without words
    colours.Set_iCurrent(1);
    wp = std::make_unique<CExerciseWP>(colours, *komps);
    wp->StatEx = &stat;
    wp->Prepare(settings);
    EXPECT_EQ(wp->TaskCount, 1);
    EXPECT_EQ(wp->Tasks.Count(), 0);
    EXPECT_EQ(stat.PomocMax, 999);
    wp->Activate();
    wp->Hint();
    Key('k');
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(HintEnabled());
    EXPECT_EQ(stat.Pomoc, 0);
}

TEST_F(ExerciseWPTest, GreyModeTurnsTheBackgroundAndTheLabelsGrey)
{
    Start(2);
    wp->Deactivate();
    ColorMode = CM_MONO;
    wp->ApplyColourMode();
    wp->Activate();
    auto grey = [](QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); };
    EXPECT_TRUE(grey(At(2, 2))) << std::hex << At(2, 2);
    const QImage* input = wp->InputLabel->NormalImage.Image();
    ASSERT_TRUE(input);
    EXPECT_TRUE(grey(input->pixel(5, 5))) << std::hex << input->pixel(5, 5);
    EXPECT_FALSE(grey(SkinColour(204)));
}
