#include "reports/CProgressCsv.h"

#include "reports/CReportTarget.h"
#include "statistics/CExerciseFigures.h"
#include "statistics/ExerciseTitles.h"

namespace {

const char kSeparator = ';';

} // namespace

CProgressCsv::CProgressCsv()
{
    m_text = QByteArrayLiteral("\xEF\xBB\xBF");
    const char* const header[] = {"Pacjent",   "Data",         "Godzina",    "Kod",
                                  "Ćwiczenie", "Liczba zadań", "Rozwiązane", "Z błędami",
                                  "Pomoc (%)", "Czas (s)",     "Poprawność"};
    for (const char* h : header) {
        if (h != header[0])
            m_text += kSeparator;
        m_text += h;
    }
    m_text += "\r\n";
}

QByteArray CProgressCsv::Field(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(kSeparator) || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

void CProgressCsv::AddPatient(const QString& name, const CTherapyHistory& history)
{
    const QByteArray field = Field(name);
    for (const CTherapyHistory::STherapy& t : history.Therapies())
        for (const CStatEx& row : t.Rows)
            AddRow(field, t, row);
}

void CProgressCsv::AddRow(const QByteArray& name, const CTherapyHistory::STherapy& therapy,
                          const CStatEx& row)
{
    const CExerciseFigures figures(row);
    m_text += name;
    m_text += kSeparator;
    m_text += therapy.Date.date().toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
    m_text += kSeparator;
    m_text += therapy.Date.time().toString(QStringLiteral("HH:mm:ss")).toLatin1();
    m_text += kSeparator;
    m_text += ExerciseCode(row.Cw).toLatin1();
    m_text += kSeparator;
    m_text += ExerciseTitle(row.Cw).toUtf8();
    for (int value : {row.LZ, row.Rozw, row.Blad, row.Pomoc}) {
        m_text += kSeparator;
        m_text += QByteArray::number(value);
    }
    m_text += kSeparator;
    m_text += CExerciseFigures::Text(figures.Seconds(), 1).toUtf8();
    m_text += kSeparator;
    m_text += figures.ScoreText().toUtf8();
    m_text += "\r\n";
    ++m_rows;
}

bool CProgressCsv::Save(const QString& path, QString* error) const
{
    CReportTarget target(path);
    if (target.Open() && target.Device()->write(m_text) == m_text.size() && target.Commit())
        return true;
    if (error)
        *error = target.Error();
    return false;
}
