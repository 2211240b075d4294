// The name-arranging exercise: tiles and extra letters, the automatic hint,
// drops into the last slot, the hint steps and the hint button's rule.
#include "ExerciseFixture.h"
#include "controls/CKompTable.h"
#include "controls/CTable.h"
#include "controls/CTableBlock.h"
#include "controls/CTableBox.h"
#include "exercises/CExerciseUK.h"

namespace {

class ExerciseUKTest : public ExerciseTest
{
protected:
    void Make(const QString& word)
    {
        Word(word);
        LoadContent();
        ex = std::make_unique<CExerciseUK>(*colourTable, *komps);
        ex->StatEx = &stat;
    }
    void TearDown() override
    {
        ex.reset();
        ExerciseTest::TearDown();
    }
    void Prepare(bool autoHint, bool extra)
    {
        Set(CTherapySettings::UK, 1, 1 | (autoHint ? 1 << 12 : 0) | (extra ? 1 << 13 : 0));
        ex->Prepare(settings);
    }
    CTableBox& Box() { return *ex->Tasks[0].SlotBox; }
    CTable& Pool() { return *ex->Tasks[0].Pool; }
    CTableBox::SSlot& Slot(int i)
    {
        auto* node = Box().Slots.First();
        while (i-- > 0)
            node = Box().Slots.NextOf(node);
        return node->Value;
    }
    int Placed() { return Box().Slots.Count() - Box().CountEmpty(); }
    // The pool tile showing the letter that slot `s` expects.
    CTableBlock* PoolTileFor(int s)
    {
        for (CTableBlock* tile : Pool().Blocks)
            if (tile->Equals(*Slot(s).Expected))
                return tile;
        return nullptr;
    }
    static QPoint Centre(const CTableBlock& b)
    {
        return QPoint(b.Left + b.Width / 2, b.Top + b.Height / 2);
    }
    // Drags a pool tile into slot `s` with the mouse.
    void Drag(CTableBlock* tile, int s)
    {
        ASSERT_NE(tile, nullptr);
        CKompTable* board = ex->Board.get();
        const QPoint from = Centre(*tile);
        const QPoint to = Centre(*Slot(s).Expected);
        QTest::mousePress(board, Qt::LeftButton, {}, from);
        for (int k = 1; k <= 4; ++k)
            QTest::mouseMove(board, from + (to - from) * k / 4);
        QTest::mouseRelease(board, Qt::LeftButton, {}, to);
    }

    // An extra tile (its letter lies in the pool more often than in the word)
    // dropped into a slot that expects another letter, then the right tile
    // into every other slot: the board is full with one wrong tile. Returns
    // the wrong tile's slot, -1 when there was none to drop.
    int FillWithOneWrongTile()
    {
        auto count = [&](const CTableBlock& t, bool inWord) {
            int n = 0;
            if (inWord) {
                for (const auto& slot : Box().Slots)
                    n += slot.Expected->Equals(t);
            } else {
                for (CTableBlock* other : Pool().Blocks)
                    n += other->Equals(t);
            }
            return n;
        };
        CTableBlock* extra = nullptr;
        for (CTableBlock* tile : Pool().Blocks)
            if (count(*tile, false) > count(*tile, true))
                extra = tile;
        EXPECT_NE(extra, nullptr);
        if (!extra)
            return -1;
        int wrongSlot = 0;
        while (extra->Equals(*Slot(wrongSlot).Expected))
            ++wrongSlot;
        Drag(extra, wrongSlot);
        EXPECT_EQ(Slot(wrongSlot).State, 2);
        for (int s = 0; s < Box().Slots.Count(); ++s)
            if (s != wrongSlot)
                Drag(PoolTileFor(s), s);
        EXPECT_EQ(Box().CountEmpty(), 0);
        EXPECT_EQ(Slot(wrongSlot).Placed, extra) << "the wrong tile stays for the patient";
        return wrongSlot;
    }

    std::unique_ptr<CExerciseUK> ex;
};

TEST_F(ExerciseUKTest, ExtraLettersMakeUpToSixteenTiles)
{
    struct SCase
    {
        QString word;
        int tiles;
    };
    for (const SCase& c : {SCase{"ŻABKA", 8}, SCase{"ABCDEFGHIJKLMN", 16},
                           SCase{"ABCDEFGHIJKLMNOP", 16}, SCase{"KOT", 5}}) {
        SCOPED_TRACE(c.word.toStdString());
        Word(c.word.toLower());
        EXPECT_EQ(c.word.size() + CExerciseUK::ExtraLetters(int(c.word.size())), c.tiles);
    }
    LoadContent();
    ex = std::make_unique<CExerciseUK>(*colourTable, *komps);
    ex->StatEx = &stat;
    Set(CTherapySettings::UK, 4, 1 | 1 << 13);
    ex->Prepare(settings);
    ASSERT_EQ(ex->TaskCount, 4);
    for (int t = 0; t < 4; ++t) {
        const auto& task = ex->Tasks[t];
        const int n = int(task.Word->Slowo.size());
        SCOPED_TRACE(task.Word->Slowo.toStdString());
        EXPECT_EQ(task.SlotBox->Slots.Count(), n);
        EXPECT_EQ(task.Pool->Blocks.Count(), n == 5 ? 8 : n == 3 ? 5 : 16);
        // Every letter of the word lies among the tiles.
        for (const auto& slot : task.SlotBox->Slots) {
            bool found = false;
            for (CTableBlock* tile : task.Pool->Blocks)
                found = found || tile->Equals(*slot.Expected);
            EXPECT_TRUE(found);
        }
    }
    // Without extra letters, just the word's own.
    Set(CTherapySettings::UK, 4, 1);
    ex->Prepare(settings);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(ex->Tasks[t].Pool->Blocks.Count(), ex->Tasks[t].Word->Slowo.size());
    EXPECT_EQ(stat.PomocMax, 2 + 4 + 13 + 15);
}

TEST_F(ExerciseUKTest, AutoHintOnAFourLetterWordFixesTwoRandomSlots)
{
    Make("kura");
    QSet<int> firstSlots;
    for (int run = 0; run < 12; ++run) {
        stat.Pomoc = 0;
        Prepare(true, false);
        EXPECT_EQ(Placed(), 2);
        EXPECT_TRUE(Box().AllCorrect());
        for (int s = 0; s < 4; ++s) {
            if (Slot(s).Placed) {
                EXPECT_EQ(Slot(s).State, 1);
                EXPECT_TRUE(Slot(s).Placed->Fixed) << "a right tile stays fixed";
            }
        }
        for (int s = 0; s < 4; ++s)
            if (Slot(s).Placed) {
                firstSlots.insert(s);
                break;
            }
        EXPECT_EQ(stat.Pomoc, 2);
    }
    EXPECT_GT(firstSlots.size(), 1) << "the fixed slots are not random";
}

TEST_F(ExerciseUKTest, AWrongTileDroppedIntoTheLastEmptySlotSendsEveryWrongTileBack)
{
    Make("kot");
    Prepare(false, false);
    ex->Activate();
    ASSERT_TRUE(ex->Board->isVisible());
    // T into K's slot, K into O's slot: wrong, but slots are left, so they stay.
    Drag(PoolTileFor(2), 0);
    Drag(PoolTileFor(0), 1);
    EXPECT_EQ(Placed(), 2);
    EXPECT_EQ(Slot(0).State, 2);
    EXPECT_TRUE(ex->Tasks[0].HadError);
    // O into the last empty slot, T's: every tile is wrong and flies home.
    Drag(PoolTileFor(1), 2);
    EXPECT_EQ(Placed(), 0);
    EXPECT_EQ(Pool().Blocks.Count(), 3);
    for (CTableBlock* tile : Pool().Blocks) {
        EXPECT_EQ(tile->Left, tile->HomeLeft);
        EXPECT_EQ(tile->Top, tile->HomeTop);
    }
    EXPECT_FALSE(ex->Tasks[0].Solved);

    // Now the right way round: solved, counted with its error.
    Drag(PoolTileFor(0), 0);
    Drag(PoolTileFor(1), 1);
    EXPECT_FALSE(HintEnabled()) << "one slot left and every tile right";
    Drag(PoolTileFor(2), 2);
    EXPECT_TRUE(ex->Tasks[0].Solved);
    EXPECT_TRUE(Box().Locked);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 1);
    EXPECT_FALSE(stat.Running);
}

TEST_F(ExerciseUKTest, ARightTileInTheLastSlotLeavesAWrongOneInPlace)
{
    Make("kot");
    Prepare(false, true);
    ex->Activate();
    ASSERT_EQ(Pool().Blocks.Count(), 5);
    ASSERT_GE(FillWithOneWrongTile(), 0);
    EXPECT_FALSE(ex->Tasks[0].Solved);
    EXPECT_EQ(stat.Rozw, 0);
}

TEST_F(ExerciseUKTest, AHintOnAFullBoardSendsTheWrongTileHomeAndLeavesTheLastLetter)
{
    Make("kot");
    Prepare(false, true);
    ex->Activate();
    const int wrongSlot = FillWithOneWrongTile();
    ASSERT_GE(wrongSlot, 0);
    ASSERT_TRUE(HintEnabled());

    ex->Hint();
    EXPECT_EQ(Slot(wrongSlot).Placed, nullptr) << "the wrong tile went home";
    EXPECT_EQ(Box().CountEmpty(), 1) << "the hint completed the word";
    EXPECT_TRUE(Box().AllCorrect());
    EXPECT_FALSE(HintEnabled());
    EXPECT_EQ(stat.Pomoc, 1);
    EXPECT_TRUE(stat.Running);

    // The patient's drop completes the word and solves the task.
    Drag(PoolTileFor(wrongSlot), wrongSlot);
    EXPECT_TRUE(ex->Tasks[0].Solved);
    EXPECT_TRUE(Box().Locked);
    EXPECT_EQ(stat.Rozw, 1);
    EXPECT_EQ(stat.Blad, 1);
    EXPECT_FALSE(stat.Running);
    EXPECT_TRUE(Pool().Blocks.Empty()) << "the extra tiles are cleared";
}

TEST_F(ExerciseUKTest, AutoHintLeavesTheOnlyLetterOfAOneLetterWord)
{
    Make("w");
    Prepare(true, false);
    ex->Activate();
    EXPECT_EQ(Placed(), 0);
    EXPECT_EQ(stat.Pomoc, 0);
    EXPECT_FALSE(HintEnabled());
    Drag(PoolTileFor(0), 0);
    EXPECT_TRUE(ex->Tasks[0].Solved);
    EXPECT_EQ(stat.Rozw, 1);
}

TEST_F(ExerciseUKTest, HintsSendWrongTilesHomeThenFlyOneRightTileIn)
{
    Make("lampa");
    Prepare(false, true);
    ex->Activate();
    // The first hint on an untouched task fills the first slot.
    ex->Hint();
    EXPECT_EQ(Placed(), 1);
    ASSERT_NE(Slot(0).Placed, nullptr);
    EXPECT_EQ(Slot(0).State, 1);
    EXPECT_EQ(stat.Pomoc, 1);
    // A wrong tile in slot 4 goes home before the next right one flies in.
    CTableBlock* wrong = nullptr;
    for (CTableBlock* tile : Pool().Blocks)
        if (!tile->Equals(*Slot(4).Expected))
            wrong = tile;
    Drag(wrong, 4);
    ASSERT_EQ(Slot(4).State, 2);
    ex->Hint();
    EXPECT_EQ(Placed(), 2);
    EXPECT_TRUE(Box().AllCorrect());
    // Home again, unless the hint flew that very letter into its own slot.
    bool inPool = false;
    for (CTableBlock* tile : Pool().Blocks)
        inPool = inPool || tile == wrong;
    if (inPool) {
        EXPECT_EQ(wrong->Left, wrong->HomeLeft);
        EXPECT_EQ(wrong->Top, wrong->HomeTop);
    }
    EXPECT_NE(Slot(4).State, 2);
    // Hints up to the last letter, which stays the patient's.
    ex->Hint();
    ex->Hint();
    EXPECT_EQ(Placed(), 4);
    EXPECT_FALSE(HintEnabled());
    EXPECT_FALSE(ex->Tasks[0].Solved);
    EXPECT_EQ(stat.Pomoc, 4);
}

TEST_F(ExerciseUKTest, TilesKeepTheirPlacesAcrossTasksAndLeaving)
{
    Word("dom");
    Word("las");
    LoadContent();
    ex = std::make_unique<CExerciseUK>(*colourTable, *komps);
    ex->StatEx = &stat;
    Set(CTherapySettings::UK, 2, 1);
    ex->Prepare(settings);
    ex->Activate();
    ex->Hint();
    ASSERT_EQ(Placed(), 1);
    ex->SelectTask(1);
    EXPECT_EQ(ex->Board->Box, ex->Tasks[1].SlotBox.get());
    ex->SelectTask(0);
    EXPECT_EQ(ex->Board->Box, ex->Tasks[0].SlotBox.get());
    EXPECT_EQ(Placed(), 1);
    ex->Deactivate();
    EXPECT_FALSE(ex->Board->isVisible());
    ex->ClearTasks();
    EXPECT_EQ(ex->Board->Box, nullptr);
}

} // namespace
