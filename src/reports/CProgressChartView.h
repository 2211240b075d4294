#pragma once
#include "reports/CProgressChart.h"

#include <QWidget>
#include <vector>

// The progress charts on screen: one chart, or the three measures of an
// exercise one above the other, drawn by the same painter as the report's.
class CProgressChartView : public QWidget
{
public:
    explicit CProgressChartView(QWidget* parent = nullptr);

    void SetCharts(std::vector<CProgressChart> charts);
    const std::vector<CProgressChart>& Charts() const { return m_charts; }
    // Text shown instead of the charts (no figures to draw).
    void SetNotice(const QString& notice);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<CProgressChart> m_charts;
    QString m_notice;
};
