// The figures of one stored exercise row, shared by the statistics page, the
// progress charts and the reports: hand-computed cases and damaged rows.
#include "statistics/CExerciseFigures.h"

#include <gtest/gtest.h>

namespace {

CStatEx Row(int cw, int lz, int rozw, int blad, int pomoc, int czas)
{
    CStatEx r;
    r.Cw = cw;
    r.LZ = lz;
    r.Rozw = rozw;
    r.Blad = blad;
    r.SetPomocPercent(pomoc);
    r.Pomoc = pomoc; // a damaged percentage stays as stored
    r.Czas = czas;
    return r;
}

} // namespace

TEST(ExerciseFigures, FiguresAsText)
{
    struct Case
    {
        CStatEx row;
        const char* faultless;
        const char* hints;
        const char* seconds;
        const char* score;
    };
    const Case cases[] = {
        {Row(0, 10, 8, 3, 20, 1200), "50,0", "20,0", "15,0", "50"},
        {Row(1, 8, 6, 2, 50, 965), "50,0", "50,0", "16,1", "50"},
        {Row(5, 3, 2, 0, 0, 70), "66,7", "0,0", "3,5", "66"},
        // A repetition exercise is not scored; its time counts per task.
        {Row(8, 5, 0, 0, 0, 300), "–", "–", "6,0", "x"},
        // Nothing solved: no time per solved task.
        {Row(2, 4, 0, 0, 100, 500), "0,0", "100,0", "–", "0"},
        // Damaged rows of an old database: no figure, never negative.
        {Row(0, 0, 0, 0, 0, 0), "–", "–", "–", "0"},
        {Row(1, 5, 9, 1, 10, 100), "–", "–", "–", "–"},
        {Row(3, -5, 3, 0, 0, 100), "–", "–", "–", "–"},
        {Row(4, 5, -2, 0, 0, 100), "–", "–", "–", "–"},
        {Row(6, 5, 3, 4, 0, 100), "–", "–", "–", "0"},
        {Row(0, 5, 3, 0, 250, 100), "–", "–", "–", "60"},
        {Row(0, 5, 3, 0, 0, -30), "–", "–", "–", "60"},
        {Row(0, 5, 3, 0, 0, 2147483647), "–", "–", "–", "60"},
    };
    for (const Case& c : cases) {
        const CExerciseFigures f(c.row);
        SCOPED_TRACE(testing::Message() << c.row.Cw << " " << c.row.LZ << " " << c.row.Rozw << " "
                                        << c.row.Blad << " " << c.row.Pomoc << " " << c.row.Czas);
        EXPECT_EQ(CExerciseFigures::Text(f.FaultlessShare(), 1), QString::fromUtf8(c.faultless));
        EXPECT_EQ(CExerciseFigures::Text(f.HintPercent(), 1), QString::fromUtf8(c.hints));
        EXPECT_EQ(CExerciseFigures::Text(f.SecondsPerSolved(), 1), QString::fromUtf8(c.seconds));
        EXPECT_EQ(f.ScoreText(), QString::fromUtf8(c.score));
        for (int m = 0; m < CExerciseFigures::MeasureCount; ++m) {
            if (auto v = f.Measure(CExerciseFigures::EMeasure(m))) {
                EXPECT_GE(*v, 0.0);
            }
        }
    }
}

// An old database may hold counts no exercise writes; the statistics list
// showed them as negative or above 100 percent.
TEST(ExerciseFigures, DamagedRowsScoreNoFigure)
{
    struct Case
    {
        int lz, rozw, blad;
    };
    for (const Case& c : {Case{-5, 3, 0}, Case{5, 9, 0}, Case{10, -4, 0}, Case{10, 2, -8}}) {
        CStatEx r;
        r.Cw = 0;
        r.LZ = c.lz;
        r.Rozw = c.rozw;
        r.Blad = c.blad;
        EXPECT_EQ(r.ScoreText(), QString::fromUtf8("–")) << c.lz << " " << c.rozw << " " << c.blad;
        EXPECT_GE(r.Correctness(), 0);
        EXPECT_LE(r.Correctness(), 100);
    }
}

TEST(ExerciseFigures, LongFiguresHaveNoGroupSeparator)
{
    EXPECT_EQ(CExerciseFigures::Text(12345.25, 1), QStringLiteral("12345,3"));
    EXPECT_EQ(CExerciseFigures::Text(std::nullopt), QString::fromUtf8("–"));
}
