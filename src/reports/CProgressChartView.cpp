#include "reports/CProgressChartView.h"

#include <QPainter>

CProgressChartView::CProgressChartView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(200, 120);
}

void CProgressChartView::SetCharts(std::vector<CProgressChart> charts)
{
    m_charts = std::move(charts);
    m_notice.clear();
    update();
}

void CProgressChartView::SetNotice(const QString& notice)
{
    m_charts.clear();
    m_notice = notice;
    update();
}

void CProgressChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_charts.empty()) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(16);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_notice);
        return;
    }
    const qreal height = qreal(this->height()) / m_charts.size();
    for (std::size_t i = 0; i < m_charts.size(); ++i)
        m_charts[i].Paint(painter, QRectF(0, i * height, width(), height), 1.0);
}
