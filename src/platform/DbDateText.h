#pragma once
#include <QDateTime>
#include <QString>

// Dates and times are stored as text "yyyy-MM-dd HH:mm:ss.zzz" in local time,
// the form SQLite's own date functions read. Text in that form sorts in time
// order, so ORDER BY on a date column is chronological. Dates without a time of
// day are stored at midnight.

// The stored text of a date-time; an empty text for an invalid one.
QString DateTimeToDbText(const QDateTime& value);
// Reads the stored forms "yyyy-MM-dd", "yyyy-MM-dd HH:mm", "yyyy-MM-dd
// HH:mm:ss" and "yyyy-MM-dd HH:mm:ss.zzz" (a "T" may stand for the space).
// Returns an invalid date-time for any other text.
QDateTime DbTextToDateTime(const QString& text);
// The same forms read into a day and a time of day (midnight for a date
// alone), without the time zone work of a QDateTime: for reading many rows.
// False, both invalid, for any other text.
bool DbTextToDateAndTime(const QString& text, QDate* date, QTime* time);
