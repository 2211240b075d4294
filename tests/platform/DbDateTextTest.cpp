// The stored date texts read back: every stored form, and texts that are
// not a date, which must come back invalid rather than as some other day.
#include "platform/DbDateText.h"

#include <gtest/gtest.h>

TEST(DbDateText, ReadsEveryStoredFormAndRefusesTheRest)
{
    struct Case
    {
        const char* text;
        QDate day; // invalid: refused
        QTime time;
    };
    const QDate d(2026, 3, 15);
    const Case cases[] = {
        {"2026-03-15 09:15:07.250", d, QTime(9, 15, 7, 250)},
        {"2026-03-15 09:15:07", d, QTime(9, 15, 7)},
        {"2026-03-15 09:15", d, QTime(9, 15)},
        {"2026-03-15", d, QTime(0, 0)},
        {"2026-03-15T09:15:07", d, QTime(9, 15, 7)},
        {" 2026-03-15 09:15:07.250 ", d, QTime(9, 15, 7, 250)},
        {"2024-02-29 23:59:59.999", QDate(2024, 2, 29), QTime(23, 59, 59, 999)},
        {"2026-02-29 10:00:00.000", {}, {}},
        {"2026-13-01 10:00:00.000", {}, {}},
        {"2026-03-15 24:00:00.000", {}, {}},
        {"2026-03-15 09:60", {}, {}},
        {"2026-3-15 09:15:07.250", {}, {}},
        {"2026/03/15", {}, {}},
        {"2026-03-15x09:15", {}, {}},
        {"2026-03-15 09:15:07,250", {}, {}},
        {"20a6-03-15", {}, {}},
        {"2026-03-15 09:15:07.2500", {}, {}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QDate day(2000, 1, 1);
        QTime time(1, 2);
        EXPECT_EQ(DbTextToDateAndTime(QString::fromLatin1(c.text), &day, &time), c.day.isValid());
        EXPECT_EQ(day, c.day);
        EXPECT_EQ(time, c.time);
        const QDateTime whole = DbTextToDateTime(QString::fromLatin1(c.text));
        EXPECT_EQ(whole.isValid(), c.day.isValid());
        if (c.day.isValid()) {
            EXPECT_EQ(whole, QDateTime(c.day, c.time));
        }
    }
}
