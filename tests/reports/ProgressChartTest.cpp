// The progress chart's axes: round values on the value axis and dates below
// the plot that never touch, at the smallest window size.
#include "reports/CProgressChart.h"

#include <QFont>
#include <QFontMetricsF>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// `count` therapies a day apart from 2020-01-01, with figures up to `largest`.
std::vector<CTherapyHistory::SPoint> Points(int count, double largest)
{
    std::vector<CTherapyHistory::SPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back({QDate(2020, 1, 1).addDays(i), largest * (i % 7 + 1) / 7});
    return points;
}

// 1, 2 or 5 times a power of ten.
bool Round(double step)
{
    const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double factor = step / power;
    return std::abs(factor - 1) < 1e-9 || std::abs(factor - 2) < 1e-9 ||
           std::abs(factor - 5) < 1e-9;
}

} // namespace

TEST(ProgressChartTest, TicksAreRoundSteps)
{
    struct SCase
    {
        double largest;
        int maxSteps;
        std::vector<double> ticks;
    };
    const SCase cases[] = {
        {100, 5, {0, 20, 40, 60, 80, 100}},
        {100, 4, {0, 50, 100}},
        {100, 1, {0, 100}},
        {50, 4, {0, 20, 40, 60}}, // not 12.5 apart
        {12.5, 5, {0, 5, 10, 15}},
        {47, 5, {0, 10, 20, 30, 40, 50}},
        {10, 5, {0, 2, 4, 6, 8, 10}},
        {1000, 5, {0, 200, 400, 600, 800, 1000}},
        {1001, 5, {0, 500, 1000, 1500}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.largest << " in " << c.maxSteps);
        EXPECT_EQ(CProgressChart::Ticks(c.largest, c.maxSteps), c.ticks);
    }
}

// The chart view of the progress window at 800x600 is 723x320 pixels,
// shared by the three measures or given to one.
TEST(ProgressChartTest, LabelsNeverTouchAtTheSmallestSize)
{
    const QSizeF areas[] = {{723, 320 / 3.0}, {723, 320}};
    for (int count : {2, 30, 100}) {
        for (const QSizeF& area : areas) {
            for (int m = 0; m < CExerciseFigures::MeasureCount; ++m) {
                SCOPED_TRACE(testing::Message() << count << " therapies, " << area.width() << "x"
                                                << area.height() << ", measure " << m);
                const auto points = Points(count, m == 2 ? 50 : 100);
                double largest = 0;
                for (const auto& p : points)
                    largest = std::max(largest, *p.Value);
                const CProgressChart chart(points, CExerciseFigures::EMeasure(m));
                const CProgressChart::SLayout layout = chart.Layout(QRectF(QPointF(), area), 1.0);
                const auto& dates = layout.Dates;
                ASSERT_GE(dates.size(), 2u);
                EXPECT_EQ(dates.front().Index, 0);
                EXPECT_EQ(dates.back().Index, count - 1);
                EXPECT_EQ(dates.front().Text, QStringLiteral("01.01.2020"));
                for (std::size_t i = 0; i < dates.size(); ++i) {
                    EXPECT_GE(dates[i].Box.left(), 0);
                    EXPECT_LE(dates[i].Box.right(), area.width());
                    for (std::size_t j = i + 1; j < dates.size(); ++j)
                        EXPECT_FALSE(dates[i].Box.intersects(dates[j].Box))
                            << dates[i].Text.toStdString() << " " << dates[j].Text.toStdString();
                }
                // The value axis: from 0 to at least the largest figure in
                // round steps, its labels a line apart at least.
                const auto& ticks = layout.Ticks;
                ASSERT_GE(ticks.size(), 2u);
                EXPECT_EQ(ticks.front(), 0);
                EXPECT_GE(ticks.back(), largest);
                EXPECT_TRUE(Round(ticks[1])) << ticks[1];
                QFont font(QStringLiteral("Liberation Sans"));
                font.setPixelSize(11);
                EXPECT_GE(layout.Plot.height() / (ticks.size() - 1), QFontMetricsF(font).height());
            }
        }
    }
}
