#include "ControlsFixture.h"
#include "controls/CHamowanie.h"
#include "controls/CKompTable.h"
#include "controls/CTableBlock.h"
#include "controls/CTableBox.h"
#include "graphics/CDynamicPlace.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <array>
#include <cmath>

using namespace fixture;

TEST(Hamowanie, BrakesQuadraticallyToTheEnd)
{
    CHamowanie h;
    h.Begin(0, 100, 10);
    std::vector<int> got;
    for (int i = 0; i < 12; ++i)
        got.push_back(CHamowanie::Round(h.NextValue()));
    EXPECT_EQ(got, (std::vector<int>{19, 36, 51, 64, 75, 84, 91, 96, 99, 100, 100, 100}));

    for (int n : {1, 0, -3}) {
        h.Begin(40, -8, n);
        EXPECT_EQ(h.Steps, 1) << n;
        EXPECT_EQ(h.NextValue(), -8.0f) << n;
    }
    h.Begin(200, 100, 5); // backwards: 164, 136, 116, 104, 100
    std::vector<int> back;
    for (int i = 0; i < 5; ++i)
        back.push_back(CHamowanie::Round(h.NextValue()));
    EXPECT_EQ(back, (std::vector<int>{164, 136, 116, 104, 100}));
}

namespace {

// Records the regions the control paints.
class PaintLog : public QObject
{
public:
    std::vector<QRegion> regions;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
};

// Where a flying tile was shown: its position at each paint of the control,
// and when.
class FlightLog : public QObject
{
public:
    explicit FlightLog(const CTableBlock* tile) : m_tile(tile) { m_clock.start(); }
    std::vector<QPoint> at;
    std::vector<qint64> ns;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            at.emplace_back(m_tile->Left, m_tile->Top);
            ns.push_back(m_clock.nsecsElapsed());
        }
        return false;
    }

private:
    const CTableBlock* m_tile;
    QElapsedTimer m_clock;
};

// The k-th of n braked steps from start to end: end − (n − k)² × (end −
// start) / n², to the nearest pixel.
int Braked(int start, int end, int n, int k)
{
    const double v = end - double((n - k) * (n - k)) * (end - start) / double(n * n);
    return static_cast<int>(std::floor(v + 0.5));
}

// The flight in the log went from `from` to `to` through every braked step,
// each shown, the steps at least `stepMs` apart.
void ExpectBrakedFlight(const FlightLog& log, QPoint from, QPoint to, int steps, int stepMs)
{
    // The positions as they changed on the screen, and when each came.
    std::vector<QPoint> shown;
    std::vector<qint64> when;
    for (std::size_t i = 0; i < log.at.size(); ++i) {
        const QPoint p = log.at[i];
        if (p == from || (!shown.empty() && shown.back() == p))
            continue;
        shown.push_back(p);
        when.push_back(log.ns[i]);
    }
    std::vector<QPoint> expected;
    for (int k = 1; k <= steps; ++k)
        expected.emplace_back(Braked(from.x(), to.x(), steps, k),
                              Braked(from.y(), to.y(), steps, k));
    ASSERT_EQ(expected.back(), to);
    EXPECT_EQ(shown, expected);
    for (std::size_t k = 1; k < when.size(); ++k)
        EXPECT_GE(when[k] - when[k - 1], qint64(stepMs) * 1000000) << "step " << k + 1;
}

constexpr uint32_t Back = 0xE0E0E0;
constexpr uint32_t EmptyFrame = 0x808080;
constexpr uint32_t RightFrame = 0x00C000; // green
constexpr uint32_t WrongFrame = 0x0000C0; // red (0x00BBGGRR)

} // namespace

class TableTest : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        place.Add(PT_PLACE, 0);
        place.SetPlace(DM_1024, 20, 30, 360, 200, -1);
        for (uint32_t c : {Back, EmptyFrame, RightFrame, WrongFrame}) {
            place.Add(PT_COLOR, 0);
            place.SetColor(DM_1024, static_cast<int>(c), -1);
        }
        place.Set_iCurrent(1);
        komp = new CKompTable(host.get(), nullptr, target.get());
        komp->Place(place, 0, 0);
        komp->show();

        // The word KOT in three slots; the pool holds T, K, O and an extra A.
        for (QChar c : QStringLiteral("KOT"))
            box.AddSlot(std::make_unique<CTableBlock>(Letter(c)));
        box.LayOutSlots(0, 360, true, 6, 20);
        for (QChar c : QStringLiteral("TKOA"))
            pool.Blocks.PushBack(new CTableBlock(Letter(c)));
        pool.LayOutRow(0, 360, true, 10, 120);
        komp->SetTable(&pool);
        komp->SetBox(&box);
        komp->Repaint();
    }

    const QImage* Letter(QChar c) const
    {
        return komps->Letters[CSharedKomps::LetterIndex(c)].Bitmap.get();
    }
    CTableBlock* PoolTile(QChar c)
    {
        for (CTableBlock* t : pool.Blocks)
            if (t->Image == Letter(c))
                return t;
        return nullptr;
    }
    CTableBox::SSlot& Slot(int i)
    {
        auto it = box.Slots.begin();
        while (i-- > 0)
            ++it;
        return *it;
    }
    static QPoint Pos(const CTableBlock& t) { return QPoint(t.Left, t.Top); }
    static QPoint Centre(const CTableBlock& t)
    {
        return QPoint(t.Left + t.Width / 2, t.Top + t.Height / 2);
    }
    // Press on a point, move in a few steps, release.
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(komp, Qt::LeftButton, {}, from);
        for (int k = 1; k <= 4; ++k)
            QTest::mouseMove(komp, from + (to - from) * k / 4);
        QTest::mouseRelease(komp, Qt::LeftButton, {}, to);
    }
    QRgb Screen(int x, int y) { return Shown(*komp, x, y); }
    static QRgb Rgb(uint32_t c) { return qRgb(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }

    CDynamicPlace place;
    CKompTable* komp = nullptr;
    CTable pool;
    CTableBox box;
};

TEST_F(TableTest, PlaceLoadsColoursAndAttachesThePair)
{
    EXPECT_EQ(komp->geometry(), QRect(20, 30, 360, 200));
    EXPECT_EQ(komp->BackColor, Back);
    EXPECT_EQ(komp->FrameColours[1], RightFrame);
    EXPECT_EQ(pool.Width, 360);
    EXPECT_EQ(pool.Height, 200);
    EXPECT_EQ(box.Colours, komp->FrameColours);
    // The board in the exercise bitmap: back colour, an empty slot's white
    // ground and frame, the pool's tiles.
    const CTableBlock& k = *Slot(0).Expected;
    EXPECT_EQ(At(20 + 1, 30 + 1), Rgb(Back));
    EXPECT_EQ(At(20 + k.Left + 2, 30 + k.Top + 2), qRgb(255, 255, 255));
    EXPECT_EQ(At(20 + k.Left - 1, 30 + k.Top + 2), Rgb(EmptyFrame));
    EXPECT_EQ(At(20 + k.Left - 4, 30 + k.Top + 2), Rgb(EmptyFrame));
    EXPECT_EQ(At(20 + k.Left - 5, 30 + k.Top + 2), Rgb(Back));
    const CTableBlock& t = *PoolTile(u'T');
    EXPECT_EQ(Screen(t.Left + 1, t.Top + 1), LetterColour(CSharedKomps::LetterIndex(u'T')));
}

TEST_F(TableTest, RowsAreCentredWhenTheyFitAndSpreadWhenNot)
{
    // Slots: 3 x (20 + 8) + 2 x 6 = 96 wide, centred in 360, tiles 4 inside.
    EXPECT_EQ(Slot(0).Expected->Left, (360 - 96) / 2 + 4);
    EXPECT_EQ(Slot(1).Expected->Left, (360 - 96) / 2 + 4 + 34);
    EXPECT_EQ(Slot(2).Expected->Top, 20);
    // Pool: 4 x 20 + 3 x 10 = 110.
    std::vector<int> lefts;
    for (CTableBlock* t : pool.Blocks) {
        lefts.push_back(t->Left);
        EXPECT_EQ(t->HomeLeft, t->Left);
        EXPECT_EQ(t->HomeTop, 120);
    }
    EXPECT_EQ(lefts, (std::vector<int>{125, 155, 185, 215}));

    // Too narrow: the first starts at left, the last ends at right.
    pool.LayOutRow(10, 80, false, 10, 50);
    lefts.clear();
    for (CTableBlock* t : pool.Blocks)
        lefts.push_back(t->Left);
    EXPECT_EQ(lefts, (std::vector<int>{10, 10 + 50 / 3, 10 + 100 / 3, 60}));
    EXPECT_EQ(pool.Blocks.First()->Value->HomeTop, 120); // homes kept
    box.LayOutSlots(0, 60, false, 6, 0);
    EXPECT_EQ(Slot(0).Expected->Left, 4);
    EXPECT_EQ(Slot(2).Expected->Left + LetterWidth, 56);

    CTable one;
    one.Blocks.PushBack(new CTableBlock(Letter(u'A')));
    one.Spread(5, 15, true, 0); // one tile has nowhere to spread to
    EXPECT_EQ(one.Blocks.First()->Value->Left, 5);
    CTable none;
    none.LayOutRow(0, 10, true, 2, 0);
}

TEST_F(TableTest, DragFromPoolToTheRightSlotFliesInAndLocks)
{
    box.LockCorrect = true;
    std::vector<std::pair<CTableBox*, bool>> drops;
    komp->OnDrop = [&](CTableBox* b, bool correct) { drops.emplace_back(b, correct); };
    PaintLog log;
    komp->installEventFilter(&log);

    CTableBlock* o = PoolTile(u'O');
    const CTableBlock& slot = *Slot(1).Expected;
    const QPoint grab = Centre(*o) + QPoint(3, -2);
    QTest::mousePress(komp, Qt::LeftButton, {}, grab);
    EXPECT_EQ(komp->Dragged, o);
    EXPECT_EQ(pool.Blocks.Count(), 3);

    // One step of the drag paints only the strip it left and the tile.
    log.regions.clear();
    const QRect before(o->Left, o->Top, o->Width, o->Height);
    QTest::mouseMove(komp, grab + QPoint(6, -4));
    ASSERT_EQ(log.regions.size(), 1u);
    const QRect after(o->Left, o->Top, o->Width, o->Height);
    EXPECT_EQ(after.topLeft(), before.topLeft() + QPoint(6, -4));
    EXPECT_EQ(log.regions[0], QRegion(before) + QRegion(after));
    // The tile moved on the screen; its old place shows the board again.
    EXPECT_EQ(Screen(after.left() + 1, after.top() + 1),
              LetterColour(CSharedKomps::LetterIndex(u'O')));
    EXPECT_EQ(Screen(before.left() + 1, before.bottom() - 1), Rgb(Back));
    // The exercise bitmap is untouched while dragging.
    EXPECT_EQ(At(20 + before.left() + 1, 30 + before.bottom() - 1),
              LetterColour(CSharedKomps::LetterIndex(u'O')));

    // Released near the slot (centre inside it): it flies in, step by step.
    const QPoint near = Pos(slot) + QPoint(6, 5) + (grab - before.topLeft());
    QTest::mouseMove(komp, near);
    log.regions.clear();
    QTest::mouseRelease(komp, Qt::LeftButton, {}, near);
    EXPECT_GE(log.regions.size(), size_t(CTableBox::DropSteps));
    EXPECT_EQ(Pos(*o), Pos(slot));
    EXPECT_EQ(Slot(1).Placed, o);
    EXPECT_EQ(Slot(1).State, 1);
    EXPECT_TRUE(o->Fixed);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].first, &box);
    EXPECT_TRUE(drops[0].second);
    EXPECT_EQ(komp->Dragged, nullptr);
    EXPECT_TRUE(komp->Buffer->isNull());
    // Drawn into the exercise bitmap with the right frame.
    EXPECT_EQ(At(20 + slot.Left + 1, 30 + slot.Top + 1),
              LetterColour(CSharedKomps::LetterIndex(u'O')));
    EXPECT_EQ(At(20 + slot.Left - 2, 30 + slot.Top + 1), Rgb(RightFrame));

    // Locked in: it can no longer be picked up, and the cursor says so.
    QTest::mouseMove(komp, Centre(*o));
    EXPECT_NE(komp->cursor().shape(), Qt::PointingHandCursor);
    QTest::mousePress(komp, Qt::LeftButton, {}, Centre(*o));
    EXPECT_EQ(komp->Dragged, nullptr);
    QTest::mouseRelease(komp, Qt::LeftButton, {}, Centre(*o));
    EXPECT_EQ(Slot(1).Placed, o);
    QTest::mouseMove(komp, Centre(*PoolTile(u'K')));
    EXPECT_EQ(komp->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(TableTest, ReleasedOutsideEverySlotOrOnAnOccupiedOneStaysInThePool)
{
    int returns = 0;
    int dropsSeen = 0;
    komp->OnReturn = [&](CTable* p) {
        EXPECT_EQ(p, &pool);
        ++returns;
    };
    komp->OnDrop = [&](CTableBox*, bool) { ++dropsSeen; };

    // Outside every slot.
    CTableBlock* a = PoolTile(u'A');
    const QPoint from = Centre(*a);
    Drag(from, from + QPoint(-60, -30));
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(pool.Blocks.First()->Value, a); // topmost
    EXPECT_EQ(Pos(*a), QPoint(a->HomeLeft - 60, a->HomeTop - 30));
    EXPECT_EQ(box.CountEmpty(), 3);

    // A wrong tile into the slot of T, then another onto the same slot.
    CTableBlock* k = PoolTile(u'K');
    Drag(Centre(*k), Centre(*Slot(2).Expected));
    EXPECT_EQ(dropsSeen, 1);
    EXPECT_EQ(Slot(2).Placed, k);
    EXPECT_EQ(Slot(2).State, 2);
    EXPECT_FALSE(k->Fixed);
    EXPECT_FALSE(box.AllCorrect());
    EXPECT_EQ(At(20 + k->Left - 3, 30 + k->Top + 1), Rgb(WrongFrame));

    CTableBlock* t = PoolTile(u'T');
    const QPoint onto = Centre(*Slot(2).Expected);
    Drag(Centre(*t), onto);
    EXPECT_EQ(returns, 2);
    EXPECT_EQ(Slot(2).Placed, k);
    EXPECT_EQ(pool.Blocks.First()->Value, t);
    EXPECT_EQ(Centre(*t), onto);
    // Topmost: a press there takes the pool's T, not the box's K.
    QTest::mousePress(komp, Qt::LeftButton, {}, onto);
    EXPECT_EQ(komp->Dragged, t);
    QTest::mouseRelease(komp, Qt::LeftButton, {}, onto);

    // Out of the slot again (T out of the way first): the slot empties and
    // its frame shows empty.
    Drag(onto, QPoint(300, 180));
    Drag(Centre(*k), QPoint(20, 180));
    EXPECT_EQ(Slot(2).Placed, nullptr);
    EXPECT_EQ(Slot(2).State, 0);
    const CTableBlock& e = *Slot(2).Expected;
    EXPECT_EQ(At(20 + e.Left - 3, 30 + e.Top + 1), Rgb(EmptyFrame));
}

TEST_F(TableTest, FilledCorrectAndRandomEmpty)
{
    EXPECT_TRUE(box.AllCorrect()); // empty slots do not count against it
    EXPECT_FALSE(box.AllFilled());
    EXPECT_EQ(box.CountEmpty(), 3);
    EXPECT_EQ(box.FirstEmpty(), &Slot(0));
    EXPECT_EQ(box.TakeFirstWrong(), nullptr);

    box.AutoFill(pool, 2, false); // K and O, in word order, no flight
    EXPECT_EQ(Slot(0).State, 1);
    EXPECT_EQ(Slot(1).State, 1);
    EXPECT_TRUE(box.AllCorrect());
    EXPECT_FALSE(box.AllFilled());
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(box.RandomEmpty(), &Slot(2)); // the one empty slot, always

    CTableBlock* wrong = pool.TakeEqual(CTableBlock(Letter(u'A')));
    wrong->MoveTo(Slot(2).Expected->Left, Slot(2).Expected->Top);
    EXPECT_EQ(box.PlaceAt(wrong).State, 2);
    EXPECT_TRUE(box.AllFilled());
    EXPECT_FALSE(box.AllCorrect());
    EXPECT_EQ(box.RandomEmpty(), nullptr);
    EXPECT_EQ(box.FirstEmpty(), nullptr);
    EXPECT_EQ(box.TakeFirstWrong(), wrong);
    EXPECT_EQ(Slot(2).Placed, nullptr);
    delete wrong;

    // A locked box takes nothing; a locked pool gives nothing.
    box.Locked = true;
    CTableBlock* t = PoolTile(u'T');
    t->MoveTo(Slot(2).Expected->Left, Slot(2).Expected->Top);
    EXPECT_FALSE(box.PlaceAt(t).Placed);
    box.AutoFill(pool, 1, true);
    EXPECT_EQ(PoolTile(u'T'), t); // handed back to the pool
    box.Locked = false;
    pool.Locked = true;
    EXPECT_EQ(pool.TakeAt(Centre(*t).x(), Centre(*t).y()), nullptr);
}

TEST_F(TableTest, AutoPlaceAndReturnWrongFlyTiles)
{
    std::vector<bool> drops;
    int returns = 0;
    komp->OnDrop = [&](CTableBox*, bool correct) { drops.push_back(correct); };
    komp->OnReturn = [&](CTable*) { ++returns; };

    // A wrong tile in the first slot; the hint fills the others.
    CTableBlock* a = PoolTile(u'A');
    const QPoint home(a->HomeLeft, a->HomeTop);
    Drag(Centre(*a), Centre(*Slot(0).Expected));
    ASSERT_EQ(Slot(0).Placed, a);
    drops.clear();

    PaintLog log;
    komp->installEventFilter(&log);
    komp->AutoPlace(5, true, true);
    EXPECT_GE(log.regions.size(), size_t(2 * CKompTable::AutoSteps));
    EXPECT_EQ(Slot(1).State, 1);
    EXPECT_EQ(Slot(2).State, 1);
    EXPECT_EQ(Pos(*Slot(2).Placed), Pos(*Slot(2).Expected));
    EXPECT_EQ(drops, (std::vector<bool>{true}));
    EXPECT_TRUE(komp->Buffer->isNull());
    komp->AutoPlace(1, false, true); // nothing left to place: no event
    EXPECT_EQ(drops.size(), 1u);

    komp->ReturnWrong(true);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(Slot(0).Placed, nullptr);
    EXPECT_EQ(Pos(*a), home);
    EXPECT_EQ(pool.Blocks.First()->Value, a);
    EXPECT_EQ(Screen(home.x() + 1, home.y() + 1), LetterColour(0));
    EXPECT_EQ(At(20 + Slot(0).Expected->Left + 1, 30 + Slot(0).Expected->Top + 1),
              qRgb(255, 255, 255));

    // The K still in the pool completes the word.
    komp->AutoPlace(1, false, false);
    EXPECT_TRUE(box.AllFilled());
    EXPECT_TRUE(box.AllCorrect());
}

TEST_F(TableTest, HintsAndReturnsFlyInTenBrakedStepsThirtyMsApart)
{
    // A hint: the pool's K flies into its slot, the first.
    CTableBlock* k = PoolTile(u'K');
    const QPoint poolPlace = Pos(*k);
    const QPoint slot = Pos(*Slot(0).Expected);
    ASSERT_NE(poolPlace.x(), slot.x());
    {
        FlightLog log(k);
        komp->installEventFilter(&log);
        komp->AutoPlace(1, false, false);
        komp->removeEventFilter(&log);
        ASSERT_EQ(Slot(0).Placed, k);
        ExpectBrakedFlight(log, poolPlace, slot, CKompTable::AutoSteps, CKompTable::AutoStepMs);
    }

    // A return: the A dropped into O's slot flies home.
    CTableBlock* a = PoolTile(u'A');
    const QPoint home(a->HomeLeft, a->HomeTop);
    Drag(Centre(*a), Centre(*Slot(1).Expected));
    ASSERT_EQ(Slot(1).Placed, a);
    const QPoint wrongPlace = Pos(*a);
    {
        FlightLog log(a);
        komp->installEventFilter(&log);
        komp->ReturnWrong(false);
        komp->removeEventFilter(&log);
        ASSERT_EQ(Pos(*a), home);
        ExpectBrakedFlight(log, wrongPlace, home, CKompTable::AutoSteps, CKompTable::AutoStepMs);
    }
}

TEST_F(TableTest, ADropFliesIntoTheSlotInFiveBrakedStepsFortyMsApart)
{
    // Big tiles, so that a drop well off the slot's corner still lands in it
    // and every one of the five steps moves the tile.
    const QImage big = Solid(60, 60, qRgb(90, 30, 160));
    CTableBox bigBox;
    bigBox.AddSlot(std::make_unique<CTableBlock>(&big));
    bigBox.LayOutSlots(0, 360, true, 6, 20);
    CTable bigPool;
    bigPool.Blocks.PushBack(new CTableBlock(&big));
    bigPool.LayOutRow(0, 360, true, 10, 120);
    komp->SetTable(&bigPool);
    komp->SetBox(&bigBox);
    komp->Repaint();

    CTableBlock* tile = bigPool.Blocks.First()->Value;
    const QPoint slot = Pos(*bigBox.Slots.First()->Value.Expected);
    const QPoint released = slot + QPoint(23, 26); // its centre inside the slot
    const QPoint grab = Centre(*tile) - Pos(*tile);
    QTest::mousePress(komp, Qt::LeftButton, {}, Centre(*tile));
    QTest::mouseMove(komp, (Centre(*tile) + released + grab) / 2);
    QTest::mouseMove(komp, released + grab);
    ASSERT_EQ(Pos(*tile), released);

    FlightLog log(tile);
    komp->installEventFilter(&log);
    QTest::mouseRelease(komp, Qt::LeftButton, {}, released + grab);
    komp->removeEventFilter(&log);
    ASSERT_EQ(bigBox.Slots.First()->Value.Placed, tile);
    ExpectBrakedFlight(log, released, slot, CTableBox::DropSteps, CTableBox::DropStepMs);
    komp->SetTable(&pool);
    komp->SetBox(&box);
}

TEST_F(TableTest, RandomEmptyStartsAnywhereAndSearchesEitherWay)
{
    // Six slots, 2, 4 and 5 taken. A start on a taken slot searches forward
    // or backward, wrapping: 2 gives 3 or 1, 4 gives 0 or 3, 5 gives 0 or 3.
    // So slot 0 comes a third of the time, 1 a quarter, 3 five twelfths.
    CTableBox six;
    for (QChar c : QStringLiteral("ABCDEF"))
        six.AddSlot(std::make_unique<CTableBlock>(Letter(c)));
    six.LayOutSlots(0, 360, true, 6, 20);
    int s = 0;
    for (CTableBox::SSlot& slot : six.Slots) {
        if (s == 2 || s == 4 || s == 5) {
            auto* tile = new CTableBlock(slot.Expected->Image);
            tile->MoveTo(slot.Expected->Left, slot.Expected->Top);
            ASSERT_TRUE(six.PlaceAt(tile).Placed);
        }
        ++s;
    }
    ASSERT_EQ(six.CountEmpty(), 3);

    constexpr int Draws = 12000;
    std::array<int, 6> found{};
    for (int i = 0; i < Draws; ++i) {
        const CTableBox::SSlot* slot = six.RandomEmpty();
        ASSERT_NE(slot, nullptr);
        ASSERT_EQ(slot->Placed, nullptr);
        int index = 0;
        for (const CTableBox::SSlot& each : six.Slots) {
            if (&each == slot)
                break;
            ++index;
        }
        ++found[static_cast<std::size_t>(index)];
    }
    const double expected[6] = {4.0 / 12, 3.0 / 12, 0, 5.0 / 12, 0, 0};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(double(found[i]) / Draws, expected[i], 0.03) << "slot " << i;
}
