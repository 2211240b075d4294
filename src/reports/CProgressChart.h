#pragma once
#include "statistics/CExerciseFigures.h"
#include "statistics/CTherapyHistory.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

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

    void Paint(QPainter& painter, const QRectF& area, qreal unit) const;
    const std::vector<CTherapyHistory::SPoint>& Points() const { return m_points; }

    // The top of the value axis: 100 for shares, a round number above the
    // largest figure for times.
    double AxisTop() const;
    // The program's colours: frame and line, and the background.
    QColor LineColour() const;
    QColor BackColour() const;

private:
    void PaintAxes(QPainter& painter, const QRectF& plot, qreal unit) const;
    void PaintDates(QPainter& painter, const QRectF& plot, qreal unit) const;
    void PaintLine(QPainter& painter, const QRectF& plot, qreal unit) const;
    void PaintMarker(QPainter& painter, const QPointF& at, qreal unit) const;
    QPointF PointAt(const QRectF& plot, int index, double value) const;

    std::vector<CTherapyHistory::SPoint> m_points;
    CExerciseFigures::EMeasure m_measure;
    QString m_title;
    bool m_grey = false;
};
