#include "platform/DbDateText.h"

namespace {
const QString kStoredFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
}

QString DateTimeToDbText(const QDateTime& value)
{
    if (!value.isValid())
        return QString();
    return value.toLocalTime().toString(kStoredFormat);
}

bool DbTextToDateAndTime(const QString& text, QDate* date, QTime* time)
{
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
