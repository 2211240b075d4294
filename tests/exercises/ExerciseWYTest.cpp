// WY's tasks: where the right name goes, distractors that do not repeat, and
// categories with too few words.
#include "controls/CKompLabel.h"
#include "exercises/CExerciseWY.h"
#include "therapy/TherapyTestBase.h"

#include <QSet>

namespace {

class ExerciseWYTest : public TherapyTestBase
{
protected:
    CExerciseWY& Wy() { return *static_cast<CExerciseWY*>(therapy->Exercise(CExercise::WY)); }
};

TEST_F(ExerciseWYTest, RightNameGoesWhereTheDrawSays)
{
    MakeWindow();
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        Choose({CExercise::WY}, 1, 4);
        Wy().Random = [k](int m) { return k % m; };
        Wy().Prepare(patient.Settings());
        const CExerciseWY::SWYTask& task = Wy().Tasks[0];
        EXPECT_EQ(task.Correct, k);
        EXPECT_EQ(task.Choices[static_cast<size_t>(k)], task.Word);
        QSet<CRecWord*> names;
        for (CRecWord* w : task.Choices)
            names.insert(w);
        EXPECT_EQ(names.size(), 4); // the word and three different distractors
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(task.Shown[static_cast<size_t>(i)] && !task.Wrong[static_cast<size_t>(i)]);
    }
}

TEST_F(ExerciseWYTest, DistractorsAndTaskWordsDoNotRepeat)
{
    MakeWindow();
    Choose({CExercise::WY}, 7, 2);
    Wy().Prepare(patient.Settings());
    ASSERT_EQ(Wy().TaskCount, 7);
    QSet<CRecWord*> words;
    QSet<CRecWord*> distractors;
    for (const CExerciseWY::SWYTask& task : Wy().Tasks) {
        words.insert(task.Word);
        CRecWord* other = task.Choices[static_cast<size_t>(1 - task.Correct)];
        EXPECT_NE(other, task.Word);
        distractors.insert(other);
    }
    EXPECT_EQ(words.size(), 7);
    EXPECT_EQ(distractors.size(), 7);
    // The three-names layout: the third label centred on the second row.
    Choose({CExercise::WY}, 1, 3);
    Wy().Prepare(patient.Settings());
    EXPECT_EQ(Wy().ChoiceLabels[2]->X, 640 - Wy().ChoiceLabels[2]->width() / 2);
    EXPECT_EQ(Wy().ChoiceLabels[2]->Y, Wy().Row2Y);
    EXPECT_EQ(Wy().ChoiceLabels[1]->X, Wy().RightX);
    EXPECT_EQ(Wy().RightX, 1280 - Wy().ChoiceLabels[0]->width() - Wy().LeftX);
}

TEST_F(ExerciseWYTest, EmptyCategoryOffersNothingAndShowsNoHint)
{
    Choose({CExercise::WY}, 2, 3);
    patient.Settings().Get_ExeSet(CExercise::WY).Flags = 2; // no word has category bit 1
    Run([this] {
        EXPECT_FALSE(IsEnabled(therapy->HintButton()));
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(Wy().ChoiceLabels[static_cast<size_t>(i)]->isVisible());
        Wy().ChoiceClicked(0);
        EXPECT_FALSE(Wy().Tasks[0].Solved);
    });
}

} // namespace
