#include "TypingExerciseFixture.h"
#include "exercises/CExercisePWP.h"

#include <QElapsedTimer>

using namespace wp_fixture;

class ExercisePWPTest : public TypingExerciseTest
{
protected:
    // Proverbs in table order: "... TAM TRZECI KORZYSTA", "... NIE MA KOŁACZY".
    void Start(int tasks, bool autoHint = false)
    {
        Settings(CExercise::PWP, tasks, autoHint);
        colours.Set_iCurrent(1);
        pwp = std::make_unique<CExercisePWP>(colours, *komps);
        pwp->StatEx = &stat;
        pwp->Prepare(settings);
        pwp->Activate();
    }
    void TearDown() override
    {
        pwp.reset();
        TypingExerciseTest::TearDown();
    }
    const CExercisePWP::SPWPTask& Task() const { return pwp->Tasks[pwp->TaskIndex]; }

    std::unique_ptr<CExercisePWP> pwp;
};

TEST_F(ExercisePWPTest, PrepareShowsTheBeginningAndCountsTheWords)
{
    Start(2);
    ASSERT_EQ(pwp->TaskCount, 2);
    EXPECT_EQ(stat.PomocMax, 3 + 3); // one hint step per word of the endings
    EXPECT_EQ(pwp->BeginLabel->Text, QString::fromUtf8("GDZIE DWÓCH SIĘ BIJE ..."));
    EXPECT_TRUE(pwp->BeginLabel->isVisible());
    EXPECT_TRUE(pwp->InputLabel->Cursor);
    EXPECT_FALSE(pwp->HintLabel->isVisible());
    EXPECT_TRUE(alphabet->isVisible());
    EXPECT_TRUE(HintEnabled());
    EXPECT_TRUE(stat.Running);
}

TEST_F(ExercisePWPTest, HintsRevealTheEndingWordByWord)
{
    Start(2);
    const char* steps[] = {"TAM", "TAM TRZECI", "TAM TRZECI KORZYSTA"};
    for (int i = 0; i < 3; ++i) {
        pwp->Hint();
        EXPECT_EQ(pwp->HintLabel->Text, steps[i]) << i;
        EXPECT_TRUE(pwp->HintLabel->isVisible());
        EXPECT_EQ(HintEnabled(), i < 2) << i;
    }
    pwp->Hint();
    EXPECT_EQ(stat.Pomoc, 3);
    EXPECT_EQ(Task().Typed, "");
}

TEST_F(ExercisePWPTest, SpacesComeByThemselvesAndTheNextHintGoesFromWhatWasTyped)
{
    Start(2);
    Keys("tam");
    EXPECT_EQ(Task().Typed, "TAM ");
    EXPECT_EQ(pwp->InputLabel->Text, "TAM ");
    pwp->Hint();
    EXPECT_EQ(pwp->HintLabel->Text, "TAM TRZECI");
    Keys("trzeci");
    EXPECT_EQ(Task().Typed, "TAM TRZECI ");
    pwp->Hint(); // the hint line was behind what was typed
    EXPECT_EQ(pwp->HintLabel->Text, "TAM TRZECI KORZYSTA");
    EXPECT_FALSE(HintEnabled());
    EXPECT_EQ(stat.Pomoc, 2);
}

TEST_F(ExercisePWPTest, LastLetterSolvesAtOnce)
{
    Start(2);
    pwp->Hint();
    Keys("tamtrzecikorzyst");
    EXPECT_FALSE(Task().Solved);
    EXPECT_EQ(Task().Typed, "TAM TRZECI KORZYST");
    Click('A');
    EXPECT_TRUE(Task().Solved);
    EXPECT_EQ(Task().Typed, "TAM TRZECI KORZYSTA"); // no space after the last letter
    EXPECT_EQ(pwp->InputLabel->Text, "... TAM TRZECI KORZYSTA");
    EXPECT_FALSE(pwp->InputLabel->Cursor);
    EXPECT_FALSE(pwp->HintLabel->isVisible());
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(HintEnabled());
    EXPECT_FALSE(stat.Running);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 0);
    EXPECT_EQ(stat.Pomoc, 1);
    EXPECT_TRUE(LastWvPath().startsWith("Data/sp/g")) << LastWvPath().toStdString();

    // Revisited, it stays solved.
    pwp->SelectTask(1);
    EXPECT_TRUE(stat.Running);
    EXPECT_EQ(pwp->InputLabel->Text, "");
    pwp->SelectTask(0);
    EXPECT_FALSE(stat.Running);
    EXPECT_EQ(pwp->InputLabel->Text, "... TAM TRZECI KORZYSTA");
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(HintEnabled());
}

TEST_F(ExercisePWPTest, WrongLettersCountOneErrorForTheTask)
{
    Start(2);
    ASSERT_TRUE(pwp->SelectTask(1));
    Keys("nie");
    Click('K'); // "MA" comes next
    EXPECT_EQ(LetterState('K'), CKompAlphabet::StateRuledOut);
    EXPECT_EQ(Task().Typed, "NIE ");
    Key('x'); // not on the alphabet: nothing happens
    Keys("ma");
    EXPECT_EQ(LetterState('K'), CKompAlphabet::StateNormal);
    Key('l'); // wrong: Ł is not L
    EXPECT_EQ(LetterState('L'), CKompAlphabet::StateRuledOut);
    Keys(QString::fromUtf8("kołaczy"));
    EXPECT_TRUE(Task().Solved);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 1);
}

TEST_F(ExercisePWPTest, AutomaticHintShowsTheFirstWord)
{
    Start(2, true);
    EXPECT_EQ(stat.Pomoc, 2);
    EXPECT_EQ(pwp->HintLabel->Text, "TAM");
    EXPECT_TRUE(pwp->HintLabel->isVisible());
    pwp->SelectTask(1);
    EXPECT_EQ(pwp->HintLabel->Text, "NIE");
}

TEST_F(ExercisePWPTest, BeginningIsSpokenHalfASecondAfterAnOpenTaskIsShown)
{
    Start(2);
    EXPECT_TRUE(delayCall.IsPending());
    EXPECT_EQ(delayCall.Interval(), CExercisePWP::AnnounceDelayMs);
    QTest::qWait(CExercisePWP::AnnounceDelayMs + 150);
    EXPECT_EQ(LastWvPath(), "Data/ps/p001");
    QTest::mouseClick(pwp->BeginLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ps/p001");
    PlayWv("Data/none", true);
    QTest::mouseClick(pwp->InputLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/none"); // the ending only once it is typed
    pwp->Deactivate();
    EXPECT_FALSE(pwp->BeginLabel->isVisible());
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_FALSE(alphabet->OnLetter);
}
