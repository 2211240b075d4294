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

QDateTime DbTextToDateTime(const QString& text)
{
    QString normal = text.trimmed();
    if (normal.size() > 10 && normal[10] == QLatin1Char('T'))
        normal[10] = QLatin1Char(' ');
    static const char* const formats[] = {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss",
                                          "yyyy-MM-dd HH:mm", "yyyy-MM-dd"};
    for (const char* format : formats) {
        const QString f = QString::fromLatin1(format);
        if (normal.size() != f.size())
            continue;
        if (f.size() == 10) {
            const QDate date = QDate::fromString(normal, f);
            if (date.isValid())
                return QDateTime(date, QTime(0, 0));
            continue;
        }
        const QDateTime value = QDateTime::fromString(normal, f);
        if (value.isValid())
            return value;
    }
    return QDateTime();
}
