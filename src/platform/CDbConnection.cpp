#include "platform/CDbConnection.h"

#include "app/CError.h"
#include "platform/CDbStatement.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

// Runs a statement whose rows (a pragma's answer) do not matter.
void RunPragma(sqlite3* db, const char* sql, const QString& path)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    if (rc == SQLITE_OK)
        return;
    const QString message = error ? QString::fromUtf8(error) : SqliteMessage(db);
    sqlite3_free(error);
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw CError(QString("CDbConnection::Connect - Baza danych \"%1\" jest używana przez "
                             "inny program")
                         .arg(path));
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
        throw CError(QString("CDbConnection::Connect - Plik \"%1\" nie jest bazą danych albo "
                             "jest uszkodzony (%2)")
                         .arg(path, message));
    throw CError(
        QString("CDbConnection::Connect - Błąd bazy danych \"%1\": %2").arg(path, message));
}

} // namespace

CDbConnection::~CDbConnection()
{
    Disconnect();
}

void CDbConnection::Connect(const QString& path)
{
    Disconnect();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw CError(QString("CDbConnection::Connect - Brak pliku bazy danych \"%1\"").arg(path));
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = SqliteMessage(db);
        sqlite3_close_v2(db);
        throw CError(QString("CDbConnection::Connect - Nie można otworzyć bazy danych \"%1\": %2")
                         .arg(path, message));
    }
    m_db = db;
    m_path = path;
    try {
        Configure();
    } catch (...) {
        Disconnect();
        throw;
    }
}

void CDbConnection::Configure()
{
    sqlite3_extended_result_codes(m_db, 1);
    // A held file answers at once; nobody waits for it.
    sqlite3_busy_timeout(m_db, 0);
    // The files may come from anywhere: a damaged or crafted file must not be
    // able to reach beyond plain reading and writing of its own tables.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    RunPragma(m_db, "PRAGMA cell_size_check=ON", m_path);
    RunPragma(m_db, "PRAGMA locking_mode=EXCLUSIVE", m_path);
    // Reading the journal mode reads the file's header: a file that is not a
    // database, or one held by another program, fails here.
    RunPragma(m_db, "PRAGMA journal_mode=DELETE", m_path);
    RunPragma(m_db, "PRAGMA synchronous=FULL", m_path);
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        // A write-protected file: the shared lock kept by exclusive mode after
        // the first read still keeps writers out.
        RunPragma(m_db, "SELECT count(*) FROM sqlite_schema", m_path);
        return;
    }
    // In exclusive mode the write lock taken here is kept until disconnecting.
    RunPragma(m_db, "BEGIN EXCLUSIVE", m_path);
    RunPragma(m_db, "COMMIT", m_path);
    RunPragma(m_db, "SELECT count(*) FROM sqlite_schema", m_path);
}

void CDbConnection::Disconnect()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_path.clear();
}

sqlite3* CDbConnection::Handle(const char* where) const
{
    if (!m_db)
        throw CError(QString::fromUtf8(where) + " - Brak połączenia z bazą danych");
    return m_db;
}

void CDbConnection::Execute(const QString& sql, const QVariantList& params)
{
    CDbStatement statement(Handle("CDbConnection::Execute"), sql, "CDbConnection::Execute");
    statement.Bind(params);
    statement.Run();
}

void CDbConnection::CheckWhole()
{
    QString answer;
    try {
        CDbStatement check(Handle("CDbConnection::CheckWhole"),
                           QStringLiteral("PRAGMA quick_check"), "CDbConnection::CheckWhole");
        // The first row is "ok" for a whole file, else the first problem found.
        if (check.Step())
            answer = check.Column(0).toString();
    } catch (const CError& error) {
        answer = error.Message();
    }
    if (answer != QLatin1String("ok"))
        throw CError(QString("CDbConnection::CheckWhole - Plik \"%1\" jest uszkodzony: %2")
                         .arg(m_path, answer));
}

void CDbConnection::BeginTransaction()
{
    Execute("BEGIN IMMEDIATE");
}

void CDbConnection::Commit()
{
    Execute("COMMIT");
}

void CDbConnection::Rollback()
{
    if (InTransaction())
        Execute("ROLLBACK");
}

bool CDbConnection::InTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}
