#include "statistics/CExerciseSummary.h"

#include "statistics/CExerciseFigures.h"

void CExerciseSummary::Add(const CStatEx& record)
{
    ++m_therapies;
    m_scored = record.Cw < CStatEx::FirstUnscored;
    const CExerciseFigures figures(record);
    if (!figures.Valid())
        return;
    ++m_counted;
    m_tasks += record.LZ;
    m_solved += record.Rozw;
    m_faultless += record.Faultless();
    m_pomoc += record.Pomoc;
    m_czas += record.Czas;
}

std::optional<double> CExerciseSummary::SolvedShare() const
{
    if (m_tasks == 0 || !m_scored)
        return std::nullopt;
    return m_solved * 100.0 / m_tasks;
}

std::optional<double> CExerciseSummary::FaultlessShare() const
{
    if (m_tasks == 0 || !m_scored)
        return std::nullopt;
    return m_faultless * 100.0 / m_tasks;
}

std::optional<double> CExerciseSummary::HintPercent() const
{
    if (m_counted == 0 || !m_scored)
        return std::nullopt;
    return double(m_pomoc) / m_counted;
}

std::optional<double> CExerciseSummary::SecondsPerTask() const
{
    if (m_tasks == 0)
        return std::nullopt;
    return m_czas / 10.0 / m_tasks;
}
