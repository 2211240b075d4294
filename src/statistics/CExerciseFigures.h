#pragma once
#include "statistics/CStatEx.h"

#include <QString>
#include <optional>

// The figures of one exercise in one therapy, computed from its stored row,
// for the statistics page, the progress charts, the PDF report and the CSV
// file alike. A row whose values no exercise can produce (no tasks, negative
// counts, more solved than tasks, a hint share outside 0..100, a negative or
// day-long time) has no figures: they are shown as "–", never divided by zero
// and never negative.
class CExerciseFigures
{
public:
    // The measures of the progress charts, in the order the view offers them.
    enum EMeasure
    {
        MeasureFaultless = 0, // tasks solved without an error, percent of the tasks
        MeasureHints = 1,     // hint use, percent of the exercise's hint limit
        MeasureSeconds = 2    // seconds per solved task
    };
    static constexpr int MeasureCount = 3;
    // Longer than a day in one exercise is a damaged time, in tenths.
    static constexpr int MaxCzas = 24 * 3600 * 10;

    // `record` as loaded from the database (Pomoc a percentage).
    explicit CExerciseFigures(const CStatEx& record) : m_record(record) {}

    bool Valid() const;
    bool Scored() const { return m_record.Cw < CStatEx::FirstUnscored; }
    // The tasks counted as solved: all of them in a repetition exercise,
    // which has no wrong answer.
    int Solved() const;

    std::optional<double> FaultlessShare() const;
    std::optional<double> SolvedShare() const;
    std::optional<double> HintPercent() const;
    std::optional<double> SecondsPerSolved() const;
    std::optional<double> Measure(EMeasure measure) const;
    // The score as the statistics list shows it ("x", "–" or a number).
    QString ScoreText() const { return m_record.ScoreText(); }
    // Working time in seconds, one decimal; none for a damaged time.
    std::optional<double> Seconds() const;
    // The same as text ("65,9", "–"), made without a locale: the CSV of all
    // patients writes it a million times.
    QString SecondsText() const;
    // The same in UTF-8 at `out`, at most MaxSecondsBytes; returns the end.
    char* WriteSeconds(char* out) const;
    static constexpr int MaxSecondsBytes = CStatEx::MaxNumberBytes + 2;

    // The caption and unit of a measure, as the view and the report name it.
    static QString MeasureName(EMeasure measure);
    static QString MeasureUnit(EMeasure measure);
    // A figure as text with `decimals` decimals and a decimal comma; "–"
    // without one.
    static QString Text(std::optional<double> value, int decimals = 0);
    // The sign of a figure that cannot be computed.
    static QString NoFigure();

private:
    const CStatEx& m_record;
};
