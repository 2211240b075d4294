#pragma once
#include <QString>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement, finalized when it goes out of scope. Values
// are always bound as parameters; a text with more than one statement is
// refused so that nothing can be smuggled in behind the first one.
class CDbStatement
{
public:
    CDbStatement(sqlite3* db, const QString& sql, const QString& where);
    ~CDbStatement();
    CDbStatement(const CDbStatement&) = delete;
    CDbStatement& operator=(const CDbStatement&) = delete;

    void Bind(const QVariantList& params);
    void Bind(int position, const QVariant& value); // position counts from 1
    // Steps once; true when a row is ready, false when the statement is done.
    bool Step();
    // Runs the statement to its end, ignoring any rows.
    void Run();

    int ColumnCount() const;
    QString ColumnName(int column) const;
    QString ColumnTable(int column) const; // base table of a result column, empty for an expression
    QString
    ColumnOrigin(int column) const; // base column of a result column, empty for an expression
    QVariant Column(int column) const;
    // An integer column without a QVariant; another value converted as
    // Column(column).toLongLong() would.
    qint64 Integer(int column) const;
    bool IsReadOnly() const;
    sqlite3_stmt* Handle() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_where;
};

// The message of the connection's last error, as text.
QString SqliteMessage(sqlite3* db);
