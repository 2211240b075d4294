// The exercises with a picture, each alone in a therapy of three tasks: the
// arrows show the other task on the screen, the picture and the other controls
// over the exercise area included, not only in the exercise bitmap.
#include "exercises/CExercise.h"
#include "therapy/TherapyTestBase.h"

#include <QScreen>

namespace {

struct SCase
{
    int exercise;
    const char* name;
    // False where the fixture's tasks look alike at first (ZO keeps the
    // picture covered until the riddle is solved).
    bool looksDifferent;
};

class TaskChangeRedrawTest : public TherapyTestBase, public ::testing::WithParamInterface<SCase>
{
protected:
    // What the window has on the screen, once the pending updates are done.
    QImage Screen()
    {
        QTest::qWait(30);
        return therapy->screen()
            ->grabWindow(therapy->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .copy(); // the screen's own buffer goes on changing
    }
    // What the window shows when every widget is painted afresh.
    QImage Fresh() { return therapy->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Every word gets a riddle, so that ZO has tasks too.
    void DescribeWords()
    {
        CDbConnection db;
        db.Connect(dir.path() + "/Data/sdrow.qp");
        db.Execute("UPDATE Slowa SET Opis = 'zagadka ' || Nazwa", {});
        db.Disconnect();
    }
};

TEST_P(TaskChangeRedrawTest, ArrowsShowTheOtherTaskOnTheScreen)
{
    const int exercise = GetParam().exercise;
    DescribeWords();
    Choose({exercise});
    patient.Settings().Get_ExeSet(exercise).LZ = 3;
    Run([this, exercise] {
        CExercise& current = *therapy->Exercise(exercise);
        ASSERT_EQ(therapy->CurrentIndex(), exercise);
        ASSERT_GE(current.TaskCount, 2);
        const QRect area = therapy->pbExercise->geometry();
        const QImage first = Screen();
        ASSERT_EQ(first, Fresh());

        Click(therapy->ForwardButton());
        ASSERT_EQ(current.TaskIndex, 1);
        EXPECT_TRUE(IsEnabled(therapy->BackButton()));
        const QImage second = Screen();
        // Nothing of the first task is left on the screen.
        EXPECT_EQ(second, Fresh());
        if (GetParam().looksDifferent) {
            EXPECT_NE(second.copy(area), first.copy(area));
        }

        Click(therapy->BackButton());
        ASSERT_EQ(current.TaskIndex, 0);
        const QImage again = Screen();
        EXPECT_EQ(again, Fresh());
        EXPECT_EQ(again.copy(area), first.copy(area));
    });
}

INSTANTIATE_TEST_SUITE_P(PhotoExercises, TaskChangeRedrawTest,
                         ::testing::Values(SCase{CExercise::WY, "WY", true},
                                           SCase{CExercise::UK, "UK", true},
                                           SCase{CExercise::WP, "WP", true},
                                           SCase{CExercise::ZO, "ZO", false},
                                           SCase{CExercise::PNO, "PNO", true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
