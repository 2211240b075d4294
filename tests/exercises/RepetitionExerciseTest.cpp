// The recitation of PP, the films of PNC and the cards of WYL; a page turn's
// repaint.
#include "ContentSoundLog.h"
#include "RepetitionExerciseFixture.h"
#include "controls/CKompLabel.h"
#include "exercises/CExercisePNC.h"
#include "exercises/CExercisePNO.h"
#include "exercises/CExercisePP.h"
#include "exercises/CExerciseWYL.h"
#include "graphics/CTransButton.h"

#include <QHash>
#include <QPaintEvent>
#include <QSet>
#include <QTimer>

using namespace repetition_fixture;

namespace {

// Counts the paint events of a window's widgets while it lives.
class CPaintCounter : public QObject
{
public:
    explicit CPaintCounter(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }
    ~CPaintCounter() override { qApp->removeEventFilter(this); }
    // The widgets painted more than once, by class.
    QString PaintedTwice() const
    {
        QStringList twice;
        for (auto it = m_paints.begin(); it != m_paints.end(); ++it)
            if (it.value() > 1)
                twice << QStringLiteral("%1 %2 times")
                             .arg(QLatin1String(it.key()->metaObject()->className()))
                             .arg(it.value());
        return twice.join(QStringLiteral(", "));
    }
    bool Painted(const QWidget* w) const { return m_paints.value(w) > 0; }
    QRegion PaintedRegion(const QWidget* w) const { return m_regions.value(w); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && w && w->window() == m_window) {
            ++m_paints[w];
            m_regions[w] += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

private:
    QWidget* m_window;
    QHash<const QWidget*, int> m_paints;
    QHash<const QWidget*, QRegion> m_regions;
};

} // namespace

// On a screen that shows the design larger every paint of a control smooths
// its pixels again: a page turn paints each control at most once (those that
// show something new once), and shows it as the new task has it (PP's labels
// unlit even when the turn cut a recitation short).
TEST_F(RepetitionExerciseTest, PageTurnPaintsEachControlOnce)
{
    settings.Get_ExeSet(CTherapySettings::PP) = {2, 6, 1 | CTherapySettings::ManualPagingBit};
    settings.Get_ExeSet(CTherapySettings::PNO) = {2, 6, 1 | CTherapySettings::ManualPagingBit};
    auto& pp = Make<CExercisePP>(CExercise::PP);
    auto& pno = Make<CExercisePNO>(CExercise::PNO);
    Run({&pp, &pno});
    const QPoint inside = pp.BeginLabel->geometry().topLeft() - area->pos() + QPoint(5, 5);
    struct SStep
    {
        CExercise* exercise;
        std::vector<QWidget*> changed; // controls that show something new
        bool lit;                      // PP's beginning lit when the page turns
    };
    const SStep steps[] = {
        {&pp, {pp.BeginLabel.get(), pp.EndLabel.get()}, true},
        {&pno, {pno.NameLabel.get()}, false}, // the fixture has no photos
    };
    for (const SStep& step : steps) {
        SCOPED_TRACE(step.exercise == &pp ? "PP" : "PNO");
        if (step.exercise == &pno)
            pager.Forward(); // into PNO, its first task
        QTest::qWait(20);
        if (step.lit)
            pp.BeginLabel->SetState(CExercisePP::Lit, true);
        const CPaintCounter counter(host.get());
        pager.Forward();
        QTest::qWait(20);
        ASSERT_EQ(step.exercise->TaskIndex, 1);
        for (QWidget* control : step.changed)
            EXPECT_TRUE(counter.Painted(control));
        EXPECT_TRUE(counter.PaintedTwice().isEmpty()) << counter.PaintedTwice().toStdString();
        if (step.exercise == &pp) {
            // The proverbs differ in their last words: the rest of the
            // ending's label is not painted again.
            const QRegion painted = counter.PaintedRegion(pp.EndLabel.get());
            EXPECT_FALSE(painted.contains(QPoint(2, 2)));
            EXPECT_LT(painted.boundingRect().width(), pp.EndLabel->width());
        }
        if (step.lit) {
            EXPECT_EQ(pp.BeginLabel->State, CExercisePP::Normal);
            EXPECT_NE(At(inside.x(), inside.y()), LitColour | 0xff000000u);
        }
    }
    pager.Close();
}

TEST_F(RepetitionExerciseTest, PageTurnCutsTheRecitationShortBeforeTheEnding)
{
    settings.Get_ExeSet(CTherapySettings::PP) = {2, 6, 1 | CTherapySettings::ManualPagingBit};
    auto& pp = Make<CExercisePP>(CExercise::PP);
    Run({&pp});
    EXPECT_EQ(pp.BeginLabel->Text, pp.Tasks[0].Proverb->Pocz + " ...");
    EXPECT_EQ(pp.EndLabel->Text, "... " + pp.Tasks[0].Proverb->Kon);
    const CRecProverb& first = *pp.Tasks[0].Proverb;
    const CRecProverb& second = *pp.Tasks[1].Proverb;
    bool endLitWhileSpoken = false;
    CPathLog log([&] {
        if (LastWvPath() == "Data/ps/" + second.SoundKon && pp.EndLabel->State == CExercisePP::Lit)
            endLitWhileSpoken = true;
    });

    // 0.5 s after the page is shown the beginning (0.7 s long) is being
    // spoken; the page turns in the middle of it.
    bool beginLit = false, busyBefore = false, busyAfter = true;
    int beginAfter = -1;
    QTimer::singleShot(CExercisePP::AnnounceDelayMs + 300, host.get(), [&] {
        beginLit = pp.BeginLabel->State == CExercisePP::Lit;
        busyBefore = ContentSoundBusy();
        pager.Forward();
        busyAfter = ContentSoundBusy();
        beginAfter = pp.BeginLabel->State;
    });
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return log.Paths.contains("Data/ps/" + second.SoundKon); }, 4000));
    (void)QTest::qWaitFor([&] { return pp.EndLabel->State == CExercisePP::Normal; }, 2000);
    EXPECT_EQ(pp.EndLabel->State, CExercisePP::Normal);
    EXPECT_TRUE(beginLit);
    EXPECT_TRUE(busyBefore);
    EXPECT_FALSE(busyAfter) << "the turn stops the beginning at once";
    EXPECT_EQ(beginAfter, CExercisePP::Normal);
    EXPECT_FALSE(log.Paths.contains("Data/ps/" + first.SoundKon))
        << log.Paths.join(", ").toStdString();
    EXPECT_EQ(log.Paths.filter("Data/ps/").join(","),
              QStringList({"Data/ps/" + first.SoundPocz, "Data/ps/" + second.SoundPocz,
                           "Data/ps/" + second.SoundKon})
                  .join(","));
    EXPECT_TRUE(endLitWhileSpoken);
    EXPECT_EQ(pp.BeginLabel->Text, second.Pocz + " ...");
    pager.Close();
    EXPECT_FALSE(pp.BeginLabel->isVisible());
}

TEST_F(RepetitionExerciseTest, RecitingLightsTheLabelsAndTheRightButtonRepeatsAHalf)
{
    settings.Get_ExeSet(CTherapySettings::PP) = {1, 6, 1 | CTherapySettings::ManualPagingBit};
    auto& pp = Make<CExercisePP>(CExercise::PP);
    Run({&pp});
    EXPECT_TRUE(pp.BeginLabel->NoPressedImage);
    const QPoint inside = pp.BeginLabel->geometry().topLeft() - area->pos() + QPoint(5, 5);
    EXPECT_NE(At(inside.x(), inside.y()), LitColour | 0xff000000u);
    bool litSeen = false;
    QTimer::singleShot(CExercisePP::AnnounceDelayMs + 200,
                       [&] { litSeen = At(inside.x(), inside.y()) == (LitColour | 0xff000000u); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return LastWvPath() == "Data/ps/" + pp.Tasks[0].Proverb->SoundKon; }, 3000));
    EXPECT_TRUE(litSeen) << "the beginning is drawn lit while spoken";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ContentSoundBusy(); }, 2000));
    QTest::mousePress(pp.BeginLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ps/" + pp.Tasks[0].Proverb->SoundPocz);
    QTest::mousePress(pp.EndLabel.get(), Qt::RightButton);
    EXPECT_EQ(LastWvPath(), "Data/ps/" + pp.Tasks[0].Proverb->SoundKon);
    pager.Close();
}

TEST_F(RepetitionExerciseTest, WylGivesDaysAndDigitsInOrderOrShuffled)
{
    auto& wyl = Make<CExerciseWYL>(CExercise::WYL);
    const int chosen = CTherapySettings::WylDaysBit | CTherapySettings::WylDigitsBit |
                       CTherapySettings::ManualPagingBit;
    settings.Get_ExeSet(CTherapySettings::WYL) = {17, 2, chosen};
    wyl.Prepare(settings);
    ASSERT_EQ(wyl.TaskCount, 17);
    ASSERT_EQ(wyl.Tasks.Count(), 17);
    QStringList ordered;
    for (const auto& t : wyl.Tasks)
        ordered << CExerciseWYL::ElementSound(t);
    QStringList expected;
    for (int d = 1; d <= 7; ++d)
        expected << QString("Data/dml/d%1").arg(d);
    for (int l = 1; l <= 10; ++l)
        expected << QString("Data/dml/l%1").arg(l);
    EXPECT_EQ(ordered, expected);

    settings.Get_ExeSet(CTherapySettings::WYL).Flags |= CTherapySettings::WylRandomBit;
    wyl.Prepare(settings);
    ASSERT_EQ(wyl.TaskCount, 17);
    QStringList shuffled;
    for (const auto& t : wyl.Tasks)
        shuffled << CExerciseWYL::ElementSound(t);
    EXPECT_NE(shuffled, expected);
    shuffled.sort();
    expected.sort();
    EXPECT_EQ(shuffled, expected) << "the same 17 elements";
}

TEST_F(RepetitionExerciseTest, WylDrawsItsCardsThroughTheirMasks)
{
    auto& wyl = Make<CExerciseWYL>(CExercise::WYL);
    settings.Get_ExeSet(CTherapySettings::WYL) = {17, 2,
                                                  CTherapySettings::WylDaysBit |
                                                      CTherapySettings::WylDigitsBit |
                                                      CTherapySettings::ManualPagingBit};
    Run({&wyl});
    const QRgb back = qRgb(119, 129, 179) | 0xff000000u;
    auto at = [&](QPoint p, int dx) { return At(p.x() + dx, p.y() + 10); };
    // The first day's card: its left half shows, its right half is cut away.
    EXPECT_EQ(wyl.DayPos, QPoint(381, 92));
    EXPECT_EQ(at(wyl.DayPos, 10), CardColour(125) | 0xff000000u);
    EXPECT_EQ(at(wyl.DayPos, 150), back);
    EXPECT_TRUE(wyl.Face && !wyl.FaceB);
    while (pager.ForwardEnabled)
        pager.Forward();
    ASSERT_EQ(wyl.TaskIndex, 16);
    // The tenth digit: three cards side by side.
    ASSERT_TRUE(wyl.Face && wyl.FaceB && wyl.FaceC);
    EXPECT_EQ(at(wyl.DigitPosA, 10), CardColour(104) | 0xff000000u);
    EXPECT_EQ(at(wyl.DigitPosB, 10), CardColour(124) | 0xff000000u);
    EXPECT_EQ(at(wyl.DigitPosC, 10), CardColour(114) | 0xff000000u);
    EXPECT_EQ(at(wyl.DigitPosB, 80), back);
    EXPECT_EQ(at(wyl.DayPos, 150), back) << "no day card any more";
    (void)QTest::qWaitFor([&] { return LastWvPath() == QString("Data/dml/l10"); }, 1000);
    EXPECT_EQ(LastWvPath(), QString("Data/dml/l10"));
    pager.Close();
    EXPECT_FALSE(wyl.Face);
}

TEST_F(RepetitionExerciseTest, PncPlaysCaptionThenFilmAndLeavesTheFilmScrambled)
{
    if (!HaveFilms())
        GTEST_SKIP() << "ffmpeg could not make the test film";
    settings.Get_ExeSet(CTherapySettings::PNC) = {
        3, 12, 1 | CTherapySettings::ManualPagingBit | CTherapySettings::ActionWhatDoesBit};
    auto& pnc = Make<CExercisePNC>(CExercise::PNC);
    QStringList opened;
    CPathLog log([&] {
        if (opened.isEmpty() || opened.last() != tv->FileName())
            opened << tv->FileName();
    });
    Run({&pnc});
    EXPECT_TRUE(tv->isVisible());
    EXPECT_TRUE(pnc.ReplayButton->isVisible());
    const int first = pnc.Tasks[0].Action->ID;
    EXPECT_EQ(pnc.CaptionLabel->Text, pnc.Tasks[0].Action->Podpis2);
    EXPECT_EQ(pnc.CaptionLabel->Text.toLower(), QString("robi %1").arg(first)) << "\"Co robi?\"";
    ASSERT_TRUE(QTest::qWaitFor([&] { return tv->FilmPlaying; }, 3000));
    EXPECT_EQ(LastWvPath(), QString("Data/as/p2_%1").arg(first));
    EXPECT_EQ(tv->FileName(), QString("Data/asm/%1.mpg").arg(first));
    EXPECT_TRUE(FilmIsPlain(first)) << "plain on disk while open";

    // Two quick turns: the film halts at once; only the last task's opens.
    pager.Forward();
    EXPECT_FALSE(tv->FilmPlaying);
    QTest::qWait(200);
    pager.Forward();
    const int last = pnc.Tasks[2].Action->ID;
    ASSERT_TRUE(QTest::qWaitFor([&] { return tv->FilmPlaying; }, 3000));
    EXPECT_EQ(tv->FileName(), QString("Data/asm/%1.mpg").arg(last));
    opened.removeAll(QString());
    EXPECT_EQ(opened, QStringList({QString("Data/asm/%1.mpg").arg(first),
                                   QString("Data/asm/%1.mpg").arg(last)}));
    EXPECT_FALSE(FilmIsPlain(first)) << "the film left is scrambled again";

    // The replay button: caption, then the film again from its start.
    PlayWv("Data/none", true);
    QTest::mouseClick(pnc.ReplayButton.get(), Qt::LeftButton);
    EXPECT_EQ(LastWvPath(), QString("Data/as/p2_%1").arg(last));
    EXPECT_TRUE(tv->FilmPlaying);

    pager.Close();
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_FALSE(tv->isVisible());
    EXPECT_FALSE(pnc.ReplayButton->isVisible());
    for (int id = 1; id <= ActionCount; ++id)
        EXPECT_FALSE(FilmIsPlain(id)) << "film " << id;
}

TEST_F(RepetitionExerciseTest, PncCaptionFollowsTheSettingAndTheButtonIsDrawn)
{
    settings.Get_ExeSet(CTherapySettings::PNC) = {1, 12, 1 | CTherapySettings::ManualPagingBit};
    auto& pnc = Make<CExercisePNC>(CExercise::PNC);
    Run({&pnc});
    const int id = pnc.Tasks[0].Action->ID;
    EXPECT_EQ(pnc.CaptionLabel->Text, pnc.Tasks[0].Action->Podpis1);
    EXPECT_EQ(pnc.CaptionLabel->Text.toLower(), QString("przedstawia %1").arg(id));
    // The button's look is in the exercise bitmap, at its place in the area.
    const QPoint b = pnc.ReplayButton->pos() - area->pos() + QPoint(20, 20);
    EXPECT_EQ(At(b.x(), b.y()), qRgb(30, 30, 82) | 0xff000000u);
    PlayWv("Data/none", true);
    QTest::mousePress(pnc.CaptionLabel.get(), Qt::LeftButton);
    EXPECT_EQ(LastWvPath(), QString("Data/as/p1_%1").arg(id));
    pager.Close();
}

TEST_F(RepetitionExerciseTest, GreyModeReloadsTheLitLookAndTheReplayButton)
{
    settings.Get_ExeSet(CTherapySettings::PP) = {1, 6, 1 | CTherapySettings::ManualPagingBit};
    settings.Get_ExeSet(CTherapySettings::PNC) = {1, 12, 1 | CTherapySettings::ManualPagingBit};
    auto& pp = Make<CExercisePP>(CExercise::PP);
    auto& pnc = Make<CExercisePNC>(CExercise::PNC);
    ColorMode = CM_MONO;
    pp.ApplyColourMode();
    pnc.ApplyColourMode();
    EXPECT_EQ(pp.BackColor, CExercise::MonoBackColor);
    EXPECT_TRUE(pp.BeginLabel->NoPressedImage) << "dropped again after reloading";

    Run({&pp, &pnc});
    EXPECT_EQ(At(2, 2), qRgb(48, 48, 48) | 0xff000000u);
    const QPoint inside = pp.BeginLabel->geometry().topLeft() - area->pos() + QPoint(5, 5);
    QRgb lit = 0;
    QTimer::singleShot(CExercisePP::AnnounceDelayMs + 200, host.get(),
                       [&] { lit = At(inside.x(), inside.y()); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return lit != 0; }, 3000));
    EXPECT_EQ(lit, qRgb(200, 200, 200) | 0xff000000u) << "the grey mode's own lit image";

    pager.Forward();
    ASSERT_EQ(pager.Current, 1);
    const QPoint b = pnc.ReplayButton->pos() - area->pos() + QPoint(20, 20);
    EXPECT_EQ(At(b.x(), b.y()), qRgb(36, 36, 36) | 0xff000000u) << "the button turned grey";
    pager.Close();
}
