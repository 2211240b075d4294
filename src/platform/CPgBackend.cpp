#include "platform/CPgBackend.h"

#include "app/CError.h"
#include "platform/ClinicSchema.h"
#include "platform/DbDateText.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <libpq-fe.h>
#include <memory>
#include <poll.h>
#include <vector>

namespace {

// Type numbers of the server's built-in types (pg_type.oid).
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

struct SResultFree
{
    void operator()(PGresult* result) const { PQclear(result); }
};
using ResultPtr = std::unique_ptr<PGresult, SResultFree>;

const QString kApplicationPrefix = QStringLiteral("Loquena: ");

QString Trimmed(const char* text)
{
    return QString::fromUtf8(text).trimmed();
}

// What went wrong while connecting, said plainly; libpq's own words follow.
QString ConnectProblem(const QString& message)
{
    if (message.contains("password authentication failed"))
        return QStringLiteral(
            "Serwer bazy kliniki odrzucił hasło (sprawdź wpis w pliku ~/.pgpass)");
    if (message.contains("no password supplied") || message.contains("fe_sendauth"))
        return QStringLiteral("Serwer bazy kliniki wymaga hasła, a nie ma go w pliku ~/.pgpass "
                              "ani w zmiennej PGPASSWORD");
    if (message.contains("permission denied") || message.contains("not permitted to log in") ||
        message.contains("no pg_hba.conf entry"))
        return QStringLiteral("Brak uprawnień do bazy kliniki");
    if (message.contains("does not exist"))
        return QStringLiteral("Nie ma takiej bazy danych albo takiego użytkownika na serwerze "
                              "bazy kliniki");
    if (message.contains("SSL") || message.contains("certificate"))
        return QStringLiteral("Nie udało się nawiązać szyfrowanego połączenia z serwerem bazy "
                              "kliniki");
    return QStringLiteral("Nie można połączyć się z serwerem bazy kliniki");
}

// True when the connection string itself carries a password.
bool HoldsPassword(const QByteArray& conninfo)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.constData(), &error);
    PQfreemem(error);
    if (!options)
        return false;
    bool found = false;
    for (PQconninfoOption* option = options; option->keyword; ++option)
        if (qstrcmp(option->keyword, "password") == 0 && option->val && *option->val)
            found = true;
    PQconninfoFree(options);
    return found;
}

QVariant ValueOf(const PGresult* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return QVariant();
    const char* text = PQgetvalue(result, row, column);
    switch (PQftype(result, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return QVariant(QByteArray(text).toLongLong());
    case kBool:
        return QVariant(qint64(text[0] == 't' ? 1 : 0));
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QVariant(QByteArray(text).toDouble());
    case kBytea: {
        size_t length = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
        QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return QVariant(data);
    }
    default:
        return QVariant(QString::fromUtf8(text, PQgetlength(result, row, column)));
    }
}

// Parameters in the server's text form; binary data goes as it is.
struct SParams
{
    std::vector<QByteArray> values;
    std::vector<const char*> pointers;
    std::vector<int> lengths;
    std::vector<int> formats;
    std::vector<Oid> types;

    SParams(const QVariantList& params, const QString& where)
    {
        values.reserve(params.size());
        for (const QVariant& value : params)
            Add(value, where);
        for (std::size_t i = 0; i < values.size(); ++i)
            pointers.push_back(params[int(i)].isNull() ? nullptr : values[i].constData());
    }

    void Add(const QVariant& value, const QString& where)
    {
        Oid type = 0;
        int format = 0;
        QByteArray text;
        if (!value.isNull()) {
            switch (value.typeId()) {
            case QMetaType::Bool:
                text = value.toBool() ? "1" : "0";
                break;
            case QMetaType::QDateTime:
            case QMetaType::QDate:
                text = DateTimeToDbText(value.toDateTime()).toUtf8();
                break;
            case QMetaType::QByteArray:
                text = value.toByteArray();
                type = kBytea;
                format = 1;
                break;
            default:
                if (!value.canConvert<QString>())
                    throw CError(where + " - Nieobsługiwany typ parametru");
                text = value.toString().toUtf8();
                break;
            }
        }
        values.push_back(text);
        lengths.push_back(int(text.size()));
        formats.push_back(format);
        types.push_back(type);
    }
};

} // namespace

CPgBackend::CPgBackend(const QString& conninfo, const QString& workstation) : m_target(conninfo)
{
    const QByteArray info = conninfo.toUtf8();
    if (HoldsPassword(info))
        throw CError("CDbConnection::Connect - Adres bazy kliniki nie może zawierać hasła; "
                     "hasło należy zapisać w pliku ~/.pgpass");
    const QByteArray timeout = QByteArray::number(kConnectSeconds);
    // The others see this name as the holder of a busy patient.
    const QByteArray application = (kApplicationPrefix + workstation).left(63).toUtf8();
    // Defaults first: what the connection string says wins over them, except
    // the text encoding, which the program relies on.
    const char* keywords[] = {"connect_timeout",  "keepalives",
                              "keepalives_idle",  "keepalives_interval",
                              "keepalives_count", "tcp_user_timeout",
                              "application_name", "dbname",
                              "client_encoding",  nullptr};
    const char* values[] = {
        timeout.constData(), "1",    "5",    "2", "2", "5000", application.constData(),
        info.constData(),    "UTF8", nullptr};
    m_conn = PQconnectdbParams(keywords, values, 1);
    if (!m_conn)
        throw CError("CDbConnection::Connect - Brak pamięci na połączenie z bazą kliniki");
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString message = Trimmed(PQerrorMessage(m_conn));
        PQfinish(m_conn);
        m_conn = nullptr;
        throw CError("CDbConnection::Connect - " + ConnectProblem(message) + ": " + message);
    }
    try {
        // Nobody waits long for a row another workstation is changing.
        Execute("SET lock_timeout = '5s'", {}, "CDbConnection::Connect");
        PrepareClinicSchema(*this);
    } catch (...) {
        PQfinish(m_conn);
        m_conn = nullptr;
        throw;
    }
}

CPgBackend::~CPgBackend()
{
    PQfinish(m_conn);
}

bool CPgBackend::Alive() const
{
    return Linked() && !m_restorePending;
}

bool CPgBackend::Linked() const
{
    return m_conn && !m_resetting && !m_broken && PQstatus(m_conn) == CONNECTION_OK;
}

CPgBackend::EReconnect CPgBackend::PollReconnect()
{
    if (Linked() && m_restorePending) {
        try {
            RestoreSession();
        } catch (const CError&) {
            return EReconnect::Failed;
        }
    }
    if (Alive())
        return EReconnect::Connected;
    // The caller rolls back what the loss cut short first.
    if (!m_conn || m_inTransaction)
        return EReconnect::Failed;
    if (!m_resetting) {
        m_broken = false;
        if (!PQresetStart(m_conn))
            return EReconnect::Failed;
        m_resetting = true;
        m_resetWants = PGRES_POLLING_WRITING;
        m_restorePending = true;
        m_resetClock.start();
    }
    for (;;) {
        pollfd socket{PQsocket(m_conn),
                      short(m_resetWants == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        const int ready = socket.fd < 0 ? 1 : ::poll(&socket, 1, 0);
        if (ready <= 0) {
            if (m_resetClock.elapsed() <= kConnectSeconds * 1000)
                return EReconnect::Waiting;
            m_resetting = false;
            return EReconnect::Failed;
        }
        m_resetWants = int(PQresetPoll(m_conn));
        if (m_resetWants == PGRES_POLLING_FAILED) {
            m_resetting = false;
            return EReconnect::Failed;
        }
        if (m_resetWants == PGRES_POLLING_OK) {
            m_resetting = false;
            return PollReconnect();
        }
    }
}

bool CPgBackend::Reconnect(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (PollReconnect() == EReconnect::Connected)
            return true;
        if (clock.elapsed() > milliseconds)
            return false;
        QThread::msleep(20);
    }
}

// What the session had on the lost connection: its settings, its channels
// and its locks; a lock another session took meanwhile is reported lost.
void CPgBackend::RestoreSession()
{
    m_origins.clear();
    // The server may have come back with a restored copy of another
    // version's tables: nothing is written into them, and the check is made
    // again at every step until the right tables are back. The last refusal
    // goes first, or it would refuse the check's own queries.
    m_refusal.clear();
    m_refusal = ClinicSchemaRefusal(*this, "CDbConnection::Reconnect");
    if (!m_refusal.isEmpty())
        throw CError(m_refusal);
    Execute("SET lock_timeout = '5s'", {}, "CDbConnection::Reconnect");
    for (const QString& channel : std::as_const(m_channels))
        Execute("LISTEN " + Quote(channel), {}, "CDbConnection::Reconnect");
    const QSet<QPair<int, int>> held = m_locks;
    for (const auto& lock : held) {
        if (!TryLock(lock.first, lock.second)) {
            m_locks.remove(lock);
            m_lostLocks << lock;
        }
    }
    m_restorePending = false;
}

QList<QPair<int, int>> CPgBackend::TakeLostLocks()
{
    return std::exchange(m_lostLocks, {});
}

QString CPgBackend::NumberedParams(const QString& sql)
{
    QString text;
    text.reserve(sql.size() + 8);
    QChar quote;
    int number = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            text += QLatin1Char('$') + QString::number(++number);
            continue;
        }
        text += c;
    }
    return text;
}

void CPgBackend::Fail(PGresult* result, const QString& where)
{
    const QString message = Trimmed(result ? PQresultErrorMessage(result) : PQerrorMessage(m_conn));
    const QString state =
        result ? QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    PQclear(result);
    // 57P01-57P03: the server is shutting down or starting; an error without
    // a state is libpq's own (the server's socket closed under it, which
    // libpq may not yet count as a lost connection). Lost all the same.
    // 08P01 is the server refusing a statement's parameters, on a sound
    // connection.
    const bool lost =
        state.isEmpty() || (state.startsWith("08") && state != "08P01") || state.startsWith("57P0");
    if (!Linked() || lost) {
        m_broken = true;
        throw CError(where + " - Połączenie z serwerem bazy kliniki zostało przerwane: " + message);
    }
    if (state == "42501")
        throw CError(where + " - Brak uprawnień w bazie kliniki: " + message);
    if (state == "55P03" || state == "40P01")
        throw CError(where + " - Dane są właśnie zmieniane na innym stanowisku: " + message);
    throw CError(where + " - Błąd bazy danych: " + message);
}

PGresult* CPgBackend::Run(const QString& sql, const QVariantList& params, const QString& where)
{
    if (!m_conn)
        throw CError(where + " - Brak połączenia z bazą danych");
    // A lost connection is made again by PollReconnect only, never here: a
    // statement must not wait for a server that may be gone for long, nor
    // run outside the transaction its caller began.
    if (!Linked())
        throw CError(where + " - Połączenie z serwerem bazy kliniki zostało przerwane: " +
                     Trimmed(PQerrorMessage(m_conn)));
    if (!m_refusal.isEmpty())
        throw CError(where + " - " + m_refusal.mid(m_refusal.indexOf(" - ") + 3));
    const QByteArray text = NumberedParams(sql).toUtf8();
    const SParams bound(params, where);
    PGresult* result =
        PQexecParams(m_conn, text.constData(), int(params.size()), bound.types.data(),
                     bound.pointers.data(), bound.lengths.data(), bound.formats.data(), 0);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        Fail(result, where);
    return result;
}

SDbRows CPgBackend::Select(const QString& sql, const QVariantList& params, const QString& where)
{
    static const QRegularExpression query(QStringLiteral("^\\s*(SELECT|VALUES)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (!query.match(sql).hasMatch())
        throw CError(where + " - Polecenie SQL nie jest zapytaniem");
    const ResultPtr result(Run(sql, params, where));
    const PGresult* r = result.get();
    SDbRows rows;
    const int columns = PQnfields(r);
    for (int i = 0; i < columns; ++i) {
        rows.names << ProgramSpelling(QString::fromUtf8(PQfname(r, i)));
        const auto origin = ColumnOrigin(PQftable(r, i), PQftablecol(r, i), where);
        rows.tables << origin.first;
        rows.origins << origin.second;
    }
    const int count = PQntuples(r);
    rows.rows.reserve(count);
    for (int row = 0; row < count; ++row) {
        QVariantList values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            values << ValueOf(r, row, i);
        rows.rows.push_back(std::move(values));
    }
    return rows;
}

QPair<QString, QString> CPgBackend::ColumnOrigin(unsigned int table, int column,
                                                 const QString& where)
{
    if (table == InvalidOid || column <= 0)
        return {};
    const auto key = qMakePair(table, column);
    const auto found = m_origins.constFind(key);
    if (found != m_origins.constEnd())
        return *found;
    const ResultPtr result(Run("SELECT c.relname, a.attname FROM pg_class c JOIN pg_attribute a "
                               "ON a.attrelid = c.oid WHERE c.oid = ? AND a.attnum = ?",
                               {qint64(table), column}, where));
    QPair<QString, QString> origin;
    if (PQntuples(result.get()) == 1)
        origin = {QString::fromUtf8(PQgetvalue(result.get(), 0, 0)),
                  QString::fromUtf8(PQgetvalue(result.get(), 0, 1))};
    m_origins.insert(key, origin);
    return origin;
}

void CPgBackend::Execute(const QString& sql, const QVariantList& params, const QString& where)
{
    PQclear(Run(sql, params, where));
}

qint64 CPgBackend::Insert(const QString& table, const QString& key, const QStringList& columns,
                          const QVariantList& values, const QString& where)
{
    QStringList quoted;
    QStringList marks;
    for (const QString& column : columns) {
        quoted << Quote(column);
        marks << "?";
    }
    const QString returning = " RETURNING " + Quote(key);
    const QString sql = columns.isEmpty()
                            ? "INSERT INTO " + Quote(table) + " DEFAULT VALUES" + returning
                            : "INSERT INTO " + Quote(table) + " (" + quoted.join(", ") +
                                  ") VALUES (" + marks.join(", ") + ")" + returning;
    const ResultPtr result(Run(sql, values, where));
    if (PQntuples(result.get()) != 1)
        throw CError(where + " - Serwer nie podał klucza nowego wiersza");
    return QByteArray(PQgetvalue(result.get(), 0, 0)).toLongLong();
}

// The clinic database's names are all in lower case, as the server folds the
// unquoted names of the program's SQL texts.
QString CPgBackend::Quote(const QString& identifier) const
{
    QString text = identifier.toLower();
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString CPgBackend::RowKey(const QString& table, bool /*anyRow*/, const QString& where)
{
    const QString name = table.toLower();
    const auto found = m_keys.constFind(name);
    if (found != m_keys.constEnd())
        return *found;
    const ResultPtr result(
        Run("SELECT a.attname, a.atttypid FROM pg_index i JOIN pg_attribute a ON a.attrelid = "
            "i.indrelid AND a.attnum = ANY(i.indkey) WHERE i.indrelid = to_regclass(?) AND "
            "i.indisprimary",
            {Quote(table)}, where));
    QString key;
    if (PQntuples(result.get()) == 1) {
        const Oid type = Oid(QByteArray(PQgetvalue(result.get(), 0, 1)).toUInt());
        if (type == kInt2 || type == kInt4 || type == kInt8)
            key = QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
    }
    m_keys.insert(name, key);
    return key;
}

void CPgBackend::CheckWhole()
{
    // The server checks its own pages; what the program must know (the
    // schema's version) was checked when connecting.
    if (!Alive())
        throw CError("CDbConnection::CheckWhole - Połączenie z serwerem bazy kliniki zostało "
                     "przerwane");
}

void CPgBackend::Begin()
{
    Execute("BEGIN", {}, "CDbConnection::BeginTransaction");
    MarkTransaction(true);
}

void CPgBackend::Commit()
{
    // Whether it succeeds or not, the transaction is over.
    const auto ended = qScopeGuard([this] { MarkTransaction(false); });
    const ResultPtr result(Run("COMMIT", {}, "CDbConnection::Commit"));
    // A transaction that failed earlier ends as ROLLBACK, not as an error.
    if (qstrcmp(PQcmdStatus(result.get()), "COMMIT") != 0)
        throw CError("CDbConnection::Commit - Zmiany zostały wycofane przez serwer bazy kliniki");
}

void CPgBackend::Rollback()
{
    if (InTransaction() && Linked())
        PQclear(PQexec(m_conn, "ROLLBACK"));
    MarkTransaction(false);
}

// Also while the connection is lost: the caller's transaction stays open
// until the caller ends it.
bool CPgBackend::InTransaction() const
{
    if (m_inTransaction)
        return true;
    if (!Linked())
        return false;
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR;
}

bool CPgBackend::BeginChange(const QString& where)
{
    const bool outermost = !InTransaction();
    Execute(outermost ? "BEGIN" : "SAVEPOINT loquena_post", {}, where);
    if (outermost)
        MarkTransaction(true);
    return outermost;
}

void CPgBackend::EndChange(bool outermost, const QString& where)
{
    if (!outermost) {
        Execute("RELEASE SAVEPOINT loquena_post", {}, where);
        return;
    }
    const auto ended = qScopeGuard([this] { MarkTransaction(false); });
    const ResultPtr result(Run("COMMIT", {}, where));
    if (qstrcmp(PQcmdStatus(result.get()), "COMMIT") != 0)
        throw CError(where + " - Zmiana została wycofana przez serwer bazy kliniki");
}

void CPgBackend::AbortChange(bool outermost) noexcept
{
    if (outermost)
        MarkTransaction(false);
    if (!Linked())
        return;
    if (outermost) {
        PQclear(PQexec(m_conn, "ROLLBACK"));
    } else {
        PQclear(PQexec(m_conn, "ROLLBACK TO SAVEPOINT loquena_post"));
        PQclear(PQexec(m_conn, "RELEASE SAVEPOINT loquena_post"));
    }
}

bool CPgBackend::TryLock(int space, int id)
{
    const SDbRows answer =
        Select("SELECT pg_try_advisory_lock(?, ?)", {space, id}, "CDbConnection::TryLock");
    const bool taken = answer.rows.front().value(0).toLongLong() != 0;
    if (taken)
        m_locks.insert(qMakePair(space, id));
    return taken;
}

void CPgBackend::Unlock(int space, int id)
{
    m_locks.remove(qMakePair(space, id));
    // A lost connection has let go of it already.
    if (Linked())
        Select("SELECT pg_advisory_unlock(?, ?)", {space, id}, "CDbConnection::Unlock");
}

namespace {

// The workstation's name as the server shows it; a holder whose name the
// server does not show is still a holder.
QString HolderName(const QString& application)
{
    QString name = application;
    if (name.startsWith(kApplicationPrefix))
        name = name.mid(kApplicationPrefix.size());
    return name.isEmpty() ? QStringLiteral("?") : name;
}

const char* const kHeldLocks =
    "SELECT l.objid::bigint, a.application_name FROM pg_locks l JOIN pg_stat_activity a ON "
    "a.pid = l.pid WHERE l.locktype = 'advisory' AND l.granted AND l.classid = ?::int::oid AND "
    "l.objsubid = 2 AND l.database = (SELECT oid FROM pg_database WHERE datname = "
    "current_database()) AND l.pid <> pg_backend_pid()";

} // namespace

QString CPgBackend::LockHolder(int space, int id)
{
    const SDbRows answer =
        Select(QString::fromLatin1(kHeldLocks) + " AND l.objid = ?::int::oid LIMIT 1", {space, id},
               "CDbConnection::LockHolder");
    if (answer.rows.empty())
        return {};
    return HolderName(answer.rows.front().value(1).toString());
}

QHash<int, QString> CPgBackend::LockHolders(int space)
{
    const SDbRows answer =
        Select(QString::fromLatin1(kHeldLocks), {space}, "CDbConnection::LockHolders");
    QHash<int, QString> holders;
    for (const auto& row : answer.rows)
        holders.insert(row.value(0).toInt(), HolderName(row.value(1).toString()));
    return holders;
}

void CPgBackend::Listen(const QString& channel)
{
    Execute("LISTEN " + Quote(channel), {}, "CDbConnection::Listen");
    if (!m_channels.contains(channel))
        m_channels << channel;
}

void CPgBackend::Notify(const QString& channel, const QString& payload)
{
    Select("SELECT pg_notify(?, ?)", {channel.toLower(), payload}, "CDbConnection::Notify");
}

QStringList CPgBackend::TakeNotices()
{
    QStringList notices;
    if (!Alive())
        return notices;
    PQconsumeInput(m_conn);
    while (PGnotify* notice = PQnotifies(m_conn)) {
        // Our own notices come back too; the others' are what counts.
        if (notice->be_pid != PQbackendPID(m_conn))
            notices << QString::fromUtf8(notice->extra);
        PQfreemem(notice);
    }
    return notices;
}

int CPgBackend::Socket() const
{
    return m_conn ? PQsocket(m_conn) : -1;
}
