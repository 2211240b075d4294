#pragma once
#include "platform/CDbBackend.h"

#include <memory>

class CDbStatement;
struct sqlite3;

// A database file held exclusively: SQLite runs in exclusive locking mode and
// a write lock is taken at once, so a second program that opens the same file,
// even only to read, gets a clear error instead of sharing it. Changes go
// through a rollback journal (journal_mode=DELETE; in exclusive mode the
// "-journal" file stays while connected and each commit invalidates its
// header) with synchronous=FULL, so the file stays whole if the program is
// killed at any moment: the next connection rolls an interrupted change back.
// WAL is not used; it gains nothing with one exclusive user.
class CSqliteBackend : public CDbBackend
{
public:
    // Opens the existing file `path` (it is never created here). Throws CError
    // when the file is missing, held by another program, not a database, or
    // damaged.
    explicit CSqliteBackend(const QString& path);
    ~CSqliteBackend() override;
    CSqliteBackend(const CSqliteBackend&) = delete;
    CSqliteBackend& operator=(const CSqliteBackend&) = delete;

    sqlite3* Handle() const { return m_db; }

    QString Target() const override { return m_path; }
    SDbRows Select(const QString& sql, const QVariantList& params, const QString& where) override;
    void SelectEach(const QString& sql, const QVariantList& params, const RowVisitor& visit,
                    const QString& where) override;
    void SelectEachInteger(const QString& sql, const QVariantList& params,
                           const IntegerRowVisitor& visit, const QString& where) override;
    void Execute(const QString& sql, const QVariantList& params, const QString& where) override;
    qint64 Insert(const QString& table, const QString& key, const QStringList& columns,
                  const QVariantList& values, const QString& where) override;
    QString Quote(const QString& identifier) const override;
    QString RowKey(const QString& table, bool anyRow, const QString& where) override;
    void CheckWhole() override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;
    bool BeginChange(const QString& where) override;
    void EndChange(bool outermost, const QString& where) override;
    void AbortChange(bool outermost) noexcept override;

private:
    void Configure();
    // The statement of a query, its values bound; throws for a text that
    // would change anything.
    std::unique_ptr<CDbStatement> Query(const QString& sql, const QVariantList& params,
                                        const QString& where);

    sqlite3* m_db = nullptr;
    QString m_path;
};
