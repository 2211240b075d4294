#include "graphics/CDelayCall.h"
#include "graphics/CGraphTimer.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, int v)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(QColor(v, v, v));
    return img;
}

TEST(GraphTimer, StartPauseResumeStop)
{
    CGraphTimer t(0, 0);
    EXPECT_FALSE(t.IsRunning());
    t.Pause(); // stopped: nothing
    EXPECT_FALSE(t.IsPaused());
    t.Resume(); // stopped, not paused: nothing
    EXPECT_FALSE(t.IsRunning());
    t.Start(700);
    EXPECT_TRUE(t.IsRunning());
    EXPECT_EQ(t.Interval(), 700);
    t.Pause();
    t.Pause();
    EXPECT_TRUE(t.IsPaused());
    EXPECT_FALSE(t.IsRunning());
    t.Resume();
    EXPECT_TRUE(t.IsRunning());
    EXPECT_FALSE(t.IsPaused());
    t.Start(-1);
    EXPECT_EQ(t.Interval(), 700);
    t.Pause();
    t.Stop();
    EXPECT_FALSE(t.IsPaused());
    t.Resume();
    EXPECT_FALSE(t.IsRunning());
}

TEST(GraphTimer, ResumeWhileRunningRestartsTheInterval)
{
    CGraphTimer t(0, 0);
    int ticks = 0;
    t.SetOnTimer([&] { ++ticks; });
    t.Start(400);
    QTest::qWait(250);
    t.Resume(); // the next tick is a full interval from here
    QTest::qWait(250);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 1; }, 2000));
    // Changing the handler keeps a running timer running.
    int other = 0;
    t.SetOnTimer([&] { ++other; });
    EXPECT_TRUE(t.IsRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return other >= 1; }, 2000));
}

TEST(GraphTimer, DrawsOnlyWhileRunning)
{
    CGraphTimer t(2, 3);
    t.Picture().SetImage(std::make_unique<QImage>(Solid(4, 4, 200)));
    auto mask = std::make_unique<QImage>(4, 4, QImage::Format_Grayscale8);
    mask->fill(255u);
    t.Picture().SetMask(std::move(mask));
    const QImage bg = Solid(10, 10, 10);
    QImage dest = Solid(10, 10, 0);
    t.Draw(dest, bg);
    EXPECT_EQ(dest.pixelColor(3, 4).red(), 0);
    t.Start(10000);
    t.Pause();
    t.Draw(dest, bg);
    EXPECT_EQ(dest.pixelColor(3, 4).red(), 0);
    t.Resume();
    t.Draw(dest, bg);
    EXPECT_EQ(dest.pixelColor(3, 4).red(), 200);
    EXPECT_EQ(dest.pixelColor(1, 4).red(), 0);
    EXPECT_EQ(dest.pixelColor(6, 4).red(), 0);
}

TEST(DelayCall, ASecondCallRestartsTheWait)
{
    CDelayCall d;
    EXPECT_EQ(d.Interval(), 100);
    int calls = 0;
    d.Callback = [&] { ++calls; };
    d.Call(300);
    QTest::qWait(150);
    d.Call(300);
    EXPECT_TRUE(d.IsPending());
    QTest::qWait(220); // the first wait would have ended by now
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));
    EXPECT_FALSE(d.IsPending());
    QTest::qWait(400);
    EXPECT_EQ(calls, 1); // once only
    d.Call(0);           // keeps 300
    EXPECT_EQ(d.Interval(), 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 2000));
    CDelayCall empty; // no callback: the tick just ends the wait
    empty.Call(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !empty.IsPending(); }, 2000));
}

} // namespace
