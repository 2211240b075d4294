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

double CProgressChart::Largest() const
{
    if (m_measure != CExerciseFigures::MeasureSeconds)
        return 100.0;
    // At least 10 seconds, so that a few quick tasks do not fill the height.
    double largest = 10.0;
    for (const auto& p : m_points)
        if (p.Value)
            largest = std::max(largest, *p.Value);
    return largest;
}

std::vector<double> CProgressChart::Ticks(double largest, int maxSteps)
{
    maxSteps = std::max(1, maxSteps);
    if (!(largest > 0) || !std::isfinite(largest))
        largest = 1;
    // The smallest of 1, 2, 5 times a power of ten that needs no more steps.
    for (double power = std::pow(10.0, std::floor(std::log10(largest / maxSteps)));; power *= 10) {
        for (double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * power;
            const int steps = std::max(1, int(std::ceil(largest / step - 1e-9)));
            if (steps > maxSteps)
                continue;
            std::vector<double> ticks;
            for (int i = 0; i <= steps; ++i)
                ticks.push_back(step * i);
            return ticks;
        }
    }
}

QPointF CProgressChart::PointAt(const SLayout& layout, int index, double value) const
{
    const QRectF& plot = layout.Plot;
    const int count = int(m_points.size());
    const double x =
        count <= 1 ? plot.center().x() : plot.left() + plot.width() * index / double(count - 1);
    const double top = layout.Ticks.empty() ? 1.0 : layout.Ticks.back();
    const double y = plot.bottom() - plot.height() * std::clamp(value / top, 0.0, 1.0);
    return {x, y};
}

CProgressChart::SLayout CProgressChart::Layout(const QRectF& area, qreal unit) const
{
    const QFontMetricsF title(ChartFont(unit, 13, true));
    const QFontMetricsF small(ChartFont(unit, 11, false));
    const qreal axisWidth = small.horizontalAdvance(QStringLiteral("1000 s")) + 8 * unit;
    SLayout layout;
    layout.Plot =
        QRectF(area.left() + axisWidth + 8 * unit, area.top() + title.height() + 12 * unit,
               area.width() - axisWidth - 28 * unit,
               area.height() - title.height() - small.height() - 26 * unit);
    if (layout.Plot.width() <= 0 || layout.Plot.height() <= 0)
        return layout;
    // Value labels a line and a half apart at least, at most five steps.
    const int maxSteps = std::clamp(int(layout.Plot.height() / (1.5 * small.height())), 1, 5);
    layout.Ticks = Ticks(Largest(), maxSteps);
    layout.Dates = DateLabels(layout.Plot, small, unit);
    return layout;
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

    const SLayout layout = Layout(area, unit);
    if (layout.Ticks.empty()) {
        painter.restore();
        return;
    }
    painter.setFont(ChartFont(unit, 11, false));
    PaintAxes(painter, layout, unit);
    PaintDates(painter, layout, unit);
    PaintLine(painter, layout, unit);
    painter.restore();
}

void CProgressChart::PaintAxes(QPainter& painter, const SLayout& layout, qreal unit) const
{
    const QRectF& plot = layout.Plot;
    const QString unitText = CExerciseFigures::MeasureUnit(m_measure);
    for (double value : layout.Ticks) {
        const qreal y = PointAt(layout, 0, value).y();
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

std::vector<CProgressChart::SDateLabel>
CProgressChart::DateLabels(const QRectF& plot, const QFontMetricsF& metrics, qreal unit) const
{
    const int count = int(m_points.size());
    std::vector<SDateLabel> labels;
    if (count == 0)
        return labels;
    const qreal gap = 8 * unit;
    // The first date starts at its point, the last ends at its own, the rest
    // are centred on theirs.
    auto label = [&](int i) {
        SDateLabel l;
        l.Index = i;
        const QDate day = m_points[std::size_t(i)].Day;
        l.Text = day.isValid() ? day.toString(QStringLiteral("dd.MM.yyyy"))
                               : CExerciseFigures::NoFigure();
        const qreal width = metrics.horizontalAdvance(l.Text);
        const qreal x =
            count <= 1 ? plot.center().x() : plot.left() + plot.width() * i / double(count - 1);
        l.Box = QRectF(x - width / 2, plot.bottom() + 3 * unit, width, metrics.height());
        l.Align = Qt::AlignHCenter;
        if (count > 1 && i == 0) {
            l.Box.moveLeft(x - 4 * unit);
            l.Align = Qt::AlignLeft;
        } else if (count > 1 && i == count - 1) {
            l.Box.moveRight(x + 4 * unit);
            l.Align = Qt::AlignRight;
        }
        return l;
    };
    // Apart by a step that leaves room for the widest date; a date that
    // would still touch its neighbour (the first and last sit off their
    // points) is left out, the first and the last never.
    labels.push_back(label(0));
    if (count == 1)
        return labels;
    const SDateLabel last = label(count - 1);
    const qreal room = metrics.horizontalAdvance(QStringLiteral("00.00.0000")) + gap;
    const int step = std::max(1, int(std::ceil(room / (plot.width() / (count - 1)))));
    for (int i = step; i < count - 1; i += step) {
        SDateLabel l = label(i);
        if (l.Box.left() >= labels.back().Box.right() + gap &&
            l.Box.right() + gap <= last.Box.left())
            labels.push_back(std::move(l));
    }
    if (last.Box.left() >= labels.back().Box.right() + gap)
        labels.push_back(last);
    return labels;
}

void CProgressChart::PaintDates(QPainter& painter, const SLayout& layout, qreal unit) const
{
    painter.setPen(LineColour());
    for (const SDateLabel& l : layout.Dates) {
        painter.drawText(l.Box, l.Align | Qt::AlignTop, l.Text);
        const QPointF at = PointAt(layout, l.Index, 0);
        painter.drawLine(at, QPointF(at.x(), at.y() + 3 * unit));
    }
}

void CProgressChart::PaintLine(QPainter& painter, const SLayout& layout, qreal unit) const
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
        const QPointF at = PointAt(layout, i, *m_points[i].Value);
        if (open)
            path.lineTo(at);
        else
            path.moveTo(at);
        open = true;
    }
    painter.drawPath(path);
    // Markers only while they do not run together.
    if (m_points.size() > 1 && layout.Plot.width() / (m_points.size() - 1) < 5 * unit)
        return;
    for (int i = 0; i < int(m_points.size()); ++i)
        if (m_points[i].Value)
            PaintMarker(painter, PointAt(layout, i, *m_points[i].Value), unit);
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
