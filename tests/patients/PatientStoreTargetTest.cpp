// Where the patient store is: the command line, the persistent setting, or
// the file of this computer.
#include "patients/PatientStoreTarget.h"
#include "app/Universalfn.h"
#include "common/TempDir.h"
#include "patients/CPatient.h"

#include <QSettings>
#include <gtest/gtest.h>

TEST(PatientStoreTarget, CommandLineThenSettingThenTheFile)
{
    TempDir dir;
    // The settings of this test only.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    const QString clinic = "host=serwer dbname=klinika user=terapeuta";
    struct Case
    {
        const char* what;
        QStringList arguments;
        QString setting;
        QString expected;
    };
    const Case cases[] = {
        {"nothing named", {"loquena"}, "", "pacmem.qp"},
        {"setting", {"loquena"}, clinic, clinic},
        {"option with =", {"loquena", "--klinika=postgresql://s/k"}, clinic, "postgresql://s/k"},
        {"option and value", {"loquena", "--klinika", "dbname=inna"}, "", "dbname=inna"},
        {"option without value", {"loquena", "--klinika"}, "", "pacmem.qp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(RegWriteText("Klinika", "Polaczenie", c.setting));
        EXPECT_EQ(PatientStoreTarget(c.arguments), c.expected);
    }
}

TEST(PatientStoreTarget, TheWorkstationsNameFromTheCommandLineThenTheSetting)
{
    TempDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    struct Case
    {
        const char* what;
        QStringList arguments;
        QString setting;
        QString expected; // empty: the computer's name
    };
    const Case cases[] = {
        {"nothing named", {"loquena"}, "", ""},
        {"setting", {"loquena"}, " Gabinet 2 ", "Gabinet 2"},
        {"option with =", {"loquena", "--stanowisko=Sala 1"}, "Gabinet 2", "Sala 1"},
        {"option and value", {"loquena", "--stanowisko", "Sala Ż"}, "", "Sala Ż"},
        {"the store's option is another", {"loquena", "--klinika=Sala 1"}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(RegWriteText("Klinika", "Stanowisko", c.setting));
        EXPECT_EQ(PatientStoreWorkstation(c.arguments), c.expected);
    }
}

TEST(PatientStoreTarget, AnUnreachableClinicIsNamedInTheMessage)
{
    CPatient patient;
    const QString target = "host=127.0.0.1 port=1 dbname=klinika connect_timeout=2";
    EXPECT_FALSE(patient.Open(target));
    const QString message = PatientStoreFailure(target, patient.LastError());
    EXPECT_TRUE(message.startsWith("#03: Błąd bazy pacjentów kliniki!")) << message.toStdString();
    EXPECT_TRUE(message.contains("Nie można połączyć się z serwerem bazy kliniki"))
        << message.toStdString();
    EXPECT_FALSE(message.contains("CDbConnection")) << message.toStdString();
    // The file of a single computer keeps its old message.
    EXPECT_TRUE(PatientStoreFailure("pacmem.qp", "x").startsWith("#03: Błąd bazy pacjentów!\n"));
}
