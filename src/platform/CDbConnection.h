#pragma once
#include <QString>
#include <QVariantList>

struct sqlite3;

// A connection to one database file. While connected the file is held
// exclusively: SQLite runs in exclusive locking mode and a write lock is taken
// at once, so a second program that opens the same file, even only to read,
// gets a clear error instead of sharing it. Changes go through a rollback
// journal (journal_mode=DELETE; in exclusive mode the "-journal" file stays
// while connected and each commit invalidates its header) with
// synchronous=FULL, so the file stays whole if the program is killed at any
// moment: the next connection rolls an interrupted change back. WAL is not
// used; it gains nothing with one exclusive user.
class CDbConnection
{
public:
    CDbConnection() = default;
    ~CDbConnection();
    CDbConnection(const CDbConnection&) = delete;
    CDbConnection& operator=(const CDbConnection&) = delete;

    // Opens the existing file `path` (it is never created here). Disconnects
    // first when connected. Throws CError when the file is missing, held by
    // another program, not a database, or damaged.
    void Connect(const QString& path);
    void Disconnect();
    bool IsConnected() const { return m_db != nullptr; }
    const QString& Path() const { return m_path; }

    // Runs one SQL statement that returns no rows, values bound as parameters.
    void Execute(const QString& sql, const QVariantList& params = {});

    // Throws CError unless the file passes SQLite's quick check: a copy cut
    // short or damaged is refused as a whole before any of it is used (and
    // long before anything is written into it).
    void CheckWhole();

    // Groups many posts into one transaction (for bulk loading); each post
    // inside it becomes a savepoint. Commit or Rollback ends it.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // The SQLite handle, for the data sets on this connection; throws when
    // not connected.
    sqlite3* Handle(const char* where) const;

private:
    void Configure();

    sqlite3* m_db = nullptr;
    QString m_path;
};
