// The on-screen alphabet belongs to the typing exercise that shows it.
#include "TypingExerciseFixture.h"
#include "exercises/CExerciseUK.h"
#include "exercises/CExerciseWP.h"

TEST_F(TypingExerciseTest, ALetterRuledOutInWPIsNotDrawnIntoTheNextExercise)
{
    // WP's first task is KOT: a Z is ruled out and dimmed.
    Settings(CExercise::WP, 1, false);
    colours.Set_iCurrent(1);
    CExerciseWP wp(colours, *komps);
    wp.StatEx = &stat;
    wp.Prepare(settings);
    wp.Activate();
    Key('z');
    ASSERT_EQ(LetterState(u'Z'), CKompAlphabet::StateRuledOut);
    wp.Deactivate();

    Settings(CExercise::UK, 1, false);
    colours.Set_iCurrent(1);
    CExerciseUK uk(colours, *komps);
    uk.StatEx = &stat;
    uk.Prepare(settings);
    uk.Activate();
    const QImage picture = bitmap->copy();
    Key('z');
    Key('k');
    EXPECT_FALSE(alphabet->isVisible());
    EXPECT_TRUE(*bitmap == picture) << "a letter key drew the alphabet into UK's picture";
    uk.Deactivate();
}
