#include "statistics/CStatEx.h"

#include <algorithm>

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

QString CStatEx::ScoreText() const
{
    if (Cw >= FirstUnscored)
        return QStringLiteral("x");
    if (!Plausible())
        return QStringLiteral("–");
    return QString::number(Correctness());
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
