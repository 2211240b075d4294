#include "statistics/CStatEx.h"

#include <algorithm>
#include <charconv>

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

void CStatEx::AppendScore(QByteArray& out) const
{
    if (Cw >= FirstUnscored)
        out += 'x';
    else if (!Plausible())
        out += "\xE2\x80\x93"; // "–"
    else
        AppendNumber(out, Correctness());
}

QString CStatEx::ScoreText() const
{
    QByteArray text;
    AppendScore(text);
    return QString::fromUtf8(text);
}

void CStatEx::AppendNumber(QByteArray& out, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
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
