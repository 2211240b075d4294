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
    // The exercises' code and name, written once for every row.
    static const std::vector<QByteArray> exercises = [] {
        std::vector<QByteArray> fields;
        for (int e = 0; e < CStatEx::FirstUnscored + 4; ++e)
            fields.push_back(ExerciseCode(e).toLatin1() + kSeparator + Field(ExerciseTitle(e)));
        return fields;
    }();
    QByteArray head = Field(name) + kSeparator;
    const int prefix = head.size();
    for (const CTherapyHistory::STherapy& t : history.Therapies()) {
        head.truncate(prefix);
        head += t.Day.toString(QStringLiteral("dd.MM.yyyy")).toLatin1() + kSeparator +
                t.Time.toString(QStringLiteral("HH:mm:ss")).toLatin1() + kSeparator;
        for (const CStatEx& row : t.Rows) {
            const CExerciseFigures figures(row);
            m_text += head;
            m_text += exercises[std::size_t(row.Cw)];
            for (int value : {row.LZ, row.Rozw, row.Blad, row.Pomoc}) {
                m_text += kSeparator;
                CStatEx::AppendNumber(m_text, value);
            }
            m_text += kSeparator;
            figures.AppendSeconds(m_text);
            m_text += kSeparator;
            row.AppendScore(m_text);
            m_text += "\r\n";
            ++m_rows;
        }
    }
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
