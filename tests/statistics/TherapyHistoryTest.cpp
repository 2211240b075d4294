// A patient's stored therapies read for the progress view and the reports,
// on a fixture database on disk whose figures are worked out by hand.
#include "common/PatientDbFixture.h"
#include "common/ProgressFixture.h"
#include "statistics/CTherapyHistory.h"

#include <gtest/gtest.h>

namespace {

class TherapyHistoryTest : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        db.Connect(path);
        FillProgressFixture(db);
    }

    static std::vector<QString> Texts(const std::vector<CTherapyHistory::SPoint>& points)
    {
        std::vector<QString> texts;
        for (const auto& p : points)
            texts.push_back(CExerciseFigures::Text(p.Value, 1));
        return texts;
    }

    CDbConnection db;
};

using M = CExerciseFigures;

} // namespace

TEST_P(TherapyHistoryTest, TherapiesOldestFirstWithTheirRows)
{
    CTherapyHistory history;
    history.Load(&db, 1);
    const auto& t = history.Therapies();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].Day, QDate(2026, 1, 5));
    EXPECT_EQ(t[0].Time, QTime(10, 0));
    EXPECT_EQ(t[2].Day, QDate(2026, 3, 15));
    EXPECT_EQ(t[2].Time, QTime(9, 15));
    EXPECT_TRUE(t[0].Utterance);
    EXPECT_FALSE(t[0].Comment);
    EXPECT_TRUE(t[1].Comment);
    ASSERT_NE(t[1].Row(1), nullptr);
    EXPECT_EQ(t[1].Row(1)->Czas, 960);
    EXPECT_EQ(t[1].Row(8), nullptr);
    EXPECT_EQ(history.ExerciseMask(), (1 << 0) | (1 << 1) | (1 << 8));
    EXPECT_EQ(history.CountOf(0), 3);

    CTherapyHistory none;
    none.Load(&db, 3);
    EXPECT_TRUE(none.Empty());
}

TEST_P(TherapyHistoryTest, ChartSeriesEqualTheHandComputedFigures)
{
    CTherapyHistory history;
    history.Load(&db, 1);
    using V = std::vector<QString>;
    EXPECT_EQ(Texts(history.Series(0, M::MeasureFaultless)), (V{"50,0", "100,0", "–"}));
    EXPECT_EQ(Texts(history.Series(0, M::MeasureHints)), (V{"20,0", "0,0", "–"}));
    EXPECT_EQ(Texts(history.Series(0, M::MeasureSeconds)), (V{"15,0", "9,0", "–"}));
    EXPECT_EQ(Texts(history.Series(1, M::MeasureFaultless)), (V{"50,0", "–"}));
    EXPECT_EQ(Texts(history.Series(1, M::MeasureSeconds)), (V{"16,0", "–"}));
    EXPECT_EQ(Texts(history.Series(8, M::MeasureSeconds)), (V{"12,0"}));
    EXPECT_EQ(Texts(history.Series(8, M::MeasureFaultless)), (V{"–"}));
    EXPECT_TRUE(history.Series(6, M::MeasureSeconds).empty());
}

TEST_P(TherapyHistoryTest, SummariesSkipDamagedRows)
{
    CTherapyHistory history;
    history.Load(&db, 1);
    struct Case
    {
        int exercise, therapies, tasks;
        const char *solved, *faultless, *hints, *seconds;
    };
    const Case cases[] = {
        {0, 3, 20, "90,0", "75,0", "10,0", "10,5"},
        {1, 2, 8, "75,0", "50,0", "50,0", "12,0"},
        {8, 1, 5, "–", "–", "–", "12,0"},
        {6, 0, 0, "–", "–", "–", "–"},
    };
    for (const Case& c : cases) {
        const CExerciseSummary s = history.Summary(c.exercise);
        SCOPED_TRACE(c.exercise);
        EXPECT_EQ(s.Therapies(), c.therapies);
        EXPECT_EQ(s.Tasks(), c.tasks);
        EXPECT_EQ(M::Text(s.SolvedShare(), 1), QString::fromUtf8(c.solved));
        EXPECT_EQ(M::Text(s.FaultlessShare(), 1), QString::fromUtf8(c.faultless));
        EXPECT_EQ(M::Text(s.HintPercent(), 1), QString::fromUtf8(c.hints));
        EXPECT_EQ(M::Text(s.SecondsPerTask(), 1), QString::fromUtf8(c.seconds));
    }
    // The first and the last therapy of WY apart.
    EXPECT_EQ(M::Text(history.Summary(0, 0, 1).FaultlessShare(), 1), QStringLiteral("50,0"));
    EXPECT_EQ(M::Text(history.Summary(0, 2, 1).FaultlessShare(), 1), QString::fromUtf8("–"));
}

TEST_P(TherapyHistoryTest, PeriodAndPatients)
{
    CTherapyHistory history;
    history.Load(&db, 1);
    EXPECT_EQ(history.Between(QDate(2026, 2, 10), QDate()).Therapies().size(), 2u);
    EXPECT_EQ(history.Between(QDate(), QDate(2026, 2, 10)).Therapies().size(), 2u);
    EXPECT_EQ(history.Between(QDate(2026, 2, 11), QDate(2026, 3, 14)).Therapies().size(), 0u);
    const auto patients = CTherapyHistory::Patients(&db);
    ASSERT_EQ(patients.size(), 3u);
    EXPECT_EQ(patients[0].Name, QStringLiteral("Anna Nowak"));
    EXPECT_EQ(patients[2].Id, 1);
    EXPECT_EQ(patients[2].Description,
              QString::fromUtf8("Afazja ruchowa po udarze; ćwiczy nazywanie."));
}

INSTANTIATE_ON_BOTH_STORES(TherapyHistoryTest);
