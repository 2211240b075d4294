// The result window: figures, the tiled frame, the answers, the skin reload.
#include "app/DisplayMode.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"
#include "statistics/CStatEx.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"
#include "therapy/TherapyFixture.h"

#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ResultWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { SetDisplayModeFor(1280, 1024); }
    void SetUp() override
    {
        SetDisplayModeFor(1280, 1024);
        ColorMode = CM_COLOR;
        ASSERT_TRUE(therapy_fixture::WriteWindowSkins(dir.file("grwin.bc"), dir.file("bttofa.bc")));
        ASSERT_EQ(windows.Open(dir.file("grwin.bc"), false), 0);
        ASSERT_EQ(buttons.Open(dir.file("bttofa.bc"), false), 0);
        form = std::make_unique<TFormStat>(&windows, &buttons);
    }
    void TearDown() override { ColorMode = CM_COLOR; }

    // A therapy of the given exercises, each of `lz` tasks.
    void Therapy(std::initializer_list<int> chosen, int lz)
    {
        for (int i : chosen) {
            settings.SetSelected(i, true);
            settings.Get_ExeSet(i).LZ = lz;
        }
        statistics.Reset(&settings);
    }

    TempDir dir;
    CBitmapsContainer windows;
    CBitmapsContainer buttons;
    std::unique_ptr<TFormStat> form;
    CTherapySettings settings;
    CStatistics statistics;
};

TEST_F(ResultWindowTest, FiguresOfAScoredTherapy)
{
    Therapy({CTherapySettings::WY}, 4);
    CStatEx* wy = statistics.Get_P_StatEx(CTherapySettings::WY);
    wy->Rozw = 3;
    wy->Blad = 1;
    wy->Pomoc = 2;
    wy->PomocMax = 8;
    wy->Czas = 3725;
    form->FillResults(statistics);
    EXPECT_EQ(form->lbLZ->text(), "4");
    EXPECT_EQ(form->lbRozw->text(), "3");
    EXPECT_EQ(form->lbBezblednie->text(), "2");
    EXPECT_EQ(form->lbBlad->text(), "1");
    EXPECT_EQ(form->lbNieRozw->text(), "1");
    EXPECT_EQ(form->lbPoprawnosc->text(), QString::number(statistics.AverageCorrectness()) + "%");
    EXPECT_EQ(form->lbPomoc->text(), QString::number(statistics.AveragePomoc()) + "%");
    EXPECT_EQ(form->lbCzas->text(), "6min 12s");
}

TEST_F(ResultWindowTest, RepetitionOnlyTherapyShowsOnlyTime)
{
    Therapy({CTherapySettings::WYL}, 5);
    statistics.Get_P_StatEx(CTherapySettings::WYL)->Czas = 50;
    form->FillResults(statistics);
    EXPECT_EQ(form->lbLZ->text(), "0");
    EXPECT_EQ(form->lbPoprawnosc->text(), "0%");
    EXPECT_EQ(form->lbPomoc->text(), "0%");
    EXPECT_EQ(form->lbRozw->text(), "0");
    EXPECT_EQ(form->lbCzas->text(), "0min 5s");
}

TEST_F(ResultWindowTest, FrameIsTiledFromTheSkin)
{
    // Corners, the edge slices ending at the middle, and the rest, each its own colour.
    QImage skin(200, 200, QImage::Format_BGR888);
    skin.fill(Qt::white);
    QPainter p(&skin);
    p.fillRect(0, 0, 65, 125, Qt::red);
    p.fillRect(135, 0, 65, 125, Qt::green);
    p.fillRect(0, 135, 65, 65, Qt::blue);
    p.fillRect(135, 135, 65, 65, Qt::yellow);
    p.fillRect(40, 0, 60, 65, Qt::magenta);
    p.fillRect(40, 65, 60, 60, Qt::darkMagenta);
    p.fillRect(40, 135, 60, 65, Qt::cyan);
    p.end();
    const int w = TFormStat::ClientWidth;
    const int h = TFormStat::ClientHeight;
    const QImage f = TFormStat::ComposeFrame(skin, w, h);
    auto at = [&f](int x, int y) { return QColor(f.pixel(x, y)); };
    EXPECT_EQ(at(0, 0), QColor(Qt::red));
    EXPECT_EQ(at(w - 1, 124), QColor(Qt::green));
    EXPECT_EQ(at(0, h - 1), QColor(Qt::blue));
    EXPECT_EQ(at(w - 1, h - 65), QColor(Qt::yellow));
    for (int x : {65, 300, w - 66}) {
        EXPECT_EQ(at(x, 10), QColor(Qt::magenta)) << x;
        EXPECT_EQ(at(x, h - 10), QColor(Qt::cyan)) << x;
        // The middle repeats rows 65 to 125 of the composed top.
        EXPECT_EQ(at(x, 300), QColor(Qt::darkMagenta)) << x;
        EXPECT_EQ(at(x, h - 66), QColor(Qt::darkMagenta)) << x;
    }
    EXPECT_EQ(at(10, 300), QColor(Qt::red));
    EXPECT_EQ(at(w - 10, 300), QColor(Qt::green));
}

TEST_F(ResultWindowTest, TakEndsAndNieGoesOn)
{
    Therapy({CTherapySettings::WY}, 1);
    for (bool tak : {false, true}) {
        QTimer::singleShot(0, [this, tak] {
            EXPECT_TRUE(form->isVisible());
            // Centred on the screen.
            EXPECT_EQ(form->pos(), QPoint(1280 / 2 - 262, 1024 / 2 - 277));
            QWidget* b = tak ? static_cast<QWidget*>(form->TakButton()) : form->NieButton();
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(32, 32));
        });
        EXPECT_EQ(form->ShowResults(statistics), tak);
        EXPECT_FALSE(form->isVisible());
    }
}

TEST_F(ResultWindowTest, ReloadSkinsFollowsTheColourMode)
{
    const QColor colour(form->TakButton()->NormalBitmap().Image()->pixel(10, 10));
    ASSERT_NE(colour.red(), colour.blue());
    ColorMode = CM_MONO;
    form->ReloadSkins();
    EXPECT_TRUE(form->NeedsCompose());
    const QColor grey(form->TakButton()->NormalBitmap().Image()->pixel(10, 10));
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.red(), grey.blue());
    form->show();
    EXPECT_FALSE(form->NeedsCompose());
    form->hide();
}

} // namespace
