#include "platform/DbDateText.h"

#include <algorithm>

namespace {
const QString kStoredFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// The number of the `count` digits at `at`, -1 unless all are digits.
int Digits(const QString& text, int at, int count)
{
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The stored forms read digit by digit: Qt's format parser takes
// microseconds per text, and a long history has a hundred thousand dates.
// False for anything but "yyyy-MM-dd" optionally followed by " HH:mm",
// ":ss" and ".zzz" (or a "T" for the space).
bool ReadStoredForm(const QString& t, QDate* date, QTime* time)
{
    const qsizetype n = t.size();
    if (n != 10 && n != 16 && n != 19 && n != 23)
        return false;
    if (t[4] != u'-' || t[7] != u'-' ||
        (n > 10 && ((t[10] != u' ' && t[10] != u'T') || t[13] != u':')) ||
        (n > 16 && t[16] != u':') || (n > 19 && t[19] != u'.'))
        return false;
    const int year = Digits(t, 0, 4), month = Digits(t, 5, 2), day = Digits(t, 8, 2);
    const int hour = n > 10 ? Digits(t, 11, 2) : 0, minute = n > 10 ? Digits(t, 14, 2) : 0;
    const int second = n > 16 ? Digits(t, 17, 2) : 0, ms = n > 19 ? Digits(t, 20, 3) : 0;
    if (std::min({year, month, day, hour, minute, second, ms}) < 0 ||
        !QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second, ms))
        return false;
    *date = QDate(year, month, day);
    *time = QTime(hour, minute, second, ms);
    return true;
}

} // namespace

QString DateTimeToDbText(const QDateTime& value)
{
    if (!value.isValid())
        return QString();
    return value.toLocalTime().toString(kStoredFormat);
}

bool DbTextToDateAndTime(const QString& text, QDate* date, QTime* time)
{
    if (ReadStoredForm(text, date, time))
        return true;
    QString normal = text.trimmed();
    if (normal.size() > 10 && normal[10] == QLatin1Char('T'))
        normal[10] = QLatin1Char(' ');
    static const char* const formats[] = {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss",
                                          "yyyy-MM-dd HH:mm", "yyyy-MM-dd"};
    *date = QDate();
    *time = QTime();
    for (const char* format : formats) {
        const QString f = QString::fromLatin1(format);
        if (normal.size() != f.size() || (f.size() > 10 && normal[10] != QLatin1Char(' ')))
            continue;
        const QDate day = QDate::fromString(normal.left(10), f.left(10));
        const QTime at =
            f.size() == 10 ? QTime(0, 0) : QTime::fromString(normal.mid(11), f.mid(11));
        if (day.isValid() && at.isValid()) {
            *date = day;
            *time = at;
            return true;
        }
    }
    return false;
}

QDateTime DbTextToDateTime(const QString& text)
{
    QDate date;
    QTime time;
    if (!DbTextToDateAndTime(text, &date, &time))
        return QDateTime();
    const QDateTime value(date, time);
    return value.isValid() ? value : QDateTime();
}
