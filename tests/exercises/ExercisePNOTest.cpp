// Automatic paging of a repetition exercise in the therapy window itself, and
// the labels of every exercise after a change of the colour mode.
#include "controls/CKompLabel.h"
#include "exercises/CExercisePNC.h"
#include "exercises/CExercisePNO.h"
#include "graphics/CGraphTimer.h"
#include "graphics/CSharedKomps.h"
#include "therapy/TherapyTestBase.h"

#include <map>

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

TEST_F(ExercisePNOTest, EveryLabelOfEveryExerciseFollowsTheColourMode)
{
    Choose({CTherapySettings::PNO});
    patient.Settings().Get_ExeSet(CTherapySettings::PNO) = {1, 2,
                                                            1 | CTherapySettings::ManualPagingBit};
    // The middle of each skinned label's normal look.
    auto looks = [this] {
        std::map<const CKompLabel*, QRgb> middle;
        for (const QWidget* w : therapy->findChildren<QWidget*>())
            if (const auto* label = dynamic_cast<const CKompLabel*>(w))
                if (const QImage* image = label->NormalImage.Image(); image && !image->isNull())
                    middle[label] = image->pixel(image->width() / 2, image->height() / 2);
        return middle;
    };
    auto isGrey = [](QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); };
    Run([] {});
    const auto colour = looks();
    const CKompLabel* name =
        static_cast<CExercisePNO*>(therapy->Exercise(CExercise::PNO))->NameLabel.get();
    const CKompLabel* caption =
        static_cast<CExercisePNC*>(therapy->Exercise(CExercise::PNC))->CaptionLabel.get();
    for (const CKompLabel* label : {name, caption}) {
        ASSERT_TRUE(colour.count(label));
        EXPECT_FALSE(isGrey(colour.at(label)));
    }

    ColorMode = CM_MONO;
    Run([] {});
    const auto grey = looks();
    EXPECT_EQ(grey.size(), colour.size());
    for (const auto& [label, c] : grey)
        EXPECT_TRUE(isGrey(c)) << std::hex << c << (label == name ? " PNO's name" : "")
                               << (label == caption ? " PNC's caption" : "");

    ColorMode = CM_COLOR;
    Run([] {});
    EXPECT_EQ(looks(), colour);
}
