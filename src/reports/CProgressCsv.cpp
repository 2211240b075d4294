#include "reports/CProgressCsv.h"

#include "reports/CChunkWriter.h"
#include "reports/CReportTarget.h"
#include "statistics/CExerciseFigures.h"
#include "statistics/ExerciseTitles.h"

#include <cstring>

namespace {

const char kSeparator = ';';

// The bytes of one row after the patient, the date and the exercise: four
// numbers, the seconds and the score with their separators, and the line end.
constexpr qsizetype kFiguresRoom = 4 * (1 + CStatEx::MaxNumberBytes) + 1 +
                                   CExerciseFigures::MaxSecondsBytes + 1 + CStatEx::MaxScoreBytes +
                                   2;

char* Copy(char* out, const QByteArray& bytes)
{
    std::memcpy(out, bytes.constData(), std::size_t(bytes.size()));
    return out + bytes.size();
}

// Two digits of `value` (0..99) at `out`.
char* WriteTwo(char* out, int value)
{
    out[0] = char('0' + value / 10);
    out[1] = char('0' + value % 10);
    return out + 2;
}

// "dd.MM.yyyy", written by hand: Qt's date formats take microseconds each,
// and the CSV of all patients has a hundred thousand therapies. Nothing for
// a damaged date.
char* WriteDate(char* out, const QDate& day)
{
    if (!day.isValid() || day.year() < 1 || day.year() > 9999)
        return out;
    out = WriteTwo(out, day.day());
    *out++ = '.';
    out = WriteTwo(out, day.month());
    *out++ = '.';
    out = WriteTwo(out, day.year() / 100);
    return WriteTwo(out, day.year() % 100);
}

// "HH:mm:ss"; nothing for a damaged time.
char* WriteTime(char* out, const QTime& time)
{
    if (!time.isValid())
        return out;
    out = WriteTwo(out, time.hour());
    *out++ = ':';
    out = WriteTwo(out, time.minute());
    *out++ = ':';
    return WriteTwo(out, time.second());
}

// The date and time of a therapy with their separators.
constexpr qsizetype kWhenRoom = 10 + 1 + 8 + 1;

// One row's numbers after the exercise's fields.
char* WriteFigures(char* out, const CStatEx& row)
{
    for (int value : {row.LZ, row.Rozw, row.Blad, row.Pomoc}) {
        *out++ = kSeparator;
        out = CStatEx::WriteNumber(out, value);
    }
    *out++ = kSeparator;
    out = CExerciseFigures(row).WriteSeconds(out);
    *out++ = kSeparator;
    out = row.WriteScore(out);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

QByteArray Header()
{
    QByteArray text = QByteArrayLiteral("\xEF\xBB\xBF");
    const char* const header[] = {"Pacjent",   "Data",         "Godzina",    "Kod",
                                  "Ćwiczenie", "Liczba zadań", "Rozwiązane", "Z błędami",
                                  "Pomoc (%)", "Czas (s)",     "Poprawność"};
    for (const char* h : header) {
        if (h != header[0])
            text += kSeparator;
        text += h;
    }
    return text + "\r\n";
}

} // namespace

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
    AddPatient(name, CTherapyHistory(history));
}

void CProgressCsv::AddPatient(const QString& name, CTherapyHistory&& history)
{
    m_patients.push_back({Field(name) + kSeparator, std::move(history)});
}

void CProgressCsv::AddAllPatients(CDbConnection* connection)
{
    std::map<int, CTherapyHistory> histories = CTherapyHistory::LoadAll(connection);
    for (const CTherapyHistory::SPatient& p : CTherapyHistory::Patients(connection)) {
        const auto found = histories.find(p.Id);
        if (found != histories.end())
            AddPatient(p.Name, std::move(found->second));
    }
}

int CProgressCsv::Rows() const
{
    int rows = 0;
    for (const SPatient& p : m_patients)
        for (const CTherapyHistory::STherapy& t : p.History.Therapies())
            rows += int(t.Rows.size());
    return rows;
}

void CProgressCsv::WriteRows(CChunkWriter& out, const SPatient& patient)
{
    // The exercises' code and name, written once for every row.
    static const std::vector<QByteArray> exercises = [] {
        std::vector<QByteArray> fields;
        for (int e = 0; e < CStatEx::FirstUnscored + 4; ++e)
            fields.push_back(ExerciseCode(e).toLatin1() + kSeparator + Field(ExerciseTitle(e)));
        return fields;
    }();
    // The patient, date and time of the therapy, the same for its rows.
    QByteArray head = patient.Field;
    const qsizetype prefix = head.size();
    head.resize(prefix + kWhenRoom);
    for (const CTherapyHistory::STherapy& t : patient.History.Therapies()) {
        char* end = WriteDate(head.data() + prefix, t.Day);
        *end++ = kSeparator;
        end = WriteTime(end, t.Time);
        *end++ = kSeparator;
        const qsizetype headSize = end - head.constData();
        for (const CStatEx& row : t.Rows) {
            const QByteArray& exercise = exercises[std::size_t(row.Cw)];
            char* at = out.Room(headSize + exercise.size() + kFiguresRoom);
            std::memcpy(at, head.constData(), std::size_t(headSize));
            out.Advance(WriteFigures(Copy(at + headSize, exercise), row));
        }
    }
}

void CProgressCsv::Write(CChunkWriter& out) const
{
    out.Append(Header());
    for (const SPatient& p : m_patients)
        WriteRows(out, p);
}

QByteArray CProgressCsv::Text() const
{
    CChunkWriter out(nullptr);
    Write(out);
    out.Finish();
    return out.Bytes();
}

bool CProgressCsv::Save(const QString& path, QString* error) const
{
    CReportTarget target(path);
    if (target.Open()) {
        CChunkWriter out(target.Device());
        Write(out);
        if (!out.Finish())
            target.Abandon();
        else if (target.Commit())
            return true;
    }
    if (error)
        *error = target.Error();
    return false;
}
