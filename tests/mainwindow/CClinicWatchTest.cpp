// The watch over a clinic's server that went away and came back, on the test
// server: the connection is ended by the server as a restart would.
#include "mainwindow/CClinicWatch.h"
#include "app/CError.h"
#include "common/PgTestServer.h"
#include "common/TempDir.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "statistics/CStatistics.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

class ClinicWatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PgTestServer& server = PgTestServer::Instance();
        QString problem;
        conninfo = server.NewDatabase(&problem);
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        database = conninfo.mid(conninfo.indexOf("dbname=") + 7);
        patient.SetWorkstation("Sala 1");
        ASSERT_TRUE(patient.Open(conninfo)) << patient.LastError().toStdString();
        statistics.SetKeptFile(dir.file("terapie.json"));
        watch = std::make_unique<CClinicWatch>(
            &patient, &statistics, [this](int kind, const QStringList& rows) {
                told << QString::number(kind) + ": " + rows.join(" | ");
            });
    }

    QString Admin(const QString& sql) { return PgTestServer::Instance().Admin(sql, database); }

    // The server ends the workstation's connection, as a restart would.
    void Restart()
    {
        ASSERT_EQ(PgTestServer::Instance().Admin(
                      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                      database + "' AND pid <> pg_backend_pid()"),
                  "");
        // The workstation finds the loss with its next statement.
        try {
            patient.Save();
        } catch (const CError&) {
        }
        ASSERT_FALSE(patient.StoreReachable());
    }

    // Looks at the connection every few milliseconds, as the timer does.
    void Watch(int times)
    {
        for (int i = 0; i < times; ++i) {
            watch->Check();
            QThread::msleep(20);
        }
    }

    TempDir dir;
    QString conninfo;
    QString database;
    CPatient patient;
    CStatistics statistics{&patient};
    std::unique_ptr<CClinicWatch> watch;
    QStringList told;
};

} // namespace

TEST_F(ClinicWatch, AServerBackWithAnotherVersionsTablesIsToldOnceAndNothingIsWritten)
{
    patient.Add();
    patient.SetName("Nowak Jan");
    Restart();
    ASSERT_EQ(Admin("UPDATE loquena_schemat SET wersja = 2"), "");
    patient.SetName("Kowalski Adam");
    Watch(10);
    ASSERT_EQ(told.size(), 2) << told.join("\n").toStdString();
    EXPECT_TRUE(told[0].contains("przerwane")) << told[0].toStdString();
    EXPECT_TRUE(told[1].startsWith(QString::number(TFormMessage::KindError) + ": "));
    EXPECT_TRUE(told[1].contains("wersji 2, a ten program zna tylko wersję 1"))
        << told[1].toStdString();
    EXPECT_FALSE(patient.StoreReachable());
    EXPECT_EQ(Admin("DO $$BEGIN IF EXISTS (SELECT 1 FROM Pacjenci WHERE NazwiskoImie = "
                    "'Kowalski Adam') THEN RAISE 'zapisany'; END IF; END$$"),
              "");

    // The right tables back: the work goes on and the edit is stored.
    ASSERT_EQ(Admin("UPDATE loquena_schemat SET wersja = 1"), "");
    Watch(10);
    EXPECT_TRUE(patient.StoreReachable());
    ASSERT_EQ(told.size(), 3) << told.join("\n").toStdString();
    EXPECT_TRUE(told[2].contains("przywrócone")) << told[2].toStdString();
    EXPECT_EQ(Admin("DO $$BEGIN IF NOT EXISTS (SELECT 1 FROM Pacjenci WHERE NazwiskoImie = "
                    "'Kowalski Adam') THEN RAISE 'brak'; END IF; END$$"),
              "");
}
