#include "statistics/CTherapyHistory.h"

#include "platform/CDbConnection.h"
#include "platform/CDbStatement.h"
#include "platform/DbDateText.h"

#include <sqlite3.h>

namespace {

QString ColumnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

} // namespace

const CStatEx* CTherapyHistory::STherapy::Row(int exercise) const
{
    for (const CStatEx& r : Rows)
        if (r.Cw == exercise)
            return &r;
    return nullptr;
}

void CTherapyHistory::Load(CDbConnection* connection, int patientId)
{
    m_therapies.clear();
    // Read straight from the statement: a history may hold ten thousand
    // rows, and the view must show them at once.
    CDbStatement statement(
        connection->Handle("CTherapyHistory::Load"),
        QStringLiteral("SELECT s.idStat, s.Data, s.Wypowiedz, s.Komentarz, c.Cw, c.LZ, c.Rozw, "
                       "c.Blad, c.Pomoc, c.Czas FROM Statystyki AS s JOIN Cwiczenia AS c ON "
                       "s.idStat=c.idStat WHERE s.idPac=? ORDER BY s.Data, s.idStat, c.Cw"),
        QStringLiteral("CTherapyHistory::Load"));
    statement.Bind({patientId});
    sqlite3_stmt* s = statement.Handle();
    while (statement.Step()) {
        const int idStat = sqlite3_column_int(s, 0);
        if (m_therapies.empty() || m_therapies.back().IdStat != idStat) {
            STherapy& t = m_therapies.emplace_back();
            t.IdStat = idStat;
            DbTextToDateAndTime(ColumnText(s, 1), &t.Day, &t.Time);
            t.Utterance = sqlite3_column_int(s, 2) > 0;
            t.Comment = sqlite3_column_int(s, 3) > 0;
        }
        CStatEx record;
        record.Cw = sqlite3_column_int(s, 4);
        if (record.Cw < 0 || record.Cw > CStatEx::FirstUnscored + 3)
            continue;
        record.LZ = sqlite3_column_int(s, 5);
        record.Rozw = sqlite3_column_int(s, 6);
        record.Blad = sqlite3_column_int(s, 7);
        // As loaded for the statistics page, but a damaged percentage is
        // kept as it is, so that its figures show as missing.
        record.PomocMax = 100;
        record.Pomoc = sqlite3_column_int(s, 8);
        record.Czas = sqlite3_column_int(s, 9);
        m_therapies.back().Rows.push_back(record);
    }
}

std::vector<CTherapyHistory::SPatient> CTherapyHistory::Patients(CDbConnection* connection)
{
    CDbStatement statement(
        connection->Handle("CTherapyHistory::Patients"),
        QStringLiteral(
            "SELECT idPac, NazwiskoImie, Opis FROM Pacjenci ORDER BY NazwiskoImie, idPac"),
        QStringLiteral("CTherapyHistory::Patients"));
    std::vector<SPatient> patients;
    sqlite3_stmt* s = statement.Handle();
    while (statement.Step())
        patients.push_back({sqlite3_column_int(s, 0), ColumnText(s, 1), ColumnText(s, 2)});
    return patients;
}

CTherapyHistory CTherapyHistory::Between(const QDate& from, const QDate& to) const
{
    CTherapyHistory part;
    for (const STherapy& t : m_therapies) {
        const QDate& day = t.Day;
        if ((from.isValid() && (!day.isValid() || day < from)) ||
            (to.isValid() && (!day.isValid() || day > to)))
            continue;
        part.m_therapies.push_back(t);
    }
    return part;
}

int CTherapyHistory::ExerciseMask() const
{
    int mask = 0;
    for (const STherapy& t : m_therapies)
        for (const CStatEx& r : t.Rows)
            mask |= 1 << r.Cw;
    return mask;
}

std::vector<CTherapyHistory::SPoint>
CTherapyHistory::Series(int exercise, CExerciseFigures::EMeasure measure) const
{
    std::vector<SPoint> points;
    for (const STherapy& t : m_therapies)
        if (const CStatEx* r = t.Row(exercise))
            points.push_back({t.Day, CExerciseFigures(*r).Measure(measure)});
    return points;
}

CExerciseSummary CTherapyHistory::Summary(int exercise, int first, int count) const
{
    CExerciseSummary summary;
    int index = 0;
    for (const STherapy& t : m_therapies) {
        const CStatEx* r = t.Row(exercise);
        if (!r)
            continue;
        if (index >= first && (count < 0 || index < first + count))
            summary.Add(*r);
        ++index;
    }
    return summary;
}

int CTherapyHistory::CountOf(int exercise) const
{
    int count = 0;
    for (const STherapy& t : m_therapies)
        count += t.Row(exercise) ? 1 : 0;
    return count;
}
