#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <vector>

// The rows of one query, read whole, with where each column comes from.
struct SDbRows
{
    QStringList names;
    QStringList tables;  // base table of each column, empty for an expression
    QStringList origins; // base column of each column, empty for an expression
    std::vector<QVariantList> rows;
};

// One database engine behind a connection: the embedded file of a single
// computer (SQLite) or a clinic's server (PostgreSQL). The data sets speak
// only to this interface, so that everything above them works the same on
// both. SQL texts mark values with "?" and never carry them; every failure
// throws CError with `where` in front of its message.
class CDbBackend
{
public:
    virtual ~CDbBackend() = default;

    // A file path or the server's connection string without any password.
    virtual QString Target() const = 0;

    // Reads all rows of a query; a text that would change anything is refused.
    virtual SDbRows Select(const QString& sql, const QVariantList& params,
                           const QString& where) = 0;
    // Reads the rows of a query one at a time, for results too large to hold
    // whole (a history of a hundred thousand therapies): `visit` gets each
    // row's values in a list that the next row overwrites. An engine that
    // can step through a result overrides it; the rest read it whole.
    using RowVisitor = std::function<void(const QVariantList& row)>;
    virtual void SelectEach(const QString& sql, const QVariantList& params, const RowVisitor& visit,
                            const QString& where)
    {
        for (const QVariantList& row : Select(sql, params, where).rows)
            visit(row);
    }
    // The same for a query whose columns are integers, given as 64-bit
    // values (another value converted as QVariant::toLongLong does): a
    // history's million exercise rows are read without a QVariant each.
    using IntegerRowVisitor = std::function<void(const qint64* row)>;
    virtual void SelectEachInteger(const QString& sql, const QVariantList& params,
                                   const IntegerRowVisitor& visit, const QString& where)
    {
        std::vector<qint64> values;
        SelectEach(
            sql, params,
            [&values, &visit](const QVariantList& row) {
                values.resize(std::size_t(row.size()));
                for (qsizetype i = 0; i < row.size(); ++i)
                    values[std::size_t(i)] = row[i].toLongLong();
                visit(values.data());
            },
            where);
    }
    // Runs one statement that returns no rows.
    virtual void Execute(const QString& sql, const QVariantList& params, const QString& where) = 0;
    // Inserts one row and returns its key (`key` names the key column).
    virtual qint64 Insert(const QString& table, const QString& key, const QStringList& columns,
                          const QVariantList& values, const QString& where) = 0;

    // The identifier as the engine reads it, quoted.
    virtual QString Quote(const QString& identifier) const = 0;
    // The column by which the rows of `table` are found again: the one
    // integer primary key, "rowid" for a file table without one; empty when
    // the rows cannot be told apart.
    virtual QString RowKey(const QString& table, bool anyRow, const QString& where) = 0;

    // Throws unless the stored data passes the engine's own check.
    virtual void CheckWhole() = 0;

    // A transaction the caller ends with Commit or Rollback.
    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;

    // One change as one committed transaction, or a savepoint inside the
    // caller's transaction. BeginChange returns whether it began the
    // transaction; EndChange and AbortChange get that answer back.
    virtual bool BeginChange(const QString& where) = 0;
    virtual void EndChange(bool outermost, const QString& where) = 0;
    virtual void AbortChange(bool outermost) noexcept = 0;
};
