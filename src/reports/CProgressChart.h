#pragma once
#include "statistics/CExerciseFigures.h"
#include "statistics/CTherapyHistory.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

class QFontMetricsF;
class QPainter;

// One progress chart: a measure of one exercise over a patient's therapies,
// one point per therapy, oldest on the left, each at its place in the row of
// therapies and the therapies' dates below. The same painter draws the
// chart in the progress window and on the report's pages: `unit` is the size
// of one screen pixel in the painter's device units. In grey the chart uses
// black on white only, and the measures differ by marker and line pattern,
// so that it reads the same when printed in black and white.
class CProgressChart
{
public:
    CProgressChart(std::vector<CTherapyHistory::SPoint> points, CExerciseFigures::EMeasure measure);

    void SetGrey(bool grey) { m_grey = grey; }
    // The title above the plot; the measure's name unless set.
    void SetTitle(const QString& title) { m_title = title; }

    // A date below the plot: the therapy's index, where it is drawn and what.
    struct SDateLabel
    {
        int Index = 0;
        QRectF Box;
        QString Text;
        Qt::Alignment Align;
    };
    // Where the parts of the chart go in `area`: the plot, the values of the
    // value axis' ticks (0 first, its top last) and the dates, none of which
    // touch another.
    struct SLayout
    {
        QRectF Plot;
        std::vector<double> Ticks;
        std::vector<SDateLabel> Dates;
    };
    SLayout Layout(const QRectF& area, qreal unit) const;

    void Paint(QPainter& painter, const QRectF& area, qreal unit) const;
    const std::vector<CTherapyHistory::SPoint>& Points() const { return m_points; }

    // Round ticks from 0 to at least `largest`: 1, 2 or 5 times a power of
    // ten apart, at most `maxSteps` steps, the last at or above `largest`.
    static std::vector<double> Ticks(double largest, int maxSteps);
    // The program's colours: frame and line, and the background.
    QColor LineColour() const;
    QColor BackColour() const;

private:
    // The largest figure the value axis must reach: 100 for shares.
    double Largest() const;
    std::vector<SDateLabel> DateLabels(const QRectF& plot, const QFontMetricsF& metrics,
                                       qreal unit) const;
    void PaintAxes(QPainter& painter, const SLayout& layout, qreal unit) const;
    void PaintDates(QPainter& painter, const SLayout& layout, qreal unit) const;
    void PaintLine(QPainter& painter, const SLayout& layout, qreal unit) const;
    void PaintMarker(QPainter& painter, const QPointF& at, qreal unit) const;
    QPointF PointAt(const SLayout& layout, int index, double value) const;

    std::vector<CTherapyHistory::SPoint> m_points;
    CExerciseFigures::EMeasure m_measure;
    QString m_title;
    bool m_grey = false;
};
