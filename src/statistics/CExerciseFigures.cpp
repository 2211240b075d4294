#include "statistics/CExerciseFigures.h"

#include <QLocale>
#include <algorithm>

bool CExerciseFigures::Valid() const
{
    const CStatEx& r = m_record;
    return r.LZ > 0 && r.Plausible() && r.Blad <= r.Rozw && r.Pomoc >= 0 && r.Pomoc <= 100 &&
           r.Czas >= 0 && r.Czas <= MaxCzas;
}

int CExerciseFigures::Solved() const
{
    return Scored() ? m_record.Rozw : m_record.LZ;
}

std::optional<double> CExerciseFigures::FaultlessShare() const
{
    if (!Valid() || !Scored())
        return std::nullopt;
    return m_record.Faultless() * 100.0 / m_record.LZ;
}

std::optional<double> CExerciseFigures::SolvedShare() const
{
    if (!Valid() || !Scored())
        return std::nullopt;
    return m_record.Rozw * 100.0 / m_record.LZ;
}

std::optional<double> CExerciseFigures::HintPercent() const
{
    if (!Valid() || !Scored())
        return std::nullopt;
    return double(m_record.Pomoc);
}

std::optional<double> CExerciseFigures::SecondsPerSolved() const
{
    if (!Valid() || Solved() == 0)
        return std::nullopt;
    return m_record.Czas / 10.0 / Solved();
}

std::optional<double> CExerciseFigures::Seconds() const
{
    if (m_record.Czas < 0 || m_record.Czas > MaxCzas)
        return std::nullopt;
    return m_record.Czas / 10.0;
}

char* CExerciseFigures::WriteSeconds(char* out) const
{
    if (!Seconds())
        return CStatEx::WriteNoFigure(out);
    out = CStatEx::WriteNumber(out, m_record.Czas / 10);
    *out++ = ',';
    return CStatEx::WriteNumber(out, m_record.Czas % 10);
}

QString CExerciseFigures::SecondsText() const
{
    char text[MaxSecondsBytes];
    return QString::fromUtf8(text, WriteSeconds(text) - text);
}

std::optional<double> CExerciseFigures::Measure(EMeasure measure) const
{
    switch (measure) {
    case MeasureFaultless:
        return FaultlessShare();
    case MeasureHints:
        return HintPercent();
    case MeasureSeconds:
        return SecondsPerSolved();
    }
    return std::nullopt;
}

QString CExerciseFigures::MeasureName(EMeasure measure)
{
    switch (measure) {
    case MeasureFaultless:
        return QStringLiteral("Zadania bez błędu");
    case MeasureHints:
        return QStringLiteral("Używana pomoc");
    case MeasureSeconds:
        return QStringLiteral("Czas na rozwiązane zadanie");
    }
    return QString();
}

QString CExerciseFigures::MeasureUnit(EMeasure measure)
{
    return measure == MeasureSeconds ? QStringLiteral("s") : QStringLiteral("%");
}

QString CExerciseFigures::NoFigure()
{
    static const QString sign = QString::fromUtf8(CStatEx::NoFigureUtf8);
    return sign;
}

QString CExerciseFigures::Text(std::optional<double> value, int decimals)
{
    if (!value)
        return NoFigure();
    static const QLocale polish(QLocale::Polish, QLocale::Poland);
    QString text = polish.toString(*value, 'f', decimals);
    text.remove(polish.groupSeparator());
    return text;
}
