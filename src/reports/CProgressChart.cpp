#include "reports/CProgressChart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// The program's navy of the titles and its list colour (0x00BBGGRR 0xFAE4C9).
const QColor kNavy(0, 0, 128);
const QColor kListBlue(201, 228, 250);
const QColor kGrid(150, 150, 170);

QFont ChartFont(qreal unit, qreal pixels, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, int(std::lround(pixels * unit))));
    font.setBold(bold);
    return font;
}

} // namespace

CProgressChart::CProgressChart(std::vector<CTherapyHistory::SPoint> points,
                               CExerciseFigures::EMeasure measure)
    : m_points(std::move(points)), m_measure(measure),
      m_title(CExerciseFigures::MeasureName(measure) + QStringLiteral(" (") +
              CExerciseFigures::MeasureUnit(measure) + QLatin1Char(')'))
{
}

QColor CProgressChart::LineColour() const
{
    return m_grey ? QColor(Qt::black) : kNavy;
}

QColor CProgressChart::BackColour() const
{
    return m_grey ? QColor(Qt::white) : kListBlue;
}

double CProgressChart::AxisTop() const
{
    if (m_measure != CExerciseFigures::MeasureSeconds)
        return 100.0;
    double top = 0;
    for (const auto& p : m_points)
        if (p.Value)
            top = std::max(top, *p.Value);
    // 1, 2 or 5 times a power of ten, at least 10 seconds.
    double step = 10.0;
    while (step < top) {
        if (step * 2 >= top)
            return step * 2;
        if (step * 5 >= top)
            return step * 5;
        step *= 10;
    }
    return step;
}

QPointF CProgressChart::PointAt(const QRectF& plot, int index, double value) const
{
    const int count = int(m_points.size());
    const double x =
        count <= 1 ? plot.center().x() : plot.left() + plot.width() * index / double(count - 1);
    const double y = plot.bottom() - plot.height() * std::clamp(value / AxisTop(), 0.0, 1.0);
    return {x, y};
}

void CProgressChart::Paint(QPainter& painter, const QRectF& area, qreal unit) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(LineColour(), 1.5 * unit));
    painter.setBrush(BackColour());
    painter.drawRoundedRect(area.adjusted(unit, unit, -unit, -unit), 6 * unit, 6 * unit);

    const QFont title = ChartFont(unit, 13, true);
    painter.setFont(title);
    const qreal titleHeight = QFontMetricsF(title).height();
    painter.drawText(QRectF(area.left() + 10 * unit, area.top() + 4 * unit,
                            area.width() - 20 * unit, titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_title);

    const QFont small = ChartFont(unit, 11, false);
    const qreal smallHeight = QFontMetricsF(small).height();
    const qreal axisWidth =
        QFontMetricsF(small).horizontalAdvance(QStringLiteral("1000 s")) + 8 * unit;
    const QRectF plot(area.left() + axisWidth + 8 * unit, area.top() + titleHeight + 12 * unit,
                      area.width() - axisWidth - 28 * unit,
                      area.height() - titleHeight - smallHeight - 26 * unit);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }
    painter.setFont(small);
    PaintAxes(painter, plot, unit);
    PaintDates(painter, plot, unit);
    PaintLine(painter, plot, unit);
    painter.restore();
}

void CProgressChart::PaintAxes(QPainter& painter, const QRectF& plot, qreal unit) const
{
    const double top = AxisTop();
    const QString unitText = CExerciseFigures::MeasureUnit(m_measure);
    // Four steps, fewer where the labels would touch.
    const qreal labelHeight = QFontMetricsF(painter.font()).height();
    const int steps = plot.height() >= 4 * labelHeight   ? 4
                      : plot.height() >= 2 * labelHeight ? 2
                                                         : 1;
    for (int i = 0; i <= steps; ++i) {
        const double value = top * i / steps;
        const qreal y = plot.bottom() - plot.height() * i / steps;
        painter.setPen(QPen(m_grey ? QColor(Qt::gray) : kGrid, 0.7 * unit, Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(LineColour());
        painter.drawText(QRectF(plot.left() - 200 * unit, y - 10 * unit, 194 * unit, 20 * unit),
                         Qt::AlignRight | Qt::AlignVCenter,
                         CExerciseFigures::Text(value) + QLatin1Char(' ') + unitText);
    }
    painter.setPen(QPen(LineColour(), 1.2 * unit));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

void CProgressChart::PaintDates(QPainter& painter, const QRectF& plot, qreal unit) const
{
    const int count = int(m_points.size());
    if (count == 0)
        return;
    const QFontMetricsF metrics(painter.font());
    const qreal labelWidth = metrics.horizontalAdvance(QStringLiteral("00.00.0000")) + 12 * unit;
    // As many dates as fit without touching, the first and the last always.
    const int places = std::max(1, int(plot.width() / labelWidth));
    const int step = std::max(1, int(std::ceil((count - 1) / double(places))));
    painter.setPen(LineColour());
    auto label = [&](int i) {
        const QPointF at = PointAt(plot, i, 0);
        const QDate day = m_points[i].Day;
        const QString text = day.isValid() ? day.toString(QStringLiteral("dd.MM.yyyy"))
                                           : CExerciseFigures::NoFigure();
        Qt::Alignment align = Qt::AlignHCenter;
        QRectF box(at.x() - labelWidth / 2, plot.bottom() + 3 * unit, labelWidth, metrics.height());
        if (count > 1 && i == 0) {
            box.moveLeft(at.x() - 4 * unit);
            align = Qt::AlignLeft;
        } else if (count > 1 && i == count - 1) {
            box.moveRight(at.x() + 4 * unit);
            align = Qt::AlignRight;
        }
        painter.drawText(box, align | Qt::AlignTop, text);
        painter.drawLine(QPointF(at.x(), plot.bottom()), QPointF(at.x(), plot.bottom() + 3 * unit));
    };
    label(0);
    for (int i = step; i < count - 1; i += step)
        if (PointAt(plot, count - 1, 0).x() - PointAt(plot, i, 0).x() >= labelWidth)
            label(i);
    if (count > 1)
        label(count - 1);
}

void CProgressChart::PaintLine(QPainter& painter, const QRectF& plot, qreal unit) const
{
    static const Qt::PenStyle patterns[CExerciseFigures::MeasureCount] = {
        Qt::SolidLine, Qt::DashLine, Qt::DashDotLine};
    QPen pen(LineColour(), 2 * unit, patterns[m_measure]);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // A therapy without a figure breaks the line.
    QPainterPath path;
    bool open = false;
    for (int i = 0; i < int(m_points.size()); ++i) {
        if (!m_points[i].Value) {
            open = false;
            continue;
        }
        const QPointF at = PointAt(plot, i, *m_points[i].Value);
        if (open)
            path.lineTo(at);
        else
            path.moveTo(at);
        open = true;
    }
    painter.drawPath(path);
    // Markers only while they do not run together.
    if (m_points.size() > 1 && plot.width() / (m_points.size() - 1) < 5 * unit)
        return;
    for (int i = 0; i < int(m_points.size()); ++i)
        if (m_points[i].Value)
            PaintMarker(painter, PointAt(plot, i, *m_points[i].Value), unit);
}

void CProgressChart::PaintMarker(QPainter& painter, const QPointF& at, qreal unit) const
{
    const qreal r = 3.5 * unit;
    painter.setPen(QPen(LineColour(), 1.2 * unit));
    painter.setBrush(m_grey ? QColor(Qt::white) : QColor(Qt::white));
    switch (m_measure) {
    case CExerciseFigures::MeasureFaultless:
        painter.setBrush(LineColour());
        painter.drawEllipse(at, r, r);
        break;
    case CExerciseFigures::MeasureHints:
        painter.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
        break;
    case CExerciseFigures::MeasureSeconds: {
        const QPointF triangle[] = {
            {at.x(), at.y() - r}, {at.x() + r, at.y() + r}, {at.x() - r, at.y() + r}};
        painter.drawPolygon(triangle, 3);
        break;
    }
    }
}
