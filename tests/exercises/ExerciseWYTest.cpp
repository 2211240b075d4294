// WY's tasks: where the right name goes, distractors that do not repeat,
// categories with too few words, and what the patient hears and sees of the
// names.
#include "ContentSoundLog.h"
#include "controls/CKompLabel.h"
#include "exercises/CExerciseWY.h"
#include "therapy/TherapyTestBase.h"

#include <QElapsedTimer>
#include <QSet>

namespace {

class ExerciseWYTest : public TherapyTestBase
{
protected:
    CExerciseWY& Wy() { return *static_cast<CExerciseWY*>(therapy->Exercise(CExercise::WY)); }
    CKompLabel* Name(int i) { return Wy().ChoiceLabels[static_cast<size_t>(i)].get(); }
    static void RightPress(QWidget* w)
    {
        QTest::mousePress(w, Qt::RightButton, {}, w->rect().center());
        QTest::mouseRelease(w, Qt::RightButton, {}, w->rect().center());
    }
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

TEST_F(ExerciseWYTest, TheWordIsHeardToItsEndBeforeThePraise)
{
    Choose({CExercise::WY}, 1, 2);
    constexpr int WordMs = 400;
    for (const QString& name : therapy_fixture::WordNames())
        ASSERT_TRUE(WriteSound("Data/ws/" + name, WordMs));
    qint64 took = -1;
    QString last;
    Run([&] {
        PlayWv("Data/none", true);
        QElapsedTimer t;
        t.start();
        Click(Name(Wy().Tasks[0].Correct));
        took = t.elapsed();
        last = LastWvPath();
    });
    EXPECT_TRUE(last.startsWith("Data/sp/g")) << "the praise comes last: " << last.toStdString();
    // The praise pause is 0 here: only the word's wait takes this long.
    EXPECT_GE(took, WordMs - 50) << "the praise did not wait for the word";
}

TEST_F(ExerciseWYTest, TheRightButtonOnANamePlaysThatName)
{
    Choose({CExercise::WY}, 1, 4);
    Run([this] {
        const CExerciseWY::SWYTask& task = Wy().Tasks[0];
        Click(Name((task.Correct + 1) % 4)); // a ruled-out name is still heard
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            PlayWv("Data/none", true);
            RightPress(Name(i));
            EXPECT_EQ(LastWvPath(), "Data/ws/" + task.Choices[static_cast<size_t>(i)]->Nazwa);
        }
        EXPECT_FALSE(task.Solved) << "the right button answers nothing";
    });
}

TEST_F(ExerciseWYTest, ARuledOutNameIsDimmedAndDeaf)
{
    Choose({CExercise::WY}, 1, 3);
    Run([this] {
        const CExerciseWY::SWYTask& task = Wy().Tasks[0];
        const int wrong = (task.Correct + 1) % 3;
        Click(Name(wrong));
        const CKompLabel& label = *Name(wrong);
        EXPECT_EQ(label.TextColor, QColor(32, 32, 32));
        EXPECT_FALSE(label.Reactive);
        EXPECT_EQ(label.State, 1) << "the pressed look";
        EXPECT_EQ(Name(task.Correct)->TextColor, QColor(Qt::black));
    });
}

} // namespace
