// The clinic database's own behaviour, on the test server: the schema's
// version, the people the server refuses, and a server that is not there.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "platform/CDbConnection.h"
#include "platform/CDbTable.h"
#include "platform/CPgBackend.h"
#include "platform/ClinicSchema.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

template <class F> QString ErrorOf(F&& work)
{
    try {
        work();
    } catch (const CError& error) {
        return error.Message().isEmpty() ? QString("?") : error.Message();
    }
    return QString();
}

// An environment variable set for one test and restored after it.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

class ClinicDb : public PatientDbTest
{
protected:
    QString DatabaseName() const { return path.mid(path.indexOf("dbname=") + 7); }
    // The same database over TCP as `user`, with the password file `passwords`.
    QString OverTcp(const QString& user) const
    {
        return QString("host=127.0.0.1 port=%1 user=%2 dbname=%3")
            .arg(PgTestServer::Instance().Port())
            .arg(user, DatabaseName());
    }
    QString PasswordFile(const QString& password)
    {
        const QString name = dir.file("pgpass");
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QString("*:*:*:terapeuta:%1\n").arg(password).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return name;
    }
};

INSTANTIATE_ON_CLINIC_STORE(ClinicDb);

} // namespace

TEST(ClinicAddress, ConnectionStringsAndFilePathsAreToldApart)
{
    EXPECT_TRUE(CDbConnection::IsClinicAddress("postgresql://serwer/klinika"));
    EXPECT_TRUE(CDbConnection::IsClinicAddress("postgres://serwer/klinika?sslmode=require"));
    EXPECT_TRUE(CDbConnection::IsClinicAddress("host=serwer dbname=klinika"));
    EXPECT_TRUE(CDbConnection::IsClinicAddress(" dbname = klinika"));
    EXPECT_FALSE(CDbConnection::IsClinicAddress("pacmem.qp"));
    EXPECT_FALSE(CDbConnection::IsClinicAddress("/home/ewa/Loquena/pacmem.qp"));
    EXPECT_FALSE(CDbConnection::IsClinicAddress("dane/pacjenci=stare.qp"));
}

TEST(ClinicAddress, QuestionMarksBecomeNumberedOutsideQuotedText)
{
    EXPECT_EQ(CPgBackend::NumberedParams("SELECT * FROM t WHERE a=? AND b=?"),
              "SELECT * FROM t WHERE a=$1 AND b=$2");
    EXPECT_EQ(CPgBackend::NumberedParams("SELECT '?', \"a?\" FROM t WHERE c=?"),
              "SELECT '?', \"a?\" FROM t WHERE c=$1");
    EXPECT_EQ(CPgBackend::NumberedParams("SELECT 1"), "SELECT 1");
}

TEST_P(ClinicDb, AnotherVersionsSchemaIsRefusedAndLeftAsItIs)
{
    const PgTestServer& server = PgTestServer::Instance();
    ASSERT_EQ(server.Admin("UPDATE loquena_schemat SET wersja = 7", DatabaseName()), "");
    CDbConnection connection;
    const QString message = ErrorOf([&] { connection.Connect(path); });
    EXPECT_TRUE(message.contains("wersji 7")) << message.toStdString();
    EXPECT_FALSE(connection.IsConnected());
    // Nothing was made or changed: the version stays, Pacjenci stays empty.
    ASSERT_EQ(server.Admin("DO $$BEGIN IF (SELECT wersja FROM loquena_schemat) <> 7 OR "
                           "(SELECT count(*) FROM Pacjenci) <> 0 THEN RAISE 'zmieniona'; "
                           "END IF; END$$",
                           DatabaseName()),
              "");

    // Tables of the right names without a version are not taken over either.
    ASSERT_EQ(server.Admin("DROP TABLE loquena_schemat", DatabaseName()), "");
    const QString unversioned = ErrorOf([&] { connection.Connect(path); });
    EXPECT_TRUE(unversioned.contains("bez numeru wersji")) << unversioned.toStdString();
    EXPECT_EQ(server.Admin("SELECT 1 FROM loquena_schemat", DatabaseName()).isEmpty(), false);
}

TEST_P(ClinicDb, RefusalsNameWhatIsWrong)
{
    const PgTestServer& server = PgTestServer::Instance();
    struct Case
    {
        const char* what;
        QString target;
        QByteArray passwords; // the password file's password for terapeuta
        const char* expected;
    };
    const Case cases[] = {
        {"password in the address", path + " password=tajne", "", "nie może zawierać hasła"},
        {"wrong password", OverTcp("terapeuta"), "zle-haslo", "odrzucił hasło"},
        {"no password", OverTcp("terapeuta"), "", "wymaga hasła"},
        {"no such database", path + "_brak", "", "Nie ma takiej bazy"},
        {"no server", QString("host=127.0.0.1 port=%1 dbname=x").arg(server.Port() == 1 ? 2 : 1),
         "", "Nie można połączyć się z serwerem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScopedEnv file("PGPASSFILE", c.passwords.isEmpty()
                                               ? dir.file("brak").toUtf8()
                                               : PasswordFile(c.passwords).toUtf8());
        CDbConnection connection;
        const QString message = ErrorOf([&] { connection.Connect(c.target); });
        EXPECT_TRUE(message.contains(c.expected)) << message.toStdString();
        EXPECT_FALSE(message.contains("tajne")) << message.toStdString();
    }

    // The right password from the password file: connected.
    const ScopedEnv file("PGPASSFILE", PasswordFile("haslo-terapeuty").toUtf8());
    CDbConnection connection;
    // The user may log in but has no right on the tables yet; the message
    // names the table.
    const QString denied = ErrorOf([&] {
        connection.Connect(OverTcp("terapeuta"));
        CDbTable table(&connection);
        table.SetTableName("Pacjenci");
        table.Open();
    });
    EXPECT_TRUE(denied.contains("Brak uprawnień")) << denied.toStdString();
    EXPECT_TRUE(denied.contains("permission denied for table")) << denied.toStdString();
    ASSERT_EQ(server.Admin("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public "
                           "TO terapeuta",
                           DatabaseName()),
              "");
    EXPECT_EQ(ErrorOf([&] {
                  connection.Connect(OverTcp("terapeuta"));
                  CDbTable table(&connection);
                  table.SetTableName("Pacjenci");
                  table.Open();
              }),
              "");
}

TEST_P(ClinicDb, AnEmptyDatabaseGetsItsTablesOnceAndAUserWithoutRightsIsToldSo)
{
    const PgTestServer& server = PgTestServer::Instance();
    QString problem;
    const QString fresh = PgTestServer::Instance().NewDatabase(&problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    const QString name = fresh.mid(fresh.indexOf("dbname=") + 7);
    ASSERT_EQ(server.Admin("REVOKE CREATE ON SCHEMA public FROM PUBLIC", name), "");
    const ScopedEnv file("PGPASSFILE", PasswordFile("haslo-terapeuty").toUtf8());
    CDbConnection connection;
    const QString message = ErrorOf([&] {
        connection.Connect(QString("host=127.0.0.1 port=%1 user=terapeuta dbname=%2")
                               .arg(server.Port())
                               .arg(name));
    });
    EXPECT_TRUE(message.contains("Brak uprawnień")) << message.toStdString();
    // Two connections of the owner: the second finds the tables made.
    CDbConnection first;
    first.Connect(fresh);
    CDbConnection second;
    second.Connect(fresh);
    CDbTable ust(&second);
    ust.SetTableName("Ust");
    ust.Open();
    EXPECT_EQ(ust.RecordCount(), 1);
    first.Disconnect();
    second.Disconnect();
    PgTestServer::Instance().DropDatabase(fresh);
}

TEST_P(ClinicDb, AServerGoneAwayIsReportedPlainlyAndAtOnce)
{
    CDbConnection connection;
    connection.Connect(path);
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    // The server ends this connection, as a restart or a cut cable would.
    ASSERT_EQ(PgTestServer::Instance().Admin(
                  "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                  DatabaseName() + "' AND pid <> pg_backend_pid()"),
              "");
    table.Append();
    table.FieldByName("NazwiskoImie").SetString("Nowak Jan");
    const QString message = ErrorOf([&] { table.Post(); });
    EXPECT_TRUE(message.contains("Połączenie z serwerem bazy kliniki zostało przerwane"))
        << message.toStdString();
    // Nothing half-stored: the row is not there for a new connection.
    CDbConnection again;
    again.Connect(path);
    CDbTable check(&again);
    check.SetTableName("Pacjenci");
    check.Open();
    EXPECT_EQ(check.RecordCount(), 0);
}

TEST_P(ClinicDb, AServerBackWithAnotherVersionsTablesIsRefusedUntilTheRightOnesAreBack)
{
    struct SCase
    {
        const char* name;
        const char* change; // what the server came back with
        const char* undo;   // empty: not undone
        const char* told;
    };
    const SCase cases[] = {
        {"older", "UPDATE loquena_schemat SET wersja = 0", "UPDATE loquena_schemat SET wersja = 1",
         "wersji 0"},
        {"newer", "UPDATE loquena_schemat SET wersja = 2", "UPDATE loquena_schemat SET wersja = 1",
         "wersji 2"},
        {"no version", "DROP TABLE loquena_schemat",
         "CREATE TABLE loquena_schemat (wersja integer NOT NULL); "
         "INSERT INTO loquena_schemat VALUES (1)",
         "bez numeru wersji"},
        {"no tables",
         "DROP TABLE loquena_schemat, Pacjenci, Ust, Stanowiska, Statystyki, Cwiczenia, Nagrania",
         "", "nie zawiera tabel"},
    };
    const PgTestServer& server = PgTestServer::Instance();
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CDbConnection connection;
        connection.Connect(path);
        ASSERT_EQ(server.Admin("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                               "datname = '" +
                               DatabaseName() + "' AND pid <> pg_backend_pid()"),
                  "");
        ASSERT_EQ(server.Admin(c.change, DatabaseName()), "");
        EXPECT_FALSE(ErrorOf([&] { connection.Execute("SELECT 1"); }).isEmpty());

        EXPECT_FALSE(connection.Reconnect(300));
        EXPECT_FALSE(connection.IsAlive());
        EXPECT_TRUE(connection.Refusal().contains(c.told)) << connection.Refusal().toStdString();
        // Nothing is written meanwhile, whatever the caller tries.
        const QString write =
            ErrorOf([&] { connection.Execute("CREATE TABLE zapisane (x integer)"); });
        EXPECT_TRUE(write.contains(c.told)) << write.toStdString();
        EXPECT_FALSE(server.Admin("SELECT 1 FROM zapisane", DatabaseName()).isEmpty());
        if (*c.undo == '\0')
            continue;
        ASSERT_EQ(server.Admin(c.undo, DatabaseName()), "");
        EXPECT_TRUE(connection.Reconnect(5000));
        EXPECT_TRUE(connection.IsAlive());
        EXPECT_TRUE(connection.Refusal().isEmpty());
    }
}
