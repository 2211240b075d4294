#pragma once
#include "statistics/CStatEx.h"

#include <QString>
#include <optional>

// The figures of one exercise over many therapies, for the report's summary
// table and the progress view's comparison of the first and last therapies.
// Only rows with figures (CExerciseFigures::Valid) count into the shares and
// means; every row counts as a therapy.
class CExerciseSummary
{
public:
    void Add(const CStatEx& record);

    int Therapies() const { return m_therapies; }
    int Tasks() const { return m_tasks; }
    // Percent of the tasks solved, and solved without an error.
    std::optional<double> SolvedShare() const;
    std::optional<double> FaultlessShare() const;
    // Mean hint use, percent of the hint limit.
    std::optional<double> HintPercent() const;
    // Seconds of work per task.
    std::optional<double> SecondsPerTask() const;

private:
    bool m_scored = true;
    int m_therapies = 0;
    int m_tasks = 0;
    int m_counted = 0; // rows with figures
    long long m_solved = 0;
    long long m_faultless = 0;
    long long m_pomoc = 0;
    long long m_czas = 0;
};
