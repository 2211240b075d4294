#include "platform/CDbStatement.h"

#include "app/CError.h"
#include "platform/DbDateText.h"

#include <QDateTime>
#include <limits>
#include <sqlite3.h>

QString SqliteMessage(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("brak połączenia");
}

CDbStatement::CDbStatement(sqlite3* db, const QString& sql, const QString& where)
    : m_db(db), m_where(where)
{
    if (!m_db)
        throw CError(m_where + " - Brak połączenia z bazą danych");
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_stmt, &tail) != SQLITE_OK) {
        const QString message = SqliteMessage(m_db);
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw CError(m_where + " - Błąd polecenia SQL: " + message);
    }
    if (!m_stmt)
        throw CError(m_where + " - Puste polecenie SQL");
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw CError(m_where + " - Tekst SQL zawiera więcej niż jedno polecenie");
    }
}

CDbStatement::~CDbStatement()
{
    sqlite3_finalize(m_stmt);
}

void CDbStatement::Bind(const QVariantList& params)
{
    if (params.size() != sqlite3_bind_parameter_count(m_stmt))
        throw CError(m_where + QString(" - Polecenie SQL oczekuje %1 parametrów, podano %2")
                                   .arg(sqlite3_bind_parameter_count(m_stmt))
                                   .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        Bind(i + 1, params[i]);
}

void CDbStatement::Bind(int position, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, position, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            rc = sqlite3_bind_int64(m_stmt, position, value.toLongLong());
            break;
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
                throw CError(m_where + " - Liczba poza zakresem");
            rc = sqlite3_bind_int64(m_stmt, position, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, position, value.toDouble());
            break;
        case QMetaType::QDateTime:
        case QMetaType::QDate: {
            if (!value.toDateTime().isValid()) {
                rc = sqlite3_bind_null(m_stmt, position);
                break;
            }
            const QByteArray text = DateTimeToDbText(value.toDateTime()).toUtf8();
            rc = sqlite3_bind_text(m_stmt, position, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_stmt, position, bytes.constData(), int(bytes.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        default: {
            if (!value.canConvert<QString>())
                throw CError(m_where + " - Nieobsługiwany typ parametru");
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, position, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throw CError(m_where + " - Błąd parametru SQL: " + SqliteMessage(m_db));
}

bool CDbStatement::Step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw CError(m_where + " - Baza danych jest zablokowana przez inny program");
    throw CError(m_where + " - Błąd bazy danych: " + SqliteMessage(m_db));
}

void CDbStatement::Run()
{
    while (Step()) {
    }
}

int CDbStatement::ColumnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString CDbStatement::ColumnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString CDbStatement::ColumnTable(int column) const
{
    return QString::fromUtf8(sqlite3_column_table_name(m_stmt, column));
}

QString CDbStatement::ColumnOrigin(int column) const
{
    return QString::fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

QVariant CDbStatement::Column(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return QVariant();
    }
}

qint64 CDbStatement::Integer(int column) const
{
    if (sqlite3_column_type(m_stmt, column) == SQLITE_INTEGER)
        return sqlite3_column_int64(m_stmt, column);
    return Column(column).toLongLong();
}

bool CDbStatement::IsReadOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}
