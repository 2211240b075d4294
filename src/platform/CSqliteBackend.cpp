#include "platform/CSqliteBackend.h"

#include "app/CError.h"
#include "platform/CDbStatement.h"

#include <QFile>
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

CSqliteBackend::CSqliteBackend(const QString& path) : m_path(path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw CError(QString("CDbConnection::Connect - Brak pliku bazy danych \"%1\"").arg(path));
    const QByteArray name = QFile::encodeName(path);
    // The program reaches its databases from the GUI thread only: no lock
    // around every call (a history of a million rows makes ten million).
    const int rc = sqlite3_open_v2(name.constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = SqliteMessage(m_db);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw CError(QString("CDbConnection::Connect - Nie można otworzyć bazy danych \"%1\": %2")
                         .arg(path, message));
    }
    try {
        Configure();
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

CSqliteBackend::~CSqliteBackend()
{
    sqlite3_close_v2(m_db);
}

void CSqliteBackend::Configure()
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

std::unique_ptr<CDbStatement> CSqliteBackend::Query(const QString& sql, const QVariantList& params,
                                                    const QString& where)
{
    auto statement = std::make_unique<CDbStatement>(m_db, sql, where);
    if (!statement->IsReadOnly())
        throw CError(where + " - Polecenie SQL nie jest zapytaniem");
    statement->Bind(params);
    return statement;
}

SDbRows CSqliteBackend::Select(const QString& sql, const QVariantList& params, const QString& where)
{
    const auto query = Query(sql, params, where);
    CDbStatement& statement = *query;
    SDbRows result;
    for (int i = 0; i < statement.ColumnCount(); ++i) {
        result.names << statement.ColumnName(i);
        result.tables << statement.ColumnTable(i);
        result.origins << (result.tables.last().isEmpty() ? QString() : statement.ColumnOrigin(i));
    }
    while (statement.Step()) {
        QVariantList row;
        row.reserve(statement.ColumnCount());
        for (int i = 0; i < statement.ColumnCount(); ++i)
            row << statement.Column(i);
        result.rows.push_back(std::move(row));
    }
    return result;
}

void CSqliteBackend::SelectEach(const QString& sql, const QVariantList& params,
                                const RowVisitor& visit, const QString& where)
{
    const auto query = Query(sql, params, where);
    CDbStatement& statement = *query;
    QVariantList row(statement.ColumnCount());
    while (statement.Step()) {
        for (int i = 0; i < statement.ColumnCount(); ++i)
            row[i] = statement.Column(i);
        visit(row);
    }
}

void CSqliteBackend::SelectEachInteger(const QString& sql, const QVariantList& params,
                                       const IntegerRowVisitor& visit, const QString& where)
{
    const auto query = Query(sql, params, where);
    CDbStatement& statement = *query;
    std::vector<qint64> row(std::size_t(statement.ColumnCount()));
    while (statement.Step()) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = statement.Integer(int(i));
        visit(row.data());
    }
}

void CSqliteBackend::Execute(const QString& sql, const QVariantList& params, const QString& where)
{
    CDbStatement statement(m_db, sql, where);
    statement.Bind(params);
    statement.Run();
}

qint64 CSqliteBackend::Insert(const QString& table, const QString& /*key*/,
                              const QStringList& columns, const QVariantList& values,
                              const QString& where)
{
    QStringList quoted;
    QStringList marks;
    for (const QString& column : columns) {
        quoted << Quote(column);
        marks << "?";
    }
    const QString sql = columns.isEmpty()
                            ? "INSERT INTO " + Quote(table) + " DEFAULT VALUES"
                            : "INSERT INTO " + Quote(table) + " (" + quoted.join(", ") +
                                  ") VALUES (" + marks.join(", ") + ")";
    Execute(sql, values, where);
    // The integer primary key of a table is its row id.
    return sqlite3_last_insert_rowid(m_db);
}

QString CSqliteBackend::Quote(const QString& identifier) const
{
    QString text = identifier;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString CSqliteBackend::RowKey(const QString& table, bool anyRow, const QString& where)
{
    if (anyRow)
        return QStringLiteral("rowid");
    CDbStatement info(m_db, "SELECT name, type, pk FROM pragma_table_info(?)", where);
    info.Bind({table});
    QString keyName;
    int keyColumns = 0;
    while (info.Step()) {
        if (info.Column(2).toInt() > 0) {
            ++keyColumns;
            if (info.Column(1).toString().compare("INTEGER", Qt::CaseInsensitive) == 0)
                keyName = info.Column(0).toString();
        }
    }
    return keyColumns == 1 ? keyName : QString();
}

void CSqliteBackend::CheckWhole()
{
    QString answer;
    try {
        CDbStatement check(m_db, QStringLiteral("PRAGMA quick_check"), "CDbConnection::CheckWhole");
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

void CSqliteBackend::Begin()
{
    Execute("BEGIN IMMEDIATE", {}, "CDbConnection::BeginTransaction");
}

void CSqliteBackend::Commit()
{
    Execute("COMMIT", {}, "CDbConnection::Commit");
}

void CSqliteBackend::Rollback()
{
    if (InTransaction())
        Execute("ROLLBACK", {}, "CDbConnection::Rollback");
}

bool CSqliteBackend::InTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

bool CSqliteBackend::BeginChange(const QString& where)
{
    const bool outermost = !InTransaction();
    CDbStatement(m_db, "SAVEPOINT loquena_post", where).Run();
    return outermost;
}

void CSqliteBackend::EndChange(bool /*outermost*/, const QString& where)
{
    CDbStatement(m_db, "RELEASE loquena_post", where).Run();
}

void CSqliteBackend::AbortChange(bool outermost) noexcept
{
    if (outermost) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    } else {
        sqlite3_exec(m_db, "ROLLBACK TO loquena_post", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "RELEASE loquena_post", nullptr, nullptr, nullptr);
    }
}
