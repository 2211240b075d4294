#include "reports/CReportPage.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QTextLayout>
#include <cmath>

CReportPage::CReportPage(QPagedPaintDevice* device, const QString& footer)
    : m_device(device), m_footer(footer)
{
    if (!m_painter.begin(device))
        return;
    m_unit = device->logicalDpiX() / 96.0;
    const QRect page = device->pageLayout().paintRectPixels(device->logicalDpiX());
    // The painter's origin is the printable area's corner.
    m_area = QRectF(0, 0, page.width(), page.height() - Points(16));
    m_y = m_area.top();
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
}

CReportPage::~CReportPage()
{
    if (!Active())
        return;
    Footer();
    m_painter.end();
}

qreal CReportPage::Points(qreal points) const
{
    return points * m_device->logicalDpiY() / 72.0;
}

QFont CReportPage::Font(qreal points, bool bold) const
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, int(std::lround(Points(points)))));
    font.setBold(bold);
    return font;
}

void CReportPage::Footer()
{
    const QFont font = Font(8);
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    const QString number = QStringLiteral("strona %1").arg(m_page);
    const QFontMetricsF metrics(font);
    const qreal top = m_area.bottom() + Points(6);
    const qreal numberWidth = metrics.horizontalAdvance(number);
    const QString left =
        metrics.elidedText(m_footer, Qt::ElideRight, m_area.width() - numberWidth - Points(12));
    m_painter.drawText(QRectF(0, top, m_area.width(), metrics.height()),
                       Qt::AlignLeft | Qt::AlignTop, left);
    m_painter.drawText(QRectF(0, top, m_area.width(), metrics.height()),
                       Qt::AlignRight | Qt::AlignTop, number);
}

void CReportPage::NewPage()
{
    Footer();
    m_device->newPage();
    ++m_page;
    m_y = m_area.top();
    if (m_inTable)
        DrawRow(m_header, m_headerFont, true, true);
}

void CReportPage::Ensure(qreal height)
{
    if (m_y + height > m_area.bottom() && m_y > m_area.top() + (m_inTable ? m_rowHeight : 0))
        NewPage();
}

void CReportPage::Space(qreal points)
{
    m_y += Points(points);
}

void CReportPage::Paragraph(const QString& text, const QFont& font, qreal spaceAfter)
{
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, font, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(m_area.width());
    layout.endLayout();
    m_painter.setPen(Qt::black);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        Ensure(line.height());
        line.draw(&m_painter, QPointF(m_area.left(), m_y - line.y()));
        m_y += line.height();
    }
    Space(spaceAfter);
}

void CReportPage::Block(qreal height, const std::function<void(QPainter&, const QRectF&)>& paint)
{
    Ensure(height);
    m_painter.save();
    paint(m_painter, QRectF(m_area.left(), m_y, m_area.width(), height));
    m_painter.restore();
    m_y += height;
}

void CReportPage::BeginTable(const std::vector<qreal>& shares, const QStringList& header,
                             const QFont& font, const QFont& headerFont)
{
    m_columns = shares;
    m_header = header;
    m_tableFont = font;
    m_headerFont = headerFont;
    m_rowHeight =
        std::max(QFontMetricsF(font).height(), QFontMetricsF(headerFont).height()) + Points(3);
    // The header and at least one row stay together.
    Ensure(2 * m_rowHeight);
    m_inTable = true;
    DrawRow(m_header, m_headerFont, true, true);
}

void CReportPage::Row(const QStringList& cells, bool shaded)
{
    Ensure(m_rowHeight);
    DrawRow(cells, m_tableFont, shaded, false);
}

void CReportPage::EndTable()
{
    m_inTable = false;
    Space(6);
}

void CReportPage::DrawRow(const QStringList& cells, const QFont& font, bool shaded, bool header)
{
    if (shaded)
        m_painter.fillRect(QRectF(m_area.left(), m_y, m_area.width(), m_rowHeight),
                           header ? QColor(210, 210, 210) : QColor(238, 238, 238));
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    const QFontMetricsF metrics(font);
    const qreal pad = Points(2);
    qreal x = m_area.left();
    for (int c = 0; c < int(m_columns.size()) && c < cells.size(); ++c) {
        const qreal width = m_columns[c] * m_area.width();
        const QString text = metrics.elidedText(cells[c], Qt::ElideRight, width - 2 * pad);
        // The first column is text, the others figures.
        const Qt::Alignment align = c == 0 ? Qt::AlignLeft : Qt::AlignRight;
        m_painter.drawText(QRectF(x + pad, m_y, width - 2 * pad, m_rowHeight),
                           align | Qt::AlignVCenter, text);
        x += width;
    }
    if (header) {
        m_painter.setPen(QPen(Qt::black, m_unit));
        m_painter.drawLine(QPointF(m_area.left(), m_y + m_rowHeight),
                           QPointF(m_area.right(), m_y + m_rowHeight));
    }
    m_y += m_rowHeight;
}
