#pragma once
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPagedPaintDevice;

// Lays a report out on the pages of a paged device from the top down: text
// that wraps (a word longer than the line breaks anywhere) and goes on to
// the next page, table rows, and blocks of a fixed height such as charts.
// A new page gets the footer and, inside a table, the table's header again.
class CReportPage
{
public:
    // `footer` is drawn at the bottom of every page, with the page number.
    CReportPage(QPagedPaintDevice* device, const QString& footer);
    ~CReportPage();

    bool Active() const { return m_painter.isActive(); }
    QPainter& Painter() { return m_painter; }
    // One screen pixel in device units.
    qreal Unit() const { return m_unit; }
    qreal Width() const { return m_area.width(); }
    int Pages() const { return m_page; }

    // A font of the report, `points` high.
    QFont Font(qreal points, bool bold = false) const;

    // Wrapped text across the whole width.
    void Paragraph(const QString& text, const QFont& font, qreal spaceAfter = 0);
    void Space(qreal points);
    // A block `height` high at the top of the free space (on a new page
    // when it does not fit), drawn by `paint` into its rectangle.
    void Block(qreal height, const std::function<void(QPainter&, const QRectF&)>& paint);

    // A table: column widths as shares of the width, the header repeated on
    // every page the table runs on. A cell too long for its column is
    // shortened with "…".
    void BeginTable(const std::vector<qreal>& shares, const QStringList& header, const QFont& font,
                    const QFont& headerFont);
    void Row(const QStringList& cells, bool shaded = false);
    void EndTable();

private:
    // Room for `height` below the cursor, on a new page if needed.
    void Ensure(qreal height);
    void NewPage();
    void Footer();
    void DrawRow(const QStringList& cells, const QFont& font, bool shaded, bool header);
    qreal Points(qreal points) const;

    QPagedPaintDevice* m_device;
    QPainter m_painter;
    QString m_footer;
    QRectF m_area;
    qreal m_unit = 1;
    qreal m_y = 0;
    int m_page = 1;
    // The open table.
    bool m_inTable = false;
    std::vector<qreal> m_columns;
    QStringList m_header;
    QFont m_tableFont;
    QFont m_headerFont;
    qreal m_rowHeight = 0;
};
