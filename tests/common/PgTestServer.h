#pragma once
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <libpq-fe.h>
#include <unistd.h>

// The PostgreSQL server of the clinic store's tests: the cluster that the test
// command started (its folder in LOQUENA_PG_CLUSTER), or else one this test
// program starts itself with tests/common/pgcluster.sh and stops when it
// ends. Each test gets an empty database of its own.
//
// A test that stops or kills the server makes a cluster of its own
// (PgTestServer(PgTestServer::Own)), so that the others' server stays up.
class PgTestServer
{
public:
    enum EOwn
    {
        Own
    };

    static PgTestServer& Instance()
    {
        static PgTestServer server;
        return server;
    }

    explicit PgTestServer(EOwn) { Start(); }
    ~PgTestServer()
    {
        if (!m_own)
            return;
        const QString command = QString("bash '%1' stop '%2' >/dev/null 2>&1; rm -rf '%2'")
                                    .arg(LOQUENA_PGCLUSTER_SCRIPT, m_folder);
        [[maybe_unused]] const int rc = std::system(command.toLocal8Bit().constData());
    }
    PgTestServer(const PgTestServer&) = delete;
    PgTestServer& operator=(const PgTestServer&) = delete;

    // The server stopped at once, as in a crash (its files kept); killed
    // with SIGKILL, every process of it; started again on the same port.
    // Only on a cluster of the test's own. False when the script failed.
    bool Halt() { return Script("halt"); }
    bool Kill() { return Script("kill"); }
    bool Resume() { return Script("resume"); }

    // Empty when the server runs; else why it does not.
    const QString& Problem() const { return m_problem; }
    // Host, port and the owner's name, without a database.
    const QString& ConnInfo() const { return m_conninfo; }
    int Port() const { return m_port; }
    const QString& Folder() const { return m_folder; }

    // A new empty database; its connection string, or empty with `problem`.
    QString NewDatabase(QString* problem)
    {
        if (!m_problem.isEmpty()) {
            *problem = m_problem;
            return {};
        }
        const QString name = QString("loquena_t%1_%2").arg(qint64(::getpid())).arg(++m_databases);
        *problem = Admin("CREATE DATABASE " + name);
        if (!problem->isEmpty())
            return {};
        return m_conninfo + " dbname=" + name;
    }

    void DropDatabase(const QString& conninfo)
    {
        const int at = conninfo.indexOf("dbname=");
        if (at >= 0)
            Admin("DROP DATABASE IF EXISTS " + conninfo.mid(at + 7) + " WITH (FORCE)");
    }

    // Runs one statement in the database "postgres" (or `database`) as the
    // owner; the server's message on failure.
    QString Admin(const QString& sql, const QString& database = "postgres") const
    {
        const QByteArray info = (m_conninfo + " dbname=" + database).toUtf8();
        PGconn* conn = PQconnectdb(info.constData());
        QString message;
        if (PQstatus(conn) != CONNECTION_OK) {
            message = QString::fromUtf8(PQerrorMessage(conn));
        } else {
            PGresult* result = PQexec(conn, sql.toUtf8().constData());
            const ExecStatusType status = PQresultStatus(result);
            if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
                message = QString::fromUtf8(PQresultErrorMessage(result));
            PQclear(result);
        }
        PQfinish(conn);
        return message.trimmed();
    }

private:
    PgTestServer()
    {
        const QString shared = qEnvironmentVariable("LOQUENA_PG_CLUSTER");
        if (shared.isEmpty()) {
            Start();
            return;
        }
        m_folder = shared;
        ReadConnInfo();
    }

    void Start()
    {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/loquena-pgtest-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            m_problem = "Nie można utworzyć folderu tymczasowego serwera";
            return;
        }
        m_folder = QString::fromLocal8Bit(pattern);
        m_own = true;
        const QString command = QString("bash '%1' start '%2' >'%2/start.log' 2>&1")
                                    .arg(LOQUENA_PGCLUSTER_SCRIPT, m_folder);
        if (std::system(command.toLocal8Bit().constData()) != 0) {
            m_problem = "Serwer PostgreSQL do testów nie wystartował: " + Read("start.log");
            return;
        }
        ReadConnInfo();
    }

    bool Script(const char* command)
    {
        if (!m_own || !m_problem.isEmpty())
            return false;
        const QString line = QString("bash '%1' %2 '%3' >>'%3/script.log' 2>&1")
                                 .arg(LOQUENA_PGCLUSTER_SCRIPT, QLatin1String(command), m_folder);
        return std::system(line.toLocal8Bit().constData()) == 0;
    }

    void ReadConnInfo()
    {
        m_conninfo = Read("conninfo").trimmed();
        m_port = Read("port").trimmed().toInt();
        if (m_conninfo.isEmpty())
            m_problem = "Brak serwera PostgreSQL do testów w " + m_folder;
    }

    QString Read(const QString& name) const
    {
        QFile file(m_folder + "/" + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }

    QString m_folder;
    QString m_conninfo;
    QString m_problem;
    int m_port = 0;
    int m_databases = 0;
    bool m_own = false;
};
