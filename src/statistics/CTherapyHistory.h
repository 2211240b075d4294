#pragma once
#include "statistics/CExerciseFigures.h"
#include "statistics/CExerciseSummary.h"
#include "statistics/CStatEx.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <map>
#include <optional>
#include <vector>

class CDbConnection;

// The stored therapies of one patient, oldest first, each with its exercise
// rows, read from the patient store, a file or a clinic's database (tables
// Statystyki and Cwiczenia), for the progress view and the reports. The rows are CStatEx records as
// LoadTherapy leaves them (Pomoc the stored percentage), so that every figure
// comes from CExerciseFigures.
class CTherapyHistory
{
public:
    struct STherapy
    {
        int IdStat = -1;
        QDate Day; // invalid for a damaged date
        QTime Time;
        bool Utterance = false;    // a patient's utterance is recorded
        bool Comment = false;      // a therapist's comment is recorded
        std::vector<CStatEx> Rows; // by exercise index
        // The row of `exercise`, null when it was not in the therapy.
        const CStatEx* Row(int exercise) const;
    };
    // One point of a chart: a therapy and its figure (none when it cannot be
    // computed).
    struct SPoint
    {
        QDate Day;
        std::optional<double> Value;
    };
    struct SPatient
    {
        int Id = -1;
        QString Name;
        QString Description;
    };

    // Reads patient `patientId`'s therapies. Throws CError when the database
    // cannot be read.
    void Load(CDbConnection* connection, int patientId);
    // The histories of all patients that have therapies, by patient id, read
    // at once. Throws CError when the database cannot be read.
    static std::map<int, CTherapyHistory> LoadAll(CDbConnection* connection);
    // The patients of the database, by name.
    static std::vector<SPatient> Patients(CDbConnection* connection);

    const std::vector<STherapy>& Therapies() const { return m_therapies; }
    bool Empty() const { return m_therapies.empty(); }
    // The therapies from `from` to `to` (whole days; an invalid date leaves
    // that end open).
    CTherapyHistory Between(const QDate& from, const QDate& to) const;
    // Bit i set: exercise i is in at least one therapy.
    int ExerciseMask() const;
    // One point per therapy that had `exercise`, oldest first.
    std::vector<SPoint> Series(int exercise, CExerciseFigures::EMeasure measure) const;
    // The figures of `exercise` over the therapies [first, first + count) of
    // those that had it; count -1: to the end.
    CExerciseSummary Summary(int exercise, int first = 0, int count = -1) const;
    // How many therapies had `exercise`.
    int CountOf(int exercise) const;

private:
    // The histories of one patient or, without an id, of all.
    static std::map<int, CTherapyHistory> Read(CDbConnection* connection,
                                               std::optional<int> patientId);

    std::vector<STherapy> m_therapies;
};
