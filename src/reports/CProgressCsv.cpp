#include "reports/CProgressCsv.h"

#include "reports/CReportTarget.h"
#include "statistics/CExerciseFigures.h"
#include "statistics/ExerciseTitles.h"

namespace {

const char kSeparator = ';';

// Two digits of `value` (0..99) after `out`.
void AppendTwo(QByteArray& out, int value)
{
    out += char('0' + value / 10);
    out += char('0' + value % 10);
}

// "dd.MM.yyyy", written by hand: Qt's date formats take microseconds each,
// and the CSV of all patients has a hundred thousand therapies. Nothing for
// a damaged date.
void AppendDate(QByteArray& out, const QDate& day)
{
    if (!day.isValid() || day.year() < 1 || day.year() > 9999)
        return;
    AppendTwo(out, day.day());
    out += '.';
    AppendTwo(out, day.month());
    out += '.';
    AppendTwo(out, day.year() / 100);
    AppendTwo(out, day.year() % 100);
}

// "HH:mm:ss"; nothing for a damaged time.
void AppendTime(QByteArray& out, const QTime& time)
{
    if (!time.isValid())
        return;
    AppendTwo(out, time.hour());
    out += ':';
    AppendTwo(out, time.minute());
    out += ':';
    AppendTwo(out, time.second());
}

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
        AppendDate(head, t.Day);
        head += kSeparator;
        AppendTime(head, t.Time);
        head += kSeparator;
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

void CProgressCsv::AddAllPatients(CDbConnection* connection)
{
    const std::map<int, CTherapyHistory> histories = CTherapyHistory::LoadAll(connection);
    // Room for all rows at once, so that a file of a hundred megabytes is
    // not copied over as it grows.
    qsizetype rows = 0;
    for (const auto& [id, history] : histories)
        for (const CTherapyHistory::STherapy& t : history.Therapies())
            rows += qsizetype(t.Rows.size());
    m_text.reserve(m_text.size() + rows * 96);
    for (const CTherapyHistory::SPatient& p : CTherapyHistory::Patients(connection)) {
        const auto found = histories.find(p.Id);
        if (found != histories.end())
            AddPatient(p.Name, found->second);
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
