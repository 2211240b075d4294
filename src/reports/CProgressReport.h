#pragma once
#include "statistics/CTherapyHistory.h"

#include <QDate>
#include <QString>

class QPagedPaintDevice;

// The progress report of one patient on A4 pages: the patient's name, the
// period, the description from the patient page, a summary table per
// exercise, the charts of every exercise and the list of therapies with their
// exercise rows and recordings. The same drawing goes to a PDF file and to a
// printer. Text wraps and continues on the next page; nothing is cut.
class CProgressReport
{
public:
    // `history` is the patient's whole history; the report covers the
    // therapies from `from` to `to` (invalid: open end).
    CProgressReport(const CTherapyHistory::SPatient& patient, const CTherapyHistory& history,
                    const QDate& from = {}, const QDate& to = {});

    void SetGrey(bool grey) { m_grey = grey; }
    // No therapy in the period: nothing to report.
    bool Empty() const { return m_history.Empty(); }
    const CTherapyHistory& History() const { return m_history; }
    // The period as the report names it: "05.01.2026 – 15.03.2026".
    QString PeriodText() const;

    // Draws every page on `device` (a QPdfWriter or a QPrinter), which must
    // be set to its page size; the number of pages drawn.
    int Render(QPagedPaintDevice* device) const;
    // Writes the PDF file; false with the therapist's message in `error`.
    bool SavePdf(const QString& path, QString* error) const;

private:
    CTherapyHistory::SPatient m_patient;
    CTherapyHistory m_history;
    QDate m_from;
    QDate m_to;
    bool m_grey = false;
};
