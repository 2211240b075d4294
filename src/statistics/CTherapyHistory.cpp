#include "statistics/CTherapyHistory.h"

#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "platform/DbDateText.h"

#include <QHash>
#include <algorithm>

namespace {

const QString kWhere = QStringLiteral("CTherapyHistory");

// An integer column: both stores give 64-bit integers, which read back
// without a conversion (a million rows are read for the CSV of all
// patients).
int Int(const QVariant& value)
{
    return int(value.toLongLong());
}

// The exercise row of one query row (idStat, Cw, LZ, Rozw, Blad, Pomoc,
// Czas) as the statistics page loads it, but with a damaged percentage kept
// as it is, so that its figures show as missing.
CStatEx ExerciseRow(const qint64* row)
{
    CStatEx record;
    record.Cw = int(row[1]);
    record.LZ = int(row[2]);
    record.Rozw = int(row[3]);
    record.Blad = int(row[4]);
    record.PomocMax = 100;
    record.Pomoc = int(row[5]);
    record.Czas = int(row[6]);
    return record;
}

bool KnownExercise(int exercise)
{
    return exercise >= 0 && exercise <= CStatEx::FirstUnscored + 3;
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
    std::map<int, CTherapyHistory> histories = Read(connection, patientId);
    m_therapies = std::move(histories[patientId].m_therapies);
}

std::map<int, CTherapyHistory> CTherapyHistory::LoadAll(CDbConnection* connection)
{
    return Read(connection, std::nullopt);
}

std::map<int, CTherapyHistory> CTherapyHistory::Read(CDbConnection* connection,
                                                     std::optional<int> patientId)
{
    // Two queries stepped through row by row, whatever the number of
    // therapies: the histories of all patients may hold a million exercise
    // rows. The therapies are read apart from their rows, so that each date
    // is read and parsed once.
    CDbBackend& store = connection->Backend("CTherapyHistory::Load");
    QVariantList params;
    QString therapyFilter, rowFilter;
    if (patientId) {
        params << *patientId;
        therapyFilter = QStringLiteral(" WHERE s.idPac=?");
        rowFilter = QStringLiteral(" JOIN Statystyki AS s ON s.idStat=c.idStat WHERE s.idPac=?");
    }
    std::map<int, CTherapyHistory> histories;
    store.SelectEach(
        "SELECT s.idPac, s.idStat, s.Data, s.Wypowiedz, s.Komentarz FROM Statystyki AS s" +
            therapyFilter + " ORDER BY s.idPac, s.Data, s.idStat",
        params,
        [&histories](const QVariantList& row) {
            STherapy t;
            t.Rows.reserve(CStatEx::FirstUnscored + 4); // room for every exercise
            t.IdStat = Int(row[1]);
            DbTextToDateAndTime(row[2].toString(), &t.Day, &t.Time);
            t.Utterance = Int(row[3]) > 0;
            t.Comment = Int(row[4]) > 0;
            histories[Int(row[0])].m_therapies.push_back(std::move(t));
        },
        kWhere);
    QHash<int, STherapy*> therapies;
    for (auto& [id, history] : histories)
        for (STherapy& t : history.m_therapies)
            therapies.insert(t.IdStat, &t);
    // A therapy's rows are mostly stored one after another: the last one
    // found is asked first.
    STherapy* last = nullptr;
    store.SelectEachInteger(
        "SELECT c.idStat, c.Cw, c.LZ, c.Rozw, c.Blad, c.Pomoc, c.Czas FROM Cwiczenia AS c" +
            rowFilter,
        params,
        [&therapies, &last](const qint64* row) {
            const int idStat = int(row[0]);
            if (!last || last->IdStat != idStat)
                last = therapies.value(idStat);
            if (last && KnownExercise(int(row[1])))
                last->Rows.push_back(ExerciseRow(row));
        },
        kWhere);
    for (auto& [id, history] : histories) {
        auto& list = history.m_therapies;
        // A therapy without exercise rows has nothing to show.
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [](const STherapy& t) { return t.Rows.empty(); }),
                   list.end());
        for (STherapy& t : list)
            std::stable_sort(t.Rows.begin(), t.Rows.end(),
                             [](const CStatEx& a, const CStatEx& b) { return a.Cw < b.Cw; });
    }
    return histories;
}

std::vector<CTherapyHistory::SPatient> CTherapyHistory::Patients(CDbConnection* connection)
{
    const SDbRows rows = connection->Backend("CTherapyHistory::Patients")
                             .Select("SELECT idPac, NazwiskoImie, Opis FROM Pacjenci ORDER BY "
                                     "NazwiskoImie, idPac",
                                     {}, QStringLiteral("CTherapyHistory::Patients"));
    std::vector<SPatient> patients;
    patients.reserve(rows.rows.size());
    for (const QVariantList& row : rows.rows)
        patients.push_back({row[0].toInt(), row[1].toString(), row[2].toString()});
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
