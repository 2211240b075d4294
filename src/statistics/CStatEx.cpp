#include "statistics/CStatEx.h"

#include <algorithm>
#include <charconv>
#include <iterator>

void CStatEx::StartTiming()
{
    if (Running)
        return;
    Start = Clock::now();
    Running = true;
}

int CStatEx::StopTiming()
{
    if (!Running)
        return 0;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - Start);
    const int tenths = int(elapsed.count() / 100);
    Czas += tenths;
    Running = false;
    return tenths;
}

int CStatEx::Faultless() const
{
    return std::max(0, Rozw - Blad);
}

bool CStatEx::Plausible() const
{
    return LZ >= 0 && Rozw >= 0 && Blad >= 0 && Rozw <= LZ;
}

int CStatEx::Correctness() const
{
    return LZ > 0 && Plausible() ? Faultless() * 100 / LZ : 0;
}

char* CStatEx::WriteScore(char* out) const
{
    if (Cw >= FirstUnscored) {
        *out = 'x';
        return out + 1;
    }
    if (!Plausible())
        return WriteNoFigure(out);
    return WriteNumber(out, Correctness());
}

char* CStatEx::WriteNoFigure(char* out)
{
    return std::copy(std::begin(NoFigureUtf8), std::end(NoFigureUtf8) - 1, out);
}

QString CStatEx::ScoreText() const
{
    char text[MaxScoreBytes];
    return QString::fromUtf8(text, WriteScore(text) - text);
}

char* CStatEx::WriteNumber(char* out, int value)
{
    return std::to_chars(out, out + MaxNumberBytes, value).ptr;
}

void CStatEx::SetPomocPercent(int p)
{
    PomocMax = 100;
    Pomoc = std::clamp(p, 0, 100);
}

int CStatEx::PomocPercent() const
{
    // A limit of 0 never comes from an exercise; it must not divide by zero.
    return PomocMax > 0 ? Pomoc * 100 / PomocMax : 0;
}
