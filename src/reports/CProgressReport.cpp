#include "reports/CProgressReport.h"

#include "reports/CProgressChart.h"
#include "reports/CReportPage.h"
#include "reports/CReportTarget.h"
#include "statistics/ExerciseTitles.h"

#include <QPdfWriter>

namespace {

using M = CExerciseFigures;

QString DateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : M::NoFigure();
}

QString Percent(std::optional<double> value)
{
    return value ? M::Text(value, 1) + QStringLiteral(" %") : M::NoFigure();
}

QString Seconds(std::optional<double> value)
{
    return value ? M::Text(value, 1) + QStringLiteral(" s") : M::NoFigure();
}

void SummaryTable(CReportPage& page, const CTherapyHistory& history)
{
    page.Paragraph(QStringLiteral("Podsumowanie ćwiczeń"), page.Font(13, true), 4);
    page.BeginTable({0.31, 0.09, 0.09, 0.12, 0.13, 0.11, 0.15},
                    {QStringLiteral("Ćwiczenie"), QStringLiteral("Terapie"),
                     QStringLiteral("Zadania"), QStringLiteral("Rozwiązane"),
                     QStringLiteral("Bez błędów"), QStringLiteral("Pomoc"),
                     QStringLiteral("Czas na zadanie")},
                    page.Font(9), page.Font(9, true));
    const int mask = history.ExerciseMask();
    bool shaded = false;
    for (int e = 0; e < 11; ++e) {
        if (!(mask & (1 << e)))
            continue;
        const CExerciseSummary s = history.Summary(e);
        page.Row({ExerciseTitle(e), QString::number(s.Therapies()), QString::number(s.Tasks()),
                  Percent(s.SolvedShare()), Percent(s.FaultlessShare()), Percent(s.HintPercent()),
                  Seconds(s.SecondsPerTask())},
                 shaded);
        shaded = !shaded;
    }
    page.EndTable();
}

void Charts(CReportPage& page, const CTherapyHistory& history, bool grey)
{
    page.Paragraph(QStringLiteral("Wykresy postępów"), page.Font(13, true), 4);
    const int mask = history.ExerciseMask();
    for (int e = 0; e < 11; ++e) {
        if (!(mask & (1 << e)))
            continue;
        // The title stays with its charts.
        const qreal chartHeight = page.Width() * 0.27;
        const QFont titleFont = page.Font(10, true);
        page.Block(QFontMetricsF(titleFont).height() * 1.3 + chartHeight,
                   [&](QPainter& painter, const QRectF& area) {
                       painter.setFont(titleFont);
                       painter.setPen(Qt::black);
                       const qreal titleHeight = QFontMetricsF(titleFont).height() * 1.3;
                       painter.drawText(QRectF(area.left(), area.top(), area.width(), titleHeight),
                                        Qt::AlignLeft | Qt::AlignVCenter,
                                        ExerciseCode(e) + QStringLiteral(" – ") + ExerciseTitle(e));
                       const qreal width = area.width() / M::MeasureCount;
                       for (int m = 0; m < M::MeasureCount; ++m) {
                           CProgressChart chart(history.Series(e, M::EMeasure(m)), M::EMeasure(m));
                           chart.SetGrey(grey);
                           chart.Paint(painter,
                                       QRectF(area.left() + m * width, area.top() + titleHeight,
                                              width, chartHeight),
                                       page.Unit() * 0.75);
                       }
                   });
        page.Space(4);
    }
    page.Space(6);
}

void TherapyList(CReportPage& page, const CTherapyHistory& history)
{
    page.Paragraph(QStringLiteral("Terapie"), page.Font(13, true), 4);
    page.BeginTable({0.19, 0.07, 0.09, 0.08, 0.11, 0.09, 0.11, 0.12, 0.14},
                    {QStringLiteral("Data"), QStringLiteral("Ćw."), QStringLiteral("Zadania"),
                     QStringLiteral("Rozw."), QStringLiteral("Z błędami"), QStringLiteral("Pomoc"),
                     QStringLiteral("Czas"), QStringLiteral("Poprawność"),
                     QStringLiteral("Nagrania")},
                    page.Font(8), page.Font(8, true));
    bool shaded = false;
    for (const CTherapyHistory::STherapy& t : history.Therapies()) {
        QStringList recordings;
        if (t.Utterance)
            recordings << QStringLiteral("wypowiedź");
        if (t.Comment)
            recordings << QStringLiteral("komentarz");
        bool first = true;
        for (const CStatEx& r : t.Rows) {
            const M figures(r);
            page.Row(
                {first
                     ? DateText(t.Day) + QLatin1Char(' ') + t.Time.toString(QStringLiteral("HH:mm"))
                     : QString(),
                 ExerciseCode(r.Cw), QString::number(r.LZ), QString::number(r.Rozw),
                 QString::number(r.Blad), QString::number(r.Pomoc) + QStringLiteral(" %"),
                 figures.Seconds() ? figures.SecondsText() + QStringLiteral(" s") : M::NoFigure(),
                 figures.ScoreText(), first ? recordings.join(QStringLiteral(", ")) : QString()},
                shaded);
            first = false;
        }
        shaded = !shaded;
    }
    page.EndTable();
}

} // namespace

CProgressReport::CProgressReport(const CTherapyHistory::SPatient& patient,
                                 const CTherapyHistory& history, const QDate& from, const QDate& to)
    : m_patient(patient), m_history(history.Between(from, to)), m_from(from), m_to(to)
{
}

QString CProgressReport::PeriodText() const
{
    const auto& t = m_history.Therapies();
    const QDate from = m_from.isValid() ? m_from : (t.empty() ? QDate() : t.front().Day);
    const QDate to = m_to.isValid() ? m_to : (t.empty() ? QDate() : t.back().Day);
    return DateText(from) + QStringLiteral(" – ") + DateText(to);
}

int CProgressReport::Render(QPagedPaintDevice* device) const
{
    CReportPage page(device, QStringLiteral("Loquena – raport postępów: ") + m_patient.Name);
    if (!page.Active())
        return 0;
    page.Paragraph(QStringLiteral("Raport postępów terapii"), page.Font(18, true), 6);
    page.Paragraph(QStringLiteral("Pacjent: ") + m_patient.Name, page.Font(13, true), 2);
    page.Paragraph(QStringLiteral("Okres terapii: ") + PeriodText() +
                       QStringLiteral(" (terapie: %1)").arg(m_history.Therapies().size()),
                   page.Font(11), 2);
    if (!m_patient.Description.trimmed().isEmpty())
        page.Paragraph(QStringLiteral("Opis: ") + m_patient.Description, page.Font(10), 2);
    page.Space(8);
    SummaryTable(page, m_history);
    Charts(page, m_history, m_grey);
    TherapyList(page, m_history);
    return page.Pages();
}

bool CProgressReport::SavePdf(const QString& path, QString* error) const
{
    CReportTarget target(path);
    bool written = target.Open();
    if (written) {
        QPdfWriter writer(target.Device());
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Raport postępów terapii: ") + m_patient.Name);
        writer.setCreator(QStringLiteral("Loquena"));
        written = Render(&writer) > 0;
    }
    // QPdfWriter finishes the file when it goes; only then is it whole.
    if (written && target.Commit())
        return true;
    if (error)
        *error = target.Error().isEmpty() ? QStringLiteral("Nie można utworzyć raportu.")
                                          : target.Error();
    return false;
}
