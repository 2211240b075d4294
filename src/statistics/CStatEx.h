#pragma once
#include <QByteArray>
#include <QString>
#include <chrono>

// The result record of one exercise in one therapy. The exercise counts into
// it while the therapy runs; the statistics store saves and reloads it.
class CStatEx
{
public:
    using Clock = std::chrono::steady_clock;

    // Starts the timing unless it runs.
    void StartTiming();
    // Adds the tenths of a second since StartTiming to Czas and returns them;
    // 0 when the timing does not run.
    int StopTiming();
    // Correctness in percent as text: "x" for the repetition exercises (not
    // scored), else Correctness(); "–" for values no exercise can produce.
    QString ScoreText() const;
    // The same in UTF-8 at `out`, without a text of its own (the CSV of all
    // patients writes it a million times); returns the end. At most
    // MaxScoreBytes bytes.
    char* WriteScore(char* out) const;
    static constexpr int MaxScoreBytes = 11;
    // max(0, Rozw - Blad) * 100 / LZ; 0 when LZ is 0 or the counts are not
    // Plausible.
    int Correctness() const;
    // Whether the counts could come from an exercise: none negative, no more
    // solved than tasks. A damaged row of an old database may break this.
    bool Plausible() const;
    // A stored hint use: PomocMax 100 and Pomoc the percentage (0 to 100).
    void SetPomocPercent(int p);
    // Hint use in percent of the limit, as it is stored.
    int PomocPercent() const;
    // `value` in decimal digits at `out`, at most MaxNumberBytes; returns the
    // end.
    static char* WriteNumber(char* out, int value);
    static constexpr int MaxNumberBytes = 11;
    // The sign of a figure that cannot be computed ("–", 3 bytes of UTF-8) at
    // `out`; returns the end.
    static char* WriteNoFigure(char* out);
    static constexpr char NoFigureUtf8[] = "\xE2\x80\x93";
    // Tasks solved without an error, never below 0.
    int Faultless() const;

    Clock::time_point Start{}; // when the running timing started
    int Czas = 0;              // working time, tenths of a second
    bool Running = false;
    int PomocMax = 999; // hint limit
    int Cw = 0;         // exercise index
    int LZ = 1;         // tasks
    int Rozw = 0;       // tasks solved
    int Blad = 0;       // tasks solved with at least one error
    int Pomoc = 0;      // hint steps used (after loading: the stored percentage)

    // Exercises from this index on are repetition exercises: timed, not scored.
    static constexpr int FirstUnscored = 7;
};
