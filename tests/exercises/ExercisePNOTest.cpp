// Automatic paging of a repetition exercise in the therapy window itself.
#include "exercises/CExercisePNO.h"
#include "graphics/CGraphTimer.h"
#include "graphics/CSharedKomps.h"
#include "therapy/TherapyTestBase.h"

namespace {

class ExercisePNOTest : public TherapyTestBase
{
};

} // namespace

TEST_F(ExercisePNOTest, TheTimerPagesToTheLastTaskAndStops)
{
    Choose({CTherapySettings::PNO});
    // The shortest interval the settings can hold: one second.
    patient.Settings().Get_ExeSet(CTherapySettings::PNO) = {3, 1, 1};
    int reached = -1;
    bool runningAtStart = false, drawnAtStart = false, drawnAtEnd = true, stoppedAtEnd = false;
    bool forwardAtEnd = true;
    Run([&] {
        auto* pno = static_cast<CExercisePNO*>(therapy->CurrentExercise());
        ASSERT_EQ(therapy->CurrentIndex(), CExercise::PNO);
        CGraphTimer* timer = pno->Shared->GraphTimer;
        const QImage& bitmap = therapy->ExerciseBitmap();
        const QPoint inTimer(bitmap.width() - 50 + 22, bitmap.height() - 50 + 22);
        const QRgb timerColour = therapy_fixture::SkinImage(QSize(1, 1), false, 218).pixel(0, 0);
        auto timerShown = [&] { return bitmap.pixel(inTimer) == timerColour; };
        runningAtStart = timer->IsRunning() && timer->Interval() == 1000;
        drawnAtStart = timerShown();
        (void)QTest::qWaitFor([&] { return pno->TaskIndex == 2; }, 5000);
        QTest::qWait(1200);
        reached = pno->TaskIndex;
        stoppedAtEnd = !timer->IsRunning() && !timer->IsPaused();
        drawnAtEnd = timerShown();
        forwardAtEnd = IsEnabled(therapy->ForwardButton());
    });
    EXPECT_TRUE(runningAtStart);
    EXPECT_TRUE(drawnAtStart);
    EXPECT_EQ(reached, 2);
    EXPECT_TRUE(stoppedAtEnd);
    EXPECT_FALSE(drawnAtEnd);
    EXPECT_FALSE(forwardAtEnd);
}
