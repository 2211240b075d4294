#include "ControlsFixture.h"
#include "app/CError.h"
#include "controls/CKompAlphabet.h"
#include "graphics/CDynamicPlace.h"

#include <QElapsedTimer>

using namespace fixture;

class AlphabetTest : public ControlsTest
{
protected:
    // The therapy window's entries: the grid (iParam = number of letters),
    // the rows, and the dim overlay.
    void Build(int count, int rows)
    {
        table.Container = &container;
        table.Add(PT_PLACE, count);
        table.SetPlace(DM_1024, 10, 200, 0, 0, -1);
        table.Add(PT_POINT, rows);
        table.SetPoint(DM_1024, 0, 0, -1);
        table.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        table.SetBitmap(DM_1024, DimImage, -1, DimMask);
        table.Set_iCurrent(1);
        alphabet = new CKompAlphabet(host.get(), nullptr, target.get());
    }
    void Create(int rows = 2)
    {
        Build(Alphabet.size(), rows);
        alphabet->Create(table, 4, komps->Letters, 6);
        alphabet->show();
        alphabet->Repaint();
    }
    QPoint CellCentre(int index) const
    {
        return QPoint((index % alphabet->Columns) * LetterWidth + LetterWidth / 2,
                      (index / alphabet->Columns) * LetterHeight + LetterHeight / 2);
    }
    QRgb TargetInCell(int index) const
    {
        const QPoint p = CellCentre(index);
        return At(alphabet->X + p.x(), alphabet->Y + p.y());
    }
    static QRgb Bright(QRgb c)
    {
        return qRgb(std::min(255, qRed(c) + 40), std::min(255, qGreen(c) + 40),
                    std::min(255, qBlue(c) + 40));
    }
    // Half-transparent black over the letter.
    static QRgb Dimmed(QRgb c)
    {
        auto half = [](int b) { return b - (129 * b) / 256; };
        return qRgb(half(qRed(c)), half(qGreen(c)), half(qBlue(c)));
    }

    CDynamicPlace table;
    CKompAlphabet* alphabet = nullptr;
};

TEST_F(AlphabetTest, CreateLaysOutTheGrid)
{
    Create();
    EXPECT_EQ(alphabet->LetterCount, 32);
    EXPECT_EQ(alphabet->Rows, 2);
    EXPECT_EQ(alphabet->Columns, 16);
    EXPECT_EQ(alphabet->geometry(), QRect(14, 206, 16 * LetterWidth, 2 * LetterHeight));
    EXPECT_EQ(table.Get_iCurrent(), 0); // past the overlay, the table's last entry
    ASSERT_TRUE(alphabet->DimOverlay.Mask());
    for (int i : {0, 15, 16, 31})
        EXPECT_EQ(TargetInCell(i), LetterColour(i)) << i;
    EXPECT_EQ(Shown(*alphabet, CellCentre(20).x(), CellCentre(20).y()), LetterColour(20));
}

TEST_F(AlphabetTest, CreateRefusesAnotherNumberOfLetters)
{
    Build(30, 2);
    try {
        alphabet->Create(table, 0, komps->Letters, 0);
        FAIL() << "no error";
    } catch (const CError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("CKompAlphabet::Create - Niezgodność ilości liter!"));
    }
}

TEST_F(AlphabetTest, FindLetterTakesEitherCaseAndNothingElse)
{
    Create();
    const struct
    {
        QChar typed;
        int index;
    } cases[] = {
        {u'ż', 31}, {u'Ż', 31}, {u'a', 0},  {u'A', 0},  {u'ą', 1},  {u'Ą', 1},   {u'ó', 20},
        {u'Ó', 20}, {u'ł', 15}, {u'ś', 24}, {u'ź', 30}, {u'z', 29}, {u'ć', 4},   {u'ń', 18},
        {u'ę', 7},  {u'0', -1}, {u'5', -1}, {u'9', -1}, {u' ', -1}, {u'q', -1},  {u'V', -1},
        {u'x', -1}, {u'é', -1}, {u'@', -1}, {u'.', -1}, {u'ß', -1}, {u'\0', -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(alphabet->FindLetter(c.typed), c.index) << QString(c.typed).toStdString();
    EXPECT_EQ(Alphabet[31], u'Ż');
    EXPECT_EQ(Alphabet[20], u'Ó');
}

TEST_F(AlphabetTest, HitTestFindsCellsAndNothingBeyondTheLastTile)
{
    Create(3); // 11 columns: the third row has ten tiles and one empty cell
    EXPECT_EQ(alphabet->Columns, 11);
    EXPECT_EQ(alphabet->size(), QSize(11 * LetterWidth, 3 * LetterHeight));
    EXPECT_EQ(alphabet->HitTest(0, 0), 0);
    EXPECT_EQ(alphabet->HitTest(LetterWidth - 1, LetterHeight - 1), 0);
    EXPECT_EQ(alphabet->HitTest(LetterWidth, 0), 1);
    EXPECT_EQ(alphabet->HitTest(0, LetterHeight), 11);
    EXPECT_EQ(alphabet->HitTest(9 * LetterWidth + 3, 2 * LetterHeight + 3), 31);
    EXPECT_EQ(alphabet->HitTest(10 * LetterWidth + 3, 2 * LetterHeight + 3), -1);
    EXPECT_EQ(alphabet->HitTest(11 * LetterWidth, 0), -1);
    EXPECT_EQ(alphabet->HitTest(0, 3 * LetterHeight), -1);
    EXPECT_EQ(alphabet->HitTest(-1, 5), -1);
    EXPECT_EQ(alphabet->HitTest(5, -1), -1);

    // A click there chooses nothing.
    int chosen = 0;
    alphabet->OnLetter = [&](int, QChar, uint8_t&) { ++chosen; };
    QTest::mouseClick(alphabet, Qt::LeftButton, {},
                      QPoint(10 * LetterWidth + 3, 2 * LetterHeight + 3));
    EXPECT_EQ(chosen, 0);
    QTest::mouseClick(alphabet, Qt::RightButton, {}, CellCentre(31));
    EXPECT_EQ(chosen, 1); // any button chooses
}

TEST_F(AlphabetTest, KeyPressFlashesAndRaisesOnLetter)
{
    Create();
    std::vector<std::pair<int, QChar>> seen;
    alphabet->OnLetter = [&](int index, QChar letter, uint8_t& state) {
        seen.emplace_back(index, letter);
        // The flash is over: the tile is back to normal when the listener hears.
        const QPoint p = CellCentre(index);
        EXPECT_EQ(Shown(*alphabet, p.x(), p.y()), LetterColour(index));
        state = CKompAlphabet::StateRuledOut;
    };
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(alphabet->KeyPress(u'ż'));
    EXPECT_GE(clock.elapsed(), CKompAlphabet::FlashMs);
    EXPECT_FALSE(alphabet->KeyPress(u'7'));
    EXPECT_FALSE(alphabet->KeyPress(u'q'));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, 31);
    EXPECT_EQ(seen[0].second, u'Ż');

    // Ruled out: dimmed in the exercise bitmap and on the screen.
    EXPECT_EQ(alphabet->Letters[31].LetterState, CKompAlphabet::StateRuledOut);
    EXPECT_EQ(TargetInCell(31), Dimmed(LetterColour(31)));
    const QPoint p = CellCentre(31);
    EXPECT_EQ(Shown(*alphabet, p.x(), p.y()), Dimmed(LetterColour(31)));
    // It stays dimmed under the mouse and through a redraw...
    QTest::mouseMove(alphabet, p);
    EXPECT_EQ(Shown(*alphabet, p.x(), p.y()), Dimmed(LetterColour(31)));
    alphabet->Repaint();
    EXPECT_EQ(TargetInCell(31), Dimmed(LetterColour(31)));
    // ...until every state is reset.
    alphabet->SetAllStates(CKompAlphabet::StateNormal);
    alphabet->Repaint();
    EXPECT_EQ(TargetInCell(31), LetterColour(31));
    EXPECT_EQ(Shown(*alphabet, p.x(), p.y()), LetterColour(31));
}

TEST_F(AlphabetTest, TheMouseLightsTilesAndAClickChoosesHot)
{
    Create();
    QTest::mouseMove(alphabet, CellCentre(3));
    EXPECT_EQ(alphabet->Hover, 3);
    const QPoint c3 = CellCentre(3);
    EXPECT_EQ(Shown(*alphabet, c3.x(), c3.y()), Bright(LetterColour(3)));
    // Hot only on the screen: the exercise bitmap keeps the plain tile.
    EXPECT_EQ(TargetInCell(3), LetterColour(3));

    QTest::mouseMove(alphabet, CellCentre(20));
    EXPECT_EQ(alphabet->Hover, 20);
    EXPECT_EQ(Shown(*alphabet, c3.x(), c3.y()), LetterColour(3));
    const QPoint c20 = CellCentre(20);
    EXPECT_EQ(Shown(*alphabet, c20.x(), c20.y()), Bright(LetterColour(20)));

    int chosen = -1;
    alphabet->OnLetter = [&](int index, QChar, uint8_t&) {
        chosen = index;
        const QPoint p = CellCentre(index);
        EXPECT_EQ(Shown(*alphabet, p.x(), p.y()), Bright(LetterColour(index)));
    };
    QTest::mousePress(alphabet, Qt::LeftButton, {}, c20);
    EXPECT_EQ(chosen, 20);
    EXPECT_EQ(Shown(*alphabet, c20.x(), c20.y()), Bright(LetterColour(20)));
    QTest::mouseRelease(alphabet, Qt::LeftButton, {}, c20);

    QTest::mouseMove(host.get(), QPoint(390, 10)); // leaves
    EXPECT_EQ(alphabet->Hover, -1);
    EXPECT_EQ(Shown(*alphabet, c20.x(), c20.y()), LetterColour(20));
}

TEST_F(AlphabetTest, MoveToShiftsTheControl)
{
    Create();
    const QPoint before = alphabet->pos();
    alphabet->MoveTo(alphabet->X + 7, alphabet->Y - 3);
    EXPECT_EQ(alphabet->pos(), before + QPoint(7, -3));
    EXPECT_TRUE(alphabet->Recompose);
}

TEST_F(AlphabetTest, AHiddenAlphabetTakesNoKeyAndDrawsNothing)
{
    Create();
    int heard = 0;
    alphabet->OnLetter = [&](int, QChar, uint8_t& state) {
        ++heard;
        state = CKompAlphabet::StateRuledOut;
    };
    ASSERT_TRUE(alphabet->KeyPress(u'k'));
    const int k = alphabet->FindLetter(u'k');
    ASSERT_EQ(alphabet->Letters[k].LetterState, CKompAlphabet::StateRuledOut);

    // Another exercise's picture where the alphabet was.
    alphabet->hide();
    target->fill(qRgb(1, 2, 3));
    const QImage picture = target->copy();
    for (QChar key : {u'k', u'K', u'a'})
        EXPECT_FALSE(alphabet->KeyPress(key)) << QString(key).toStdString();
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(*target == picture) << "a hidden alphabet drew into the exercise bitmap";
}

TEST_F(AlphabetTest, LoadImagesBringsEveryLetterBackToNormal)
{
    Create();
    alphabet->OnLetter = [](int, QChar, uint8_t& state) { state = CKompAlphabet::StateRuledOut; };
    for (QChar key : {u'a', u'ż', u'm'})
        ASSERT_TRUE(alphabet->KeyPress(key));
    table.Set_iCurrent(1);
    alphabet->LoadImages(table, komps->Letters);
    for (const CKompAlphabet::SAlphLetter& letter : alphabet->Letters)
        EXPECT_EQ(letter.LetterState, CKompAlphabet::StateNormal)
            << QString(letter.Letter).toStdString();
    EXPECT_TRUE(alphabet->Recompose);
    alphabet->Repaint();
    EXPECT_EQ(TargetInCell(31), LetterColour(31));
}
